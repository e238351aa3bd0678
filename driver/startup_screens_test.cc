// The start-up screens, seen from outside: the real program run with keys
// piped in, in an empty working folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/urls.h"
#include "testing/e2e.h"

namespace {

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

const std::vector<std::string> kFontNotice = {
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

const std::vector<std::string> kInstallationNotice = {
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

std::vector<std::string> joined(std::vector<std::string> lines,
                                const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

}  // namespace

TEST(StartupScreens, TwoAtAnyMenuEndsThereWithNothingWritten) {
  struct Case {
    const char* keys;
    std::vector<std::string> transcript;
  } cases[] = {
      {"2", banner_and_terms("korvel")},
      {"x\xff" "2", banner_and_terms("korvel")},  // other keys change nothing
      {"12", joined(banner_and_terms("korvel"), kFontNotice)},
      {"1 12", joined(joined(banner_and_terms("korvel"), kFontNotice), kInstallationNotice)},
  };
  for (const Case& c : cases) {
    WorkFolder work;
    RunResult run = run_korvel(work.path, c.keys);
    EXPECT_EQ(run.exit_status, 0) << c.keys;
    EXPECT_EQ(crlf_lines(run.out), c.transcript) << c.keys;
    EXPECT_TRUE(run.out.ends_with("\r\n")) << c.keys;
    EXPECT_TRUE(snapshot(work.path).empty()) << c.keys;
  }
}

TEST(StartupScreens, TheInvocationPathIsTheFirstLineTheProgramNameStays) {
  WorkFolder work;
  for (std::string invoked_as : {"korvel", "./renamed_tool", "/opt/x/KORVEL.EXE"}) {
    RunResult run = run_korvel(work.path, "2", {"extra", "arguments"}, invoked_as);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(crlf_lines(run.out), banner_and_terms(invoked_as));
  }
}
