#include "indexer/site/letter_script.h"

#include <unicode/uscript.h>
#include <unicode/utf8.h>

namespace velmor {

std::string letter_script(std::string_view letter) {
  UChar32 c = -1;
  int32_t at = 0;
  if (!letter.empty()) U8_NEXT(letter.data(), at, static_cast<int32_t>(letter.size()), c);
  if (c < 0) return "";
  UErrorCode status = U_ZERO_ERROR;
  const UScriptCode script = uscript_getScript(c, &status);
  if (U_FAILURE(status) || script == USCRIPT_COMMON || script == USCRIPT_INHERITED || script == USCRIPT_UNKNOWN)
    return "";
  const char* name = uscript_getName(script);
  return name ? std::string(name) : "";
}

}  // namespace velmor
