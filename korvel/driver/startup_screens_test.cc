// The start-up screens, seen from outside: the real program run with keys
// piped in, in an empty working folder.
#include <gtest/gtest.h>

#include <string>

#include "korvel/testing/e2e.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

// The output is compared byte for byte with the golden files, CR LF and all.
TEST(StartupScreens, TwoAtAnyMenuEndsThereWithNothingWritten) {
  const std::string terms = golden_text("banner_and_terms"), font = golden_text("font_notice"),
                    installation = golden_text("installation_notice");
  ASSERT_FALSE(terms.empty() || font.empty() || installation.empty()) << "golden files missing";
  struct Case {
    const char* keys;
    std::string output;
  } cases[] = {
      {"2", terms},
      {"x\xff"
       "2",
       terms},  // other keys change nothing
      {"12", terms + font},
      {"1 12", terms + font + installation},
  };
  for (const Case& c : cases) {
    WorkFolder work;
    RunResult run = run_korvel(work.path, c.keys);
    EXPECT_EQ(run.exit_status, 0) << c.keys;
    EXPECT_EQ(run.out, c.output) << c.keys;
    EXPECT_TRUE(snapshot(work.path).empty()) << c.keys;
  }
}

TEST(StartupScreens, TheInvocationPathIsTheFirstLineTheProgramNameStays) {
  WorkFolder work;
  for (std::string invoked_as : {"korvel", "./renamed_tool", "/opt/x/KORVEL.EXE"}) {
    RunResult run = run_korvel(work.path, "2", {"extra", "arguments"}, invoked_as);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.out, golden_text("banner_and_terms", invoked_as));
  }
}

}  // namespace korvel
