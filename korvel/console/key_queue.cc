#include "korvel/console/key_queue.h"

#include <utility>

namespace korvel {

namespace {
size_t next_slot(size_t slot) { return (slot + 1) % key_queue_slots; }
}  // namespace

void push_key(KeyQueue& queue, std::string key) {
  if (next_slot(queue.end) == queue.first) queue.first = next_slot(queue.first);
  queue.slots[queue.end] = std::move(key);
  queue.end = next_slot(queue.end);
}

std::string pop_key(KeyQueue& queue) {
  if (queue.first == queue.end) return {};
  std::string key = std::move(queue.slots[queue.first]);
  queue.slots[queue.first].clear();
  queue.first = next_slot(queue.first);
  return key;
}

size_t key_count(const KeyQueue& queue) { return (queue.end + key_queue_slots - queue.first) % key_queue_slots; }

}  // namespace korvel
