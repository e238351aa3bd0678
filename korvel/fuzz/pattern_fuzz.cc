// The wildcard matcher: "*" and "*.*" match every name, a name without
// wildcards matches exactly its case variants, a trailing dot asks for names
// without one, short names look like 8.3 names, and the listing order is a
// strict total order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/fuzz_check.h"
#include "korvel/base/text.h"
#include "korvel/interp/pattern.h"

using namespace korvel;

namespace {
// Input: pattern, 0 byte, name, 0 byte, third name (parts may be missing).
std::string_view part(std::string_view& rest) {
  size_t zero = rest.find('\0');
  std::string_view piece = rest.substr(0, zero);
  rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  return piece;
}

void check_order(std::string_view a, std::string_view b, std::string_view c) {
  FUZZ_CHECK(!listing_before(a, a));
  if (a != b) FUZZ_CHECK(listing_before(a, b) != listing_before(b, a));
  if (listing_before(a, b) && listing_before(b, c)) FUZZ_CHECK(listing_before(a, c));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::string_view pattern = part(rest);
  std::string_view name = part(rest);
  std::string_view third = part(rest);

  FUZZ_CHECK(name_matches("*", name));
  FUZZ_CHECK(name_matches("*.*", name));
  FUZZ_CHECK(wildcard_match("*", name));
  if (!has_wildcard(name)) {
    FUZZ_CHECK(wildcard_match(name, name));
    FUZZ_CHECK(wildcard_match(to_upper_ascii(name), to_lower_ascii(name)));
  }
  if (!has_wildcard(pattern)) FUZZ_CHECK(wildcard_match(pattern, name) == equals_ignore_case(pattern, name));
  bool matched = name_matches(pattern, name);
  FUZZ_CHECK(matched == name_matches(to_upper_ascii(pattern), to_lower_ascii(name)));
  if (matched && !pattern.empty() && pattern.back() == '.' && name != "." && name != "..")
    FUZZ_CHECK(name.find('.') == std::string_view::npos);

  std::string short_form = short_name(name);
  FUZZ_CHECK(short_form.size() <= 12 && short_form.find("~1") != std::string::npos);
  FUZZ_CHECK(short_form.find_first_of(" +,;=[]") == std::string::npos);
  FUZZ_CHECK(to_upper_ascii(short_form) == short_form);
  if (is_short_name(name)) FUZZ_CHECK(name.size() <= 12);

  check_order(pattern, name, third);
  return 0;
}
