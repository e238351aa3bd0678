#pragma once
// Memory the process has freed but the allocator still holds: reading
// frees the word tables at its end, and without this the site stage would
// carry them in the process's footprint to the last page it writes.
namespace velmor {

void return_freed_memory();

}  // namespace velmor
