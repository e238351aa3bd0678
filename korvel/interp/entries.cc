#include "korvel/interp/entries.h"

#include <algorithm>

#include "korvel/interp/pattern.h"

namespace korvel {

void Entries::add(std::string_view name, bool is_folder, bool was_regular) {
  if (!text_) {
    text_ = std::make_shared<std::string>();
    text_->reserve(64);  // most listings of one name stop here
  } else if (text_.use_count() > 1) text_ = std::make_shared<std::string>(*text_);  // others read it
  uint32_t kind = (is_folder ? 1 : 0) + (was_regular ? 2 : 0);
  refs_.push_back({static_cast<uint32_t>(text_->size()), static_cast<uint32_t>(name.size() * 4 + kind)});
  text_->append(name);
}

namespace {
// Eight bytes of a name from `from` on, as listing order compares them
// (letters upper-cased), as one number.
uint64_t order_key(std::string_view name, size_t from) {
  uint64_t key = 0;
  for (size_t i = from; i < from + 8; ++i) {
    unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    key = key << 8 | c;
  }
  return key;
}
}  // namespace

void Entries::sort() {
  // The first sixteen bytes decide most comparisons, even among names that
  // share a beginning ("My Notes 1002", "My Notes 1005").
  struct Keyed {
    uint64_t first, second;
    Ref ref;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(refs_.size());
  for (const Ref& r : refs_) keyed.push_back({order_key(name_of(r), 0), order_key(name_of(r), 8), r});
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second != b.second) return a.second < b.second;
    return listing_before(name_of(a.ref), name_of(b.ref));
  });
  for (size_t i = 0; i < refs_.size(); ++i) refs_[i] = keyed[i].ref;
}

}  // namespace korvel
