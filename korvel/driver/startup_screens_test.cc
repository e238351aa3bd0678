// The start-up screens, seen from outside: the real program run with keys
// piped in, in an empty working folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/testing/e2e.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

TEST(StartupScreens, TwoAtAnyMenuEndsThereWithNothingWritten) {
  struct Case {
    const char* keys;
    std::vector<std::string> transcript;
  } cases[] = {
      {"2", banner_and_terms("korvel")},
      {"x\xff" "2", banner_and_terms("korvel")},  // other keys change nothing
      {"12", joined(banner_and_terms("korvel"), font_notice())},
      {"1 12", joined(joined(banner_and_terms("korvel"), font_notice()), installation_notice())},
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

}  // namespace korvel
