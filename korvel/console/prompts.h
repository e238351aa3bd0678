#pragma once
// The three single-key prompts. Each prints its lines once, then waits for a
// deciding key; keys typed ahead wait in the key queue and answer later prompts.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Oldest key press waiting, or "" when none; never waits. Extended keys come as
// the character 255 followed by the PC scan code.
std::string poll_key();

void key_menu(const std::vector<std::string>& choice_lines, std::string_view continue_key, std::string_view end_key);
[[noreturn]] void one_choice_stop();
[[noreturn]] void any_key_stop();

}  // namespace korvel
