#include "indexer/escape.h"

#include <gtest/gtest.h>

#include <string>

namespace velmor {
namespace {

// Every escaper, one table: a string literal, the document's template
// literal, JSON titles and forms, HTML, <pre> text and the export's XML.
TEST(Escape, NoTextCanEndWhatItStandsIn) {
  using Append = void (*)(std::string&, std::string_view);
  const struct {
    Append append;
    std::string in, out;
  } cases[] = {
      {append_js_literal, "a\"b\\c", "\"a\\\"b\\\\c\""},
      {append_js_literal, "</script>", "\"\\x3c/script>\""},
      {append_js_literal, "x\ry\t\x01", "\"x\\x0dy\\x09\\x01\""},
      {append_js_literal,
       "a\xE2\x80\xA8"
       "b\xE2\x80\xA9",
       "\"a\\u2028b\\u2029\""},
      {append_js_literal, "Straße €", "\"Straße €\""},
      {append_js_template_chars, "a`b\\c${d}", "a\\`b\\\\c\\${d}"},
      {append_js_template_chars, "x\ry\t\n\x01", "x\\x0dy\\x09\n\\x01"},
      {append_js_template_chars, "</script> \xE2\x80\xA8 Straße", "\\x3c/script> \xE2\x80\xA8 Straße"},
      {append_json_string, "a\"b\\c", "\"a\\\"b\\\\c\""},
      {append_json_string, "<b>&amp;</b>", "\"\\u003cb\\u003e\\u0026amp;\\u003c/b\\u003e\""},
      {append_json_string, "x\ny\x01 Straße", "\"x\\u000ay\\u0001 Straße\""},
      {append_json_string, "", "\"\""},
      {append_escaped, std::string("<a href=\"x\">&\r\0", 15),
       std::string("&lt;a href=&quot;x&quot;&gt;&amp;&#13;&#0;")},
      {append_pre_text, std::string("\"<b>\"\r\0", 7), "\"&lt;b&gt;\"&#13;&#0;"},
      {append_xml_escaped, "a<\"b\">&\t\n\r\x01\x7f",
       "a&lt;&quot;b&quot;&gt;&amp;&#9;&#10;&#13;\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    std::string out;
    c.append(out, c.in);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

}  // namespace
}  // namespace velmor
