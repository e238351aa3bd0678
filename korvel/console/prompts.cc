#include "korvel/console/prompts.h"

#include "korvel/console/console.h"
#include "korvel/console/end_run.h"
#include "korvel/console/key_queue.h"
#include "korvel/console/terminal.h"

namespace korvel {

namespace {

// Lives for the whole run: keys typed ahead answer later prompts.
KeyQueue key_queue;

// The next key press, waiting (without using the processor) until one comes.
// Input that has ended for good can never answer the prompt: the run ends.
std::string wait_for_key() {
  for (;;) {
    std::string key = poll_key();
    if (!key.empty()) return key;
    if (!terminal_wait_input()) end_run();
  }
}

}  // namespace

std::string poll_key() {
  std::vector<std::string> arrived;
  terminal_take_keys(arrived);
  for (std::string& key : arrived) push_key(key_queue, std::move(key));
  return pop_key(key_queue);
}

void key_menu(const std::vector<std::string>& choice_lines, std::string_view continue_key, std::string_view end_key) {
  for (const std::string& line : choice_lines) print_line(line);
  for (;;) {
    std::string key = wait_for_key();
    if (key == continue_key) return;
    if (key == end_key) end_run();
  }
}

void one_choice_stop() {
  print_line("<1> = continue and end");
  for (;;) {
    if (wait_for_key() == "1") end_run();
  }
}

void any_key_stop() {
  print_line("<...> any key to continue and end");
  wait_for_key();
  end_run();
}

}  // namespace korvel
