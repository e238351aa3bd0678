#include <windows.h>

#include "indexer/words/words.h"

namespace velmor {

std::string system_locale() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  int n = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  std::string out;
  // Locale names are ASCII: "sl-SI", "sr-Latn-RS".
  for (int i = 0; i + 1 < n; ++i) out += name[i] == L'-' ? '_' : static_cast<char>(name[i]);
  return out;
}

}  // namespace velmor
