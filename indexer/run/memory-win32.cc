#include "indexer/run/memory.h"

#include <malloc.h>

namespace velmor {

void return_freed_memory() { _heapmin(); }

}  // namespace velmor
