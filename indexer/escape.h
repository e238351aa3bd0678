#pragma once
// Every way the indexer escapes text for where it lands: HTML text and
// attributes, <pre> text, JavaScript string and template literals, JSON
// strings, and the vertical export's XML. One file, so that a rule about
// what must never pass unescaped (a "<" that would end a script, a line
// separator JavaScript reads as a line end) is read and changed in one place.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmor {

// Appends `text` with each byte that `special` marks handed to
// `escape(out, byte)` and the runs between them copied whole: most text
// needs no escape, and a byte at a time would cost a call per byte.
template <class Escape>
void append_escaping(std::string& out, std::string_view text, const std::array<bool, 256>& special, Escape escape) {
  size_t from = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!special[b]) continue;
    out.append(text.data() + from, i - from);
    escape(out, b);
    from = i + 1;
  }
  out.append(text.data() + from, text.size() - from);
}

// HTML text content and double-quoted or unquoted-safe attribute values
// alike: & < > " become references.
void append_escaped(std::string& out, std::string_view text);

// Text inside <pre>: only what the parser would read as markup is escaped,
// and CR and NUL become references so each keeps its one UTF-16 unit.
void append_pre_text(std::string& out, std::string_view text);

// `text` as a double-quoted JavaScript string literal that cannot end the
// script it stands in: quotes, backslashes, controls, "<" and the two line
// separators JavaScript reads as line ends are escaped; the rest is as is.
void append_js_literal(std::string& out, std::string_view text);
// The same without the quotes, for a literal made of several pieces.
void append_js_chars(std::string& out, std::string_view text);
// `text` inside a template literal (`...`), where line ends stand as they
// are: backquotes, backslashes, "$", "<" and the controls but "\n" are
// escaped (a bare "\r" would read as "\n").
void append_js_template_chars(std::string& out, std::string_view text);

// `text` as a JSON string literal, with markup characters escaped too, so
// no title reads as a tag wherever it lands.
void append_json_string(std::string& s, std::string_view text);

// Text for the vertical export's XML (attribute values and tokens alike):
// & < > " as references; tab, LF and CR as &#9; &#10; &#13;, so that a
// column or an attribute stays on its line; the other C0 controls and DEL,
// which XML 1.0 admits in no form, as U+FFFD.
void append_xml_escaped(std::string& out, std::string_view text);

}  // namespace velmor
