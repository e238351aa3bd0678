// The prompts with keys fed through a pipe on standard input, the way a
// script drives the program. Prompts that end the run are run in death tests.
#include "korvel/console/prompts.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace korvel {

namespace {

// Standard input from a pipe holding `keys`, standard output into a file.
class PromptTest : public testing::Test {
 protected:
  void SetUp() override {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    saved_in = dup(0);
    dup2(ends[0], 0);
    close(ends[0]);
    key_writer = ends[1];
    while (!poll_key().empty()) {
    }  // keys left by an earlier test
    output = tmpfile();
    // What this process printed through stdio and has not written yet must
    // not land in the output file: a death test's child, a copy of this
    // process, would write it there as it exits.
    std::fflush(stdout);
    saved_out = dup(1);
    dup2(fileno(output), 1);
  }
  void TearDown() override {
    dup2(saved_out, 1);
    close(saved_out);
    dup2(saved_in, 0);
    close(saved_in);
    if (key_writer >= 0) close(key_writer);
    fclose(output);
  }
  void type(std::string_view keys) { ASSERT_EQ(write(key_writer, keys.data(), keys.size()), ssize_t(keys.size())); }
  void end_input() {
    close(key_writer);
    key_writer = -1;
  }
  std::string printed() {
    std::string text;
    rewind(output);
    for (int c; (c = fgetc(output)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  int saved_in = -1, saved_out = -1, key_writer = -1;
  FILE* output = nullptr;
};

// Ends the child when the prompt is still waiting after a second, with 3 if
// it waited without using the processor and 4 if it spun.
void give_up_after_a_second() {
  signal(SIGALRM, [](int) {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    long used_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    _exit(used_ms < 300 ? 3 : 4);
  });
  alarm(1);
}

const std::vector<std::string> terms_menu = {"<1> yes, continue", "<2> no, end"};

}  // namespace

TEST_F(PromptTest, KeyMenuIgnoresOtherKeysAndLeavesLaterOnesQueued) {
  type(
      "ab\r\xff\x48"
      "3"
      "1"
      "\r9");
  key_menu(terms_menu, "1", "2");
  EXPECT_EQ(printed(), "<1> yes, continue\r\n<2> no, end\r\n");
  EXPECT_EQ(poll_key(), "\r");
  EXPECT_EQ(poll_key(), "9");
  EXPECT_EQ(poll_key(), "");
}

TEST_F(PromptTest, KeyMenuWithTheKeysTheOtherWayRound) {
  type("x2");
  key_menu({"<1> = stop and rename file: a", "<2> = continue and *.txt file will be recreate from *.htm"}, "2", "1");
  EXPECT_EQ(poll_key(), "");
}

TEST_F(PromptTest, KeysTypedAheadAnswerTheNextMenuAfterItsLinesAreShown) {
  type("11");
  key_menu(terms_menu, "1", "2");
  key_menu({"<1> continue", "<2> end"}, "1", "2");
  EXPECT_EQ(printed(), "<1> yes, continue\r\n<2> no, end\r\n<1> continue\r\n<2> end\r\n");
}

TEST_F(PromptTest, KeyMenuEndKeyEndsTheRunPrintingNothingMore) {
  type("x\r2");
  EXPECT_EXIT(key_menu(terms_menu, "1", "2"), testing::ExitedWithCode(0), "");
  EXPECT_EQ(printed(), "<1> yes, continue\r\n<2> no, end\r\n");
}

TEST_F(PromptTest, KeyMenuWaitsWithoutSpinningWhileNoDecidingKeyComes) {
  type("x\r");
  EXPECT_EXIT((give_up_after_a_second(), key_menu(terms_menu, "1", "2")), testing::ExitedWithCode(3), "");
  EXPECT_EQ(printed(), "<1> yes, continue\r\n<2> no, end\r\n");
}

TEST_F(PromptTest, InputThatEndsWhileAPromptWaitsEndsTheRun) {
  type("x");
  end_input();
  EXPECT_EXIT(key_menu(terms_menu, "1", "2"), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(any_key_stop(), testing::ExitedWithCode(0), "");
}

TEST_F(PromptTest, OneChoiceStopEndsOnlyOnOne) {
  type("2\r\xff");
  EXPECT_EXIT((give_up_after_a_second(), one_choice_stop()), testing::ExitedWithCode(3), "");
  EXPECT_EQ(printed(), "<1> = continue and end\r\n");
  type("1");
  EXPECT_EXIT(one_choice_stop(), testing::ExitedWithCode(0), "");
}

TEST_F(PromptTest, AnyKeyStopEndsOnAnyKeyAndWaitsForOne) {
  EXPECT_EXIT((give_up_after_a_second(), any_key_stop()), testing::ExitedWithCode(3), "");
  EXPECT_EQ(printed(), "<...> any key to continue and end\r\n");
  type("\r");
  EXPECT_EXIT(any_key_stop(), testing::ExitedWithCode(0), "");
}

}  // namespace korvel
