// The name rules: a normalised name is a document name made of letters,
// digits, "." and "_" only, normalising it again changes nothing, numbered
// names never clash, and what passes for addressable holds nothing a command
// line could take for a quote, a wildcard, a variable or a separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/fuzz_check.h"
#include "korvel/base/text.h"
#include "korvel/prepare/names.h"

using namespace korvel;

namespace {
bool is_plain_byte(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_';
}

void check_one(std::string_view listed) {
  FUZZ_CHECK((extension_position(listed) == std::string_view::npos) == (document_marks(listed) == 0));
  if (is_addressable(listed)) {
    for (unsigned char c : listed)
      FUZZ_CHECK(c >= 0x20 && std::string_view("\"*?\\/%").find(c) == std::string_view::npos);
    FUZZ_CHECK(listed.front() != ' ' && listed.back() != ' ' && listed.back() != '.');
  }
  std::string file = file_name_of(listed);
  FUZZ_CHECK(file.find_first_of("/\\") == std::string::npos && std::string_view(listed).ends_with(file));
  FUZZ_CHECK(is_program_file(listed, "korvel") == is_program_file(to_upper_ascii(listed), "KORVEL"));
  if (std::optional<std::string> base = base_name(listed)) FUZZ_CHECK(trim_blanks(listed).starts_with(*base));
  else FUZZ_CHECK(document_marks(trim_blanks(listed)) == 0);

  if (extension_position(listed) == std::string_view::npos) return;
  for (int number : {1, 2, 17}) {
    std::string name = new_name(listed, number);
    for (char c : name) FUZZ_CHECK(is_plain_byte(c));
    FUZZ_CHECK(extension_position(name) != std::string::npos);
    // A long name may stay too long to be addressed; every other one can be.
    if (name.size() <= 200) FUZZ_CHECK(is_addressable(name));
    FUZZ_CHECK(to_lower_ascii(name.substr(0, 5)) != "page_");
    FUZZ_CHECK(new_name(name) == name);
  }
}

// Every listed name of one folder gets a name that no other listed name and
// no other given name has, without regard to letter case.
void check_unique(const std::vector<std::string_view>& listed) {
  TakenNames taken;
  for (std::string_view name : listed) taken.insert(to_lower_ascii(name));
  std::vector<std::string> given;
  for (std::string_view name : listed) given.push_back(unique_new_name(name, taken));
  for (size_t i = 0; i < given.size(); ++i) {
    for (size_t j = 0; j < given.size(); ++j) {
      if (i == j) continue;
      FUZZ_CHECK(!equals_ignore_case(given[i], given[j]));
      if (!equals_ignore_case(listed[i], listed[j])) FUZZ_CHECK(!equals_ignore_case(given[i], listed[j]));
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  check_one(all);
  // Lines are the names of one folder listing; only documents are renamed.
  std::vector<std::string_view> documents;
  for (size_t begin = 0; begin <= all.size() && documents.size() < 64;) {
    size_t end = all.find('\n', begin);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(begin, end - begin);
    if (extension_position(line) != std::string_view::npos) documents.push_back(line);
    begin = end + 1;
  }
  check_unique(documents);
  return 0;
}
