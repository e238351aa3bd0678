#include "korvel/testing/transcripts.h"

#include "common/test_files.h"
#include "korvel/console/urls.h"
#include "korvel/testing/e2e.h"

namespace korvel {

std::vector<std::string> joined(std::vector<std::string> lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

std::vector<std::string> lines_after(const std::vector<std::string>& lines, const std::string& line) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return {lines.begin() + static_cast<long>(i) + 1, lines.end()};
  return {};
}

namespace {
void fill_in(std::string& text, std::string_view placeholder, std::string_view value) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
}
}  // namespace

std::string golden_text(std::string_view name, const std::string& invoked_as) {
  std::string text =
      common::read_file(std::string(KORVEL_SOURCE_DIR) + "/korvel/testing/golden/" + std::string(name) + ".txt");
  fill_in(text, "@INVOKED_AS@", invoked_as);
  fill_in(text, "@KORVEL_CONVERTCP_URL@", kConvertcpUrl);
  fill_in(text, "@KORVEL_MAKER_URL@", kMakerUrl);
  return text;
}

std::vector<std::string> banner_and_terms(const std::string& invoked_as) {
  return crlf_lines(golden_text("banner_and_terms", invoked_as));
}

std::vector<std::string> font_notice() { return crlf_lines(golden_text("font_notice")); }

std::vector<std::string> installation_notice() { return crlf_lines(golden_text("installation_notice")); }

std::vector<std::string> tool_checks_passing() { return crlf_lines(golden_text("tool_checks_passing")); }

}  // namespace korvel
