#pragma once
// Key presses that no prompt has taken yet, oldest first. A ring of 512
// slots, one always kept free, so it holds at most 511 key presses; when it
// is full a new key press pushes out the oldest.
#include <array>
#include <cstddef>
#include <string>

namespace korvel {

constexpr size_t key_queue_slots = 512;

struct KeyQueue {
  std::array<std::string, key_queue_slots> slots;
  size_t first = 0;  // oldest key press
  size_t end = 0;    // slot for the next key press
};

void push_key(KeyQueue& queue, std::string key);
// The oldest key press, removed from the queue, or "" when there is none.
std::string pop_key(KeyQueue& queue);
size_t key_count(const KeyQueue& queue);

}  // namespace korvel
