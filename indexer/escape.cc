#include "indexer/escape.h"

#include <cstdio>

namespace velmor {

namespace {
// Text for an HTML page: the markup characters as references; a carriage
// return and a NUL too, which a parser would otherwise fold or drop. Quotes
// need a reference only inside an attribute's value.
void append_html(std::string& out, std::string_view text, bool quotes) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (quotes) out += "&quot;";
        else out += c;
        break;
      case '\r': out += "&#13;"; break;
      case '\0': out += "&#0;"; break;
      default: out += c;
    }
  }
}
}  // namespace

void append_escaped(std::string& out, std::string_view text) { append_html(out, text, true); }

void append_pre_text(std::string& out, std::string_view text) { append_html(out, text, false); }

void append_js_chars(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (b < 0x20 || c == '<') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", b);
      out += buf;
    } else if (b == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
               (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
      out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += c;
    }
  }
}

void append_js_literal(std::string& out, std::string_view text) {
  out += '"';
  append_js_chars(out, text);
  out += '"';
}

void append_js_template_chars(std::string& out, std::string_view text) {
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (int b = 0; b < 0x20; ++b) special[b] = b != '\n';
    special['`'] = special['\\'] = special['$'] = special['<'] = true;
    return special;
  }();
  append_escaping(out, text, kSpecial, [](std::string& s, unsigned char b) {
    if (b == '`' || b == '\\' || b == '$') {
      s += '\\';
      s += static_cast<char>(b);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", b);
      s += buf;
    }
  });
}

void append_json_string(std::string& s, std::string_view text) {
  // Markup characters too, so no title reads as a tag wherever it lands.
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (int b = 0; b < 0x20; ++b) special[b] = true;
    special['"'] = special['\\'] = special['<'] = special['>'] = special['&'] = true;
    return special;
  }();
  s += '"';
  append_escaping(s, text, kSpecial, [](std::string& out, unsigned char b) {
    if (b == '"' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", b);
      out += buf;
    }
  });
  s += '"';
}

namespace {
constexpr std::array<bool, 256> kXmlSpecial = [] {
  std::array<bool, 256> special{};
  for (int b = 0; b < 0x20; ++b) special[b] = true;
  for (unsigned char b : {'&', '<', '>', '"', '\x7f'}) special[b] = true;
  return special;
}();

}  // namespace

void append_xml_escaped(std::string& out, std::string_view text) {
  append_escaping(out, text, kXmlSpecial, [](std::string& o, unsigned char b) {
    switch (b) {
      case '&': o += "&amp;"; break;
      case '<': o += "&lt;"; break;
      case '>': o += "&gt;"; break;
      case '"': o += "&quot;"; break;
      case '\t': o += "&#9;"; break;
      case '\n': o += "&#10;"; break;
      case '\r': o += "&#13;"; break;
      default: o += "\xEF\xBF\xBD";
    }
  });
}

}  // namespace velmor
