#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "indexer/words/words.h"

namespace velmor {

static std::u16string to_utf16(std::string_view s) {
  std::u16string out(s.size(), u'\0');  // never more units than bytes
  int32_t n = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, s.data(),
                       static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

static std::string to_utf8(std::u16string_view s) {
  std::string out(s.size() * 3, '\0');
  int32_t n = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, s.data(),
                     static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

struct Collation::Impl {
  UCollator* order = nullptr;
  UCollator* primary = nullptr;  // letters only: no accents, no case
  std::string name;
  // The locale's alphabet entries of more than one letter ("ch" in Czech),
  // longest first, lower case.
  std::vector<std::u16string> digraphs;
  ~Impl() {
    ucol_close(order);
    ucol_close(primary);
  }

  int compare_primary(std::u16string_view a, std::u16string_view b) const {
    return ucol_strcoll(primary, a.data(), static_cast<int32_t>(a.size()), b.data(),
                        static_cast<int32_t>(b.size()));
  }
  // Whether the word sorts under `letter`: from the letter on, before
  // anything of a higher letter. U+FFFF has the highest primary weight.
  bool files_under(std::u16string_view word, std::u16string letter) const {
    if (compare_primary(letter, word) > 0) return false;
    letter.push_back(u'\uFFFF');
    return compare_primary(word, letter) < 0;
  }
};

static void load_digraphs(const std::string& locale, std::vector<std::u16string>& out) {
  UErrorCode status = U_ZERO_ERROR;
  ULocaleData* data = ulocdata_open(locale.c_str(), &status);
  USet* index = ulocdata_getExemplarSet(data, nullptr, 0, ULOCDATA_ES_INDEX, &status);
  if (U_SUCCESS(status)) {
    int32_t items = uset_getItemCount(index);
    for (int32_t i = 0; i < items; ++i) {
      UChar32 first, last;
      UChar buffer[16];
      UErrorCode item_status = U_ZERO_ERROR;
      int32_t length = uset_getItem(index, i, &first, &last, buffer, 16, &item_status);
      if (length <= 1 || U_FAILURE(item_status)) continue;  // ranges and single letters
      UChar lower[16];
      UErrorCode lower_status = U_ZERO_ERROR;
      int32_t n = u_strToLower(lower, 16, buffer, length, locale.c_str(), &lower_status);
      if (U_SUCCESS(lower_status)) out.emplace_back(lower, static_cast<size_t>(n));
    }
    uset_close(index);
  }
  ulocdata_close(data);
  std::sort(out.begin(), out.end(), [](const std::u16string& a, const std::u16string& b) {
    return a.size() > b.size();
  });
}

Collation::Collation(const std::string& locale) : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->order = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status))
    throw std::invalid_argument("The collation for \"" + locale + "\" cannot be opened: " +
                                u_errorName(status) + ".");
  const char* valid = ucol_getLocaleByType(impl_->order, ULOC_VALID_LOCALE, &status);
  std::string used = valid && *valid ? valid : "root";
  // ICU answers a name it has no data for with the root order and a warning;
  // sorting by an order the user did not ask for would be a silent lie.
  if (used == "root" && !locale.empty() && locale != "root")
    throw std::invalid_argument("There is no collation for the locale \"" + locale +
                                "\"; give one like sl, de_DE or root.");
  impl_->name = used;
  impl_->primary = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status))
    throw std::invalid_argument("The collation for \"" + locale + "\" cannot be opened: " +
                                u_errorName(status) + ".");
  ucol_setStrength(impl_->primary, UCOL_PRIMARY);
  load_digraphs(used, impl_->digraphs);
}

Collation::~Collation() = default;

const std::string& Collation::name() const { return impl_->name; }

std::string Collation::sort_key(std::string_view word) const {
  std::u16string text = to_utf16(word);
  thread_local std::string key(64, '\0');
  auto fill = [&] {
    return ucol_getSortKey(impl_->order, text.data(), static_cast<int32_t>(text.size()),
                           reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
  };
  int32_t n = fill();
  if (n > static_cast<int32_t>(key.size())) {
    key.resize(static_cast<size_t>(n));
    n = fill();
  }
  // The key ends in a zero byte that adds nothing to the order.
  return n > 0 ? key.substr(0, static_cast<size_t>(n - 1)) : std::string();
}

// The first code point of a single code point's decomposition.
static UChar32 first_of_decomposition(const UNormalizer2* form, UChar32 c) {
  UChar buffer[32];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = unorm2_getDecomposition(form, c, buffer, 32, &status);
  if (U_FAILURE(status) || n <= 0) return c;
  UChar32 first;
  int32_t i = 0;
  U16_NEXT(buffer, i, n, first);
  return first;
}

static std::u16string of(UChar32 c) {
  std::u16string out;
  if (c <= 0xFFFF) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    out.push_back(static_cast<char16_t>(U16_LEAD(c)));
    out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
  }
  return out;
}

static UChar32 first_of_folding(UChar32 c) {
  UChar in[2], out[8];
  int32_t length = 0;
  U16_APPEND_UNSAFE(in, length, c);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = u_strFoldCase(out, 8, in, length, U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status) || n <= 0) return c;
  UChar32 first;
  int32_t i = 0;
  U16_NEXT(out, i, n, first);
  return first;
}

std::string Collation::initial(std::string_view word) const {
  std::u16string text = to_utf16(word);
  if (text.empty()) return {};
  for (const std::u16string& digraph : impl_->digraphs) {
    if (text.size() >= digraph.size() && impl_->files_under(text, digraph)) {
      std::u16string upper(digraph.size() * 3, u'\0');
      UErrorCode status = U_ZERO_ERROR;
      int32_t n = u_strToUpper(upper.data(), static_cast<int32_t>(upper.size()), digraph.data(),
                               static_cast<int32_t>(digraph.size()), impl_->name.c_str(), &status);
      if (U_SUCCESS(status)) return to_utf8(std::u16string_view(upper.data(), n));
    }
  }
  UChar32 c;
  size_t i = 0;
  U16_NEXT(text.data(), i, text.size(), c);
  if (u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC)) return "漢";

  // The plainest letter that the word still sorts under: "e" for "été"
  // in most languages, but "č" itself where č is a letter of its own.
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  UChar32 candidates[4] = {c, c, c, c};
  if (U_SUCCESS(status)) {
    UChar32 compatible = first_of_decomposition(nfkd, c);
    candidates[0] = first_of_folding(compatible);
    candidates[1] = compatible;
    candidates[2] = first_of_decomposition(nfd, c);
  }
  UChar32 letter = c;
  for (UChar32 candidate : candidates) {
    if (impl_->files_under(text, of(candidate))) {
      letter = candidate;
      break;
    }
  }
  if (u_charType(letter) == U_DECIMAL_DIGIT_NUMBER) return "0-9";
  return to_utf8(of(u_toupper(letter)));
}

std::string locale_from_environment() {
  const char* names[] = {"LC_ALL", "LC_COLLATE", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::string locale = value;
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") return {};
    return locale;
  }
  return {};
}

}  // namespace velmor
