#include "indexer/run/memory.h"

#include <cstddef>
#include <cstdlib>  // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// jemalloc's control call, when the program is linked with it; null when not.
extern "C" int mallctl(const char* name, void* old_value, size_t* old_length, void* new_value, size_t new_length)
    __attribute__((weak));

namespace velmor {

void return_freed_memory() {
  // 4096 is jemalloc's name for all its arenas at once.
  if (mallctl) mallctl("arena.4096.purge", nullptr, nullptr, nullptr, 0);
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace velmor
