// Writes the indexer's two keys for every code point that case mapping or
// a decomposition changes, and for words whose keys hang on more than one
// character, one JSON array a line: [written, fold_key, search_key]. The
// node test (site_keys_test.mjs) checks the site's script against it, so
// the browser's search and double-click fold as the index was built.
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <cstdio>
#include <string>

#include "indexer/words/words.h"

namespace {

bool keyed(UChar32 c) {
  return u_hasBinaryProperty(c, UCHAR_CHANGES_WHEN_CASEMAPPED) ||
         u_hasBinaryProperty(c, UCHAR_CHANGES_WHEN_CASEFOLDED) ||
         u_hasBinaryProperty(c, UCHAR_CHANGES_WHEN_NFKC_CASEFOLDED) ||
         u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE) != U_DT_NONE || u_charType(c) == U_NON_SPACING_MARK ||
         u_charType(c) == U_ENCLOSING_MARK || (c >= 0x30A0 && c <= 0x30FF) ||  // katakana, keyed as hiragana
         c == 0x2018 || c == 0x2019 || c == 0x02BC || c == 0xFF07;             // apostrophes
}

std::string json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + '"';
}

// `c` written as its canonical decomposition, or "" when it has none:
// both sides compose it again before they fold.
std::string decomposed(UChar32 c) {
  UErrorCode status = U_ZERO_ERROR;
  UChar text[32];
  const int32_t n = unorm2_getRawDecomposition(unorm2_getNFDInstance(&status), c, text, 32, &status);
  if (U_FAILURE(status) || n <= 0) return "";
  char bytes[128];
  int32_t length = 0;
  u_strToUTF8(bytes, sizeof bytes, &length, text, n, &status);
  return U_SUCCESS(status) ? std::string(bytes, static_cast<size_t>(length)) : "";
}

void row(const std::string& word) {
  std::printf("[%s,%s,%s]\n", json(word).c_str(), json(velmor::fold_key(word)).c_str(),
              json(velmor::search_key(word)).c_str());
}

// Words whose keys depend on more than one character, or on where a
// character stands, or that grow by more than a few code points.
const char* const kWords[] = {
    "ΟΔΟΣ",
    "οδος",
    "ὈΔΌΣ",
    "Σίσυφος",
    "ΣΊΣΥΦΟΣ",
    "Straße",
    "STRASSE",
    "GROẞE",
    "ßß",
    "İSTANBUL",
    "istanbul",
    "ıslak",
    "ISLAK",
    "İ̇",
    "i̇",
    "ﬁle",
    "ﬀﬃﬄﬅﬆ",
    "ǅemal",
    "ǄEMAL",
    "ǆ",
    "ﷺﷺﷺﷺ",
    "a\xEF\xB7\xBA"
    "b",
    "ﷻ",
    "ꭰꮿ",
    "ᏣᎳᎩ",
    "ꮳꮃꭹ",
    "Ꮳꮃꭹ",
    "ᏸᏹᏺᏻᏼᏽ",
    "ᲐᲑᲒ",
    "აბგ",
    "ᾼ",
    "ᾳ",
    "ᾈ",
    "ᾀ",
    "ΆΙ",
    "ᾷ",
    "ᾺΙ",
    "ῼ",
    "𐐀𐐁𐐂",
    "𐐨𐐩𐐪",
    "𐒰𐓘",
    "𐲀𐳀",
    "𑢠𑣀",
    "𖹀𖹠",
    "𞤀𞤢",
    "ŉ",
    "ǰ",
    "ΐ",
    "ẖẗẘẙẚ",
    "ﬓﬔﬕ",
    "Ǉ",
    "ǈ",
    "㎒",
    "㍱",
    "ﾊﾟ",
    "ﾎﾟﾎﾟ",
    "ｶﾞｯｺｳ",
    "한국어",
    "한",
    "ℌilbert",
    "ℍ",
    "Å",
    "K",
    "Ω",
    "ǅ",
    "ͅ",
    "ᾳ",
    "ᾀ",
    "Ⅻ",
    "①②",
    "⒜",
    "🄰",
    "Ꭰꭰ",
    "ꞵ",
    "Ʞ",
    "ſ",
    "ẛ",
    "ﬅ",
    "ǈe",
    "l’option",
    "lʼoption",
    "Ｌ＇ｏｐｔｉｏｎ",
};

}  // namespace

int main() {
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    if (U_IS_SURROGATE(c) || !keyed(c)) continue;
    char bytes[4];
    int32_t n = 0;
    U8_APPEND_UNSAFE(bytes, n, c);
    row(std::string(bytes, static_cast<size_t>(n)));
    if (u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE) == U_DT_CANONICAL) {
      const std::string parts = decomposed(c);
      if (!parts.empty()) row(parts);
    }
  }
  for (const char* word : kWords) row(word);
  return 0;
}
