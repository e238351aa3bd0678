#include "indexer/export/vertical.h"

#include "indexer/escape.h"

namespace velmor {

namespace {

// A line of only blanks (a <pre>'s empty line) parts paragraphs too.
bool is_empty_line(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

VerticalWriter::VerticalWriter(WordRules rules) : splitter_(rules), key_(key_function(rules)) {}

uint64_t VerticalWriter::append(const Document& doc, uint32_t id, std::string& out) {
  out += "<doc id=\"" + std::to_string(id) + "\" title=\"";
  append_xml_escaped(out, doc.title);
  out += "\" file=\"";
  append_xml_escaped(out, doc.file_name);
  out += "\">\n";
  uint64_t words = 0;
  bool in_paragraph = false;
  for (size_t n = 0; n < doc.lines.size(); ++n) {
    const std::string_view line = doc.lines[n];
    if (is_empty_line(line)) {
      if (in_paragraph) out += "</p>\n";
      in_paragraph = false;
      continue;
    }
    splitter_.split(line, spans_);
    if (spans_.empty()) continue;
    if (!in_paragraph) out += "<p>\n";
    in_paragraph = true;
    out += "<l n=\"" + std::to_string(n + 1) + "\">\n";
    for (const WordSpan& s : spans_) {
      const std::string_view form = line.substr(s.begin, s.length);
      append_xml_escaped(out, form);
      out += '\t';
      key_text_ = key_(form);
      append_xml_escaped(out, key_text_);
      out += '\t';
      out += std::to_string(++words);
      out += '\n';
    }
    out += "</l>\n";
  }
  if (in_paragraph) out += "</p>\n";
  out += "</doc>\n";
  return words;
}

bool looks_like_export(std::string_view head, std::string_view tail) {
  if (head.empty() && tail.empty()) return true;
  constexpr std::string_view kFirst = "<doc id=\"1\" title=\"";
  constexpr std::string_view kLast = "</doc>\n";
  const size_t line_end = head.find('\n');
  return head.starts_with(kFirst) && line_end != std::string_view::npos &&
         head.substr(0, line_end).find("\" file=\"") != std::string_view::npos && head[line_end - 1] == '>' &&
         tail.ends_with(kLast);
}

}  // namespace velmor
