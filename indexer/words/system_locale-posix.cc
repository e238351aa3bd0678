#include "indexer/words/words.h"

namespace velmor {

// The environment is where POSIX keeps it.
std::string system_locale() { return {}; }

}  // namespace velmor
