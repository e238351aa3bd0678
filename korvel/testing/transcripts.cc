#include "korvel/testing/transcripts.h"

#include "korvel/console/urls.h"

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

std::vector<std::string> banner_and_terms(const std::string& invoked_as) {
  return {
      "Active code page: 65001",
      invoked_as,
      "",
      "====================================",
      "",
      "THE PROGRAM INDEXES A GROUP OF TXT FILES ON EACH WORD AND CREATES A DOCUMENT BASE",
      "",
      "We also used the program convertcp.exe",
      std::string("Info:") + kConvertcpUrl,
      "We also used the program wget.exe",
      "Info:https://www.gnu.org/software/wget/",
      "",
      "Program name:korvel_01_209.exe",
      "Terms of use:",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      std::string("More info: ") + kMakerUrl,
      "",
      "====================================",
      "Do you accept the terms of use?",
      "",
      "<1> yes, continue",
      "<2> no, end",
  };
}

std::vector<std::string> font_notice() {
  return {
      "",
      "----------------------------",
      "FONT CONSOLAS OR LUCIDA CONSOLE MUST BE SELECTED IN THE PROGRAM EXECUTION WINDOW.",
      "Setting procedure (necessary for correct printing):",
      "- move the mouse to the center of the upper bold edge of the execution window;",
      "- right mouse click;",
      "- select Properties from the drop-down menu;",
      "- select the Font tab;",
      "- this tab includes the Consolas or Lucida Console font.",
      "",
      "In the Layout tab, select the size of the execution window.",
      "Selected settings work when the program is restarted.",
      "----------------------------",
      "",
      "<1> continue",
      "<2> end",
  };
}

std::vector<std::string> installation_notice() {
  return {
      "",
      "----------------------------",
      "THE PROGRAM MUST BE INSTALLED IN YOUR OWN DIRECTORY.",
      "During execution, the program creates and also deletes most *.txt and other files.",
      "",
      "The *.TXT and *.HTM files you want to index must be written in UTF-8 format and copied to "
      "the TXT_IN subfolder.",
      "The *.TXT and *.HTM file names must not contain spaces or special characters (ASCII only).",
      "----------------------------",
      "",
      "<1> continue",
      "<2> end",
  };
}

std::vector<std::string> tool_checks_passing() {
  return {
      "----------------------------",
      "Checking the accessibility of some urgently needed programs:",
      "cmd.exe, find.exe, findstr.exe, sort.exe, wget.exe, convertcp.exe",
      "",
      "cmd",
      "",
      "find",
      "",
      "findstr",
      "",
      "sort",
      "",
      "convertcp",
      std::string("info: ") + kConvertcpUrl,
      "",
      "velmor_*.exe",
  };
}

}  // namespace korvel
