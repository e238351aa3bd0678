#include <unicode/alphaindex.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "indexer/words/words.h"

namespace velmor {

static std::u16string to_utf16(std::string_view s) {
  std::u16string out(s.size(), u'\0');  // never more units than bytes
  int32_t n = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, s.data(), static_cast<int32_t>(s.size()),
                       0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

static std::string to_utf8(std::u16string_view s) {
  std::string out(s.size() * 3, '\0');
  int32_t n = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n, s.data(), static_cast<int32_t>(s.size()), 0xFFFD,
                     nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

struct Collation::Impl {
  UCollator* order = nullptr;
  std::string name;
  std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> alphabet;
  // Letters that begin none of the collation's contractions ("ch" in
  // Czech), so every word they begin files under one label, theirs.
  USet* contraction_starts = nullptr;
  std::unordered_map<UChar32, std::string> label_of_first;
  std::unordered_set<UChar32> asked;
  ~Impl() {
    ucol_close(order);
    if (contraction_starts) uset_close(contraction_starts);
  }
  std::string label(std::string_view word, std::u16string_view text) const;
  bool decides_alone(UChar32 first) const;
};

static USet* first_letters_of_contractions(const UCollator* order) {
  UErrorCode status = U_ZERO_ERROR;
  USet* contractions = uset_openEmpty();
  USet* starts = uset_openEmpty();
  ucol_getContractionsAndExpansions(order, contractions, nullptr, true, &status);
  const int32_t items = U_SUCCESS(status) ? uset_getItemCount(contractions) : 0;
  for (int32_t i = 0; i < items; ++i) {
    UChar32 first, last;
    UChar buffer[32];
    UErrorCode item_status = U_ZERO_ERROR;
    int32_t length = uset_getItem(contractions, i, &first, &last, buffer, 32, &item_status);
    if (U_FAILURE(item_status)) continue;
    if (length == 0) {
      uset_addRange(starts, first, last);
    } else {
      UChar32 c;
      int32_t at = 0;
      U16_NEXT(buffer, at, length, c);
      uset_add(starts, c);
    }
  }
  uset_close(contractions);
  if (U_FAILURE(status)) uset_addRange(starts, 0, 0x10FFFF);  // trust no shortcut
  return starts;
}

// The scripts an alphabet bar can meet, each by a language that writes it:
// their letters join the locale's own, so a word in any of them files under
// a letter of its script rather than under one catch-all.
static const char* const kScriptLanguages[] = {"en", "el", "ru", "uk", "sr", "ka", "hy", "he", "ar",
                                               "fa", "hi", "bn", "pa", "gu", "ta", "te", "kn", "ml",
                                               "si", "th", "lo", "km", "my", "am", "ko", "ja"};

static std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> make_alphabet(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  icu::AlphabeticIndex index(icu::Locale(locale.c_str()), status);
  index.setMaxLabelCount(10000, status);
  for (const char* language : kScriptLanguages) index.addLabels(icu::Locale(language), status);
  if (U_FAILURE(status)) return nullptr;
  std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> built(index.buildImmutableIndex(status));
  return U_SUCCESS(status) ? std::move(built) : nullptr;
}

Collation::Collation(const std::string& locale) : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->order = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status))
    throw std::invalid_argument("The collation for \"" + locale + "\" cannot be opened: " + u_errorName(status) + ".");
  const char* valid = ucol_getLocaleByType(impl_->order, ULOC_VALID_LOCALE, &status);
  std::string used = valid && *valid ? valid : "root";
  // ICU answers a name it has no data for with the root order and a warning;
  // sorting by an order the user did not ask for would be a silent lie.
  if (used == "root" && !locale.empty() && locale != "root")
    throw std::invalid_argument("There is no collation for the locale \"" + locale +
                                "\"; give one like sl, de_DE or root.");
  impl_->name = used;
  impl_->alphabet = make_alphabet(used == "root" ? "" : used);
  impl_->contraction_starts = first_letters_of_contractions(impl_->order);
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

// The first code point of the word's compatibility decomposition: "2" for
// "²", "Z" for "Ｚ".
static UChar32 first_compatible(std::u16string_view text) {
  UChar32 c;
  size_t i = 0;
  U16_NEXT(text.data(), i, text.size(), c);
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
  UChar buffer[32];
  int32_t n = U_SUCCESS(status) ? unorm2_getDecomposition(nfkd, c, buffer, 32, &status) : 0;
  if (U_FAILURE(status) || n <= 0) return c;
  i = 0;
  U16_NEXT(buffer, i, static_cast<size_t>(n), c);
  return c;
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

std::string Collation::Impl::label(std::string_view word, std::u16string_view text) const {
  const UChar32 first = first_compatible(text);
  if (u_isdigit(first)) return "0-9";
  if (u_hasBinaryProperty(first, UCHAR_IDEOGRAPHIC)) return "漢";
  if (alphabet) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t b =
        alphabet->getBucketIndex(icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())), status);
    const icu::AlphabeticIndex::Bucket* bucket = alphabet->getBucket(b);
    if (U_SUCCESS(status) && bucket) {
      if (bucket->getLabelType() == U_ALPHAINDEX_NORMAL) {
        std::string label;
        bucket->getLabel().toUTF8String(label);
        return label;
      }
      // Before the first letter sort the symbols; past the last, or between
      // scripts, letters of a script no alphabet here covers.
      if (bucket->getLabelType() == U_ALPHAINDEX_UNDERFLOW) return "#";
    }
  }
  if (!u_isalpha(first)) return "#";
  // The plain letter: "S" for "ß" as for "š".
  std::u16string plain = to_utf16(search_key(word));
  UChar32 letter = first;
  if (!plain.empty()) U16_GET(plain.data(), 0, 0, plain.size(), letter);
  return to_utf8(of(u_toupper(letter)));
}

// Whether every word that `first` begins files under one label: the words
// sort from the letter alone to the letter before U+FFFF, the highest
// weight, unless the letter begins a contraction; a letter the collation
// ignores ("\u0301") files under the letters after it.
bool Collation::Impl::decides_alone(UChar32 first) const {
  if (uset_contains(contraction_starts, first)) return false;
  const std::u16string alone = of(first);
  const std::u16string highest = alone + u'\uFFFF';
  return label(to_utf8(alone), alone) == label(to_utf8(highest), highest);
}

std::string Collation::initial(std::string_view word) const {
  std::u16string text = to_utf16(word);
  if (text.empty()) return {};
  UChar32 first;
  size_t i = 0;
  U16_NEXT(text.data(), i, text.size(), first);
  // Most words' labels are their first letter's: found once per letter.
  auto known = impl_->label_of_first.find(first);
  if (known != impl_->label_of_first.end()) return known->second;
  std::string label = impl_->label(word, text);
  if (impl_->asked.insert(first).second && impl_->decides_alone(first)) impl_->label_of_first.emplace(first, label);
  return label;
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
  return system_locale();
}

}  // namespace velmor
