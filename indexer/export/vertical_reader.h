#pragma once
// The tests' reader of the vertical format (vertical.h has the writer's
// side): as strict as the engines that load it, so a file it takes is one
// they take. Test code only.
#include <string>
#include <string_view>
#include <vector>

namespace velmor::testing {

struct VerticalDoc {
  std::string id, title, file;  // attributes, references resolved
  std::vector<std::string> forms, keys;
  std::string shape;  // "p l w w /l /p": the elements and words in order
};

struct VerticalRead {
  std::vector<VerticalDoc> docs;
  std::string error;  // "" when the file is well formed; else line and reason
  size_t words() const {
    size_t n = 0;
    for (const VerticalDoc& d : docs) n += d.forms.size();
    return n;
  }
};

inline std::string unescaped(std::string_view s, std::string& error) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '<' || c == '>' || c == '"' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7f) {
      error = "raw character " + std::to_string(int(static_cast<unsigned char>(c)));
      return out;
    }
    if (c != '&') {
      out += c;
      continue;
    }
    const size_t end = s.find(';', i);
    const std::string_view name = s.substr(i + 1, end == std::string_view::npos ? 0 : end - i - 1);
    if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "quot") out += '"';
    else if (name == "#9") out += '\t';
    else if (name == "#10") out += '\n';
    else if (name == "#13") out += '\r';
    else {
      error = "unknown reference &" + std::string(name) + ";";
      return out;
    }
    i = end;
  }
  return out;
}

// The value of `name="..."` in a tag.
inline std::string attribute(std::string_view tag, std::string_view name, std::string& error) {
  const std::string open = " " + std::string(name) + "=\"";
  const size_t at = tag.find(open);
  const size_t end = at == std::string_view::npos ? at : tag.find('"', at + open.size());
  if (end == std::string_view::npos) {
    error = "no " + std::string(name) + "=";
    return "";
  }
  return unescaped(tag.substr(at + open.size(), end - at - open.size()), error);
}

inline VerticalRead read_vertical(std::string_view text) {
  VerticalRead r;
  std::vector<std::string> open;  // the elements open, outermost first
  size_t number = 0;
  auto fail = [&](const std::string& why) {
    r.error = "line " + std::to_string(number) + ": " + why;
    return r;
  };
  if (!text.empty() && !text.ends_with('\n')) return fail("no LF at the end");
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf + 1);
    ++number;
    const std::string inside = open.empty() ? "" : open.back();
    if (line.starts_with("<doc ") && line.ends_with("\">")) {
      if (!open.empty()) return fail("<doc> inside <" + inside + ">");
      VerticalDoc d;
      d.id = attribute(line, "id", r.error);
      d.title = attribute(line, "title", r.error);
      d.file = attribute(line, "file", r.error);
      if (!r.error.empty()) return fail(r.error);
      r.docs.push_back(d);
      open.push_back("doc");
    } else if (line == "<p>" || line.starts_with("<l n=\"")) {
      const std::string name = line == "<p>" ? "p" : "l";
      if (inside != (name == "p" ? "doc" : "p")) return fail("<" + name + "> inside <" + inside + ">");
      r.docs.back().shape += (r.docs.back().shape.empty() ? "" : " ") + name;
      open.push_back(name);
    } else if (line.starts_with("</")) {
      if (line != "</" + inside + ">") return fail(std::string(line) + " closes <" + inside + ">");
      if (inside != "doc") r.docs.back().shape += " /" + inside;
      open.pop_back();
    } else {
      if (inside != "l") return fail("a word outside <l>");
      const size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
      if (t1 == std::string_view::npos || t2 == std::string_view::npos || line.find('\t', t2 + 1) != line.npos)
        return fail("not three columns");
      VerticalDoc& d = r.docs.back();
      d.forms.push_back(unescaped(line.substr(0, t1), r.error));
      d.keys.push_back(unescaped(line.substr(t1 + 1, t2 - t1 - 1), r.error));
      if (!r.error.empty()) return fail(r.error);
      if (line.substr(t2 + 1) != std::to_string(d.forms.size())) return fail("position not consecutive");
      d.shape += " w";
    }
  }
  if (!open.empty()) return fail("<" + open.back() + "> not closed");
  return r;
}

}  // namespace velmor::testing
