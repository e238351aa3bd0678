#include "indexer/read/read_page.h"

#include "common/lines.h"
#include "indexer/read/html_text.h"
#include "indexer/read/korvel_frame.h"
#include "indexer/read/read_file.h"
#include "indexer/read/title.h"
#include "indexer/read/utf8_text.h"

namespace velmor {

static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The UTF-16 a Windows editor saves as "Unicode", turned into UTF-8; an
// unpaired surrogate is one invalid character.
static uint64_t utf16_to_utf8(std::string_view bytes, bool big_endian, std::string& out) {
  uint64_t invalid = 0;
  auto unit = [&](size_t i) -> uint32_t {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  auto put = [&](uint32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  size_t i = 2;  // after the byte-order mark
  for (; i + 1 < bytes.size(); i += 2) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      put(0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
      i += 2;
    } else if ((c >= 0xD800 && c <= 0xDFFF) || c == 0) {
      put(0xFFFD);
      invalid += 2;
    } else {
      put(c);
    }
  }
  if (i < bytes.size()) {
    put(0xFFFD);
    ++invalid;
  }
  return invalid;
}

static bool is_utf16(std::string_view bytes) { return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"); }

Document read_page(std::string_view bytes, std::string_view file_name, bool* too_deep, bool known_valid) {
  Document doc;
  append_valid_utf8(file_name, doc.file_name);  // a name is shown, not counted
  doc.bytes = bytes.size();

  KorvelFrame frame;
  if (read_korvel_frame(bytes, frame)) {
    doc.invalid_bytes += append_valid_utf8(frame.name, doc.title);
    doc.lines.reserve(frame.lines.size());
    for (size_t i = 0; i < frame.lines.size(); ++i) {
      std::string_view raw = frame.lines[i];
      // A document's byte-order mark is not part of its first word.
      if (i == 0 && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
      std::string& line = doc.lines.emplace_back();
      if (known_valid) line = raw;
      else doc.invalid_bytes += append_valid_utf8(raw, line);
      // A lone CR or LF inside a document line ends a line too (an old Mac
      // line end, a hand-edited page): a Document's lines hold no line ends.
      // Two scans for one character each: find_first_of would look each
      // byte up in the set of two, one library call per byte.
      if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) {
        const std::string joined = std::move(line);
        doc.lines.pop_back();
        common::split_lines(joined, doc.lines, common::LoneCr::kEndsLine);
      }
    }
    doc.title = text_page_title(doc.title, doc.lines);
    // A text file's paragraphs run on from line to line; a blank line
    // between two words parts them all the same.
    for (uint32_t n = 1; n < doc.lines.size(); ++n) doc.continued_lines.push_back(n);
    return doc;
  }

  std::string text;
  if (is_utf16(bytes)) {
    std::string utf8;
    doc.invalid_bytes += utf16_to_utf8(bytes, bytes[0] == '\xFE', utf8);
    doc.invalid_bytes += append_valid_utf8(utf8, text);
  } else {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (known_valid) text = bytes;
    else doc.invalid_bytes += append_valid_utf8(bytes, text);
  }
  HtmlText html;
  const bool parsed = html_text(text, html);
  if (too_deep) *too_deep = !parsed;
  doc.title = html.title.empty() ? doc.file_name : std::move(html.title);
  doc.lines = std::move(html.lines);
  doc.continued_lines = std::move(html.continued_lines);
  return doc;
}

PageRead read_page_file(const std::string& path, std::string_view file_name) {
  PageRead result;
  std::string bytes, error;
  std::string name(file_name);
  if (!read_regular_file(path, bytes, error)) {
    result.problem = PageProblem::unreadable;
    result.message = name + " cannot be read (" + error + "); it is not indexed.";
  } else if (bytes.empty()) {
    result.problem = PageProblem::empty;
    result.message = name + " is empty; it is not indexed.";
  } else {
    // Most pages are valid UTF-8 throughout: one look at their bytes tells,
    // and the reader need not check them again.
    const bool utf16 = is_utf16(bytes);
    const bool valid = !utf16 && valid_utf8(bytes);
    if (!utf16 && !valid && looks_binary(bytes)) {
      result.problem = PageProblem::binary;
      result.message = name + " is not text (binary data or not UTF-8); it is not indexed.";
    } else {
      bool too_deep = false;
      result.document = read_page(bytes, file_name, &too_deep, valid);
      if (!too_deep) return result;
      result.problem = PageProblem::too_deep;
      result.message = name + " nests its elements too deep to be read; it is not indexed.";
      result.document = Document();
    }
  }
  // The message goes into a console line and a page: it must be valid text.
  std::string safe;
  append_valid_utf8(result.message, safe);
  result.message = std::move(safe);
  append_valid_utf8(file_name, result.document.file_name);
  return result;
}

}  // namespace velmor
