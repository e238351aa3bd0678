#pragma once
// What makes a file the same file later on: where it lives on disk, its size
// and its last change. A file replaced under its name, or changed in place,
// has another identity.
#include <cstdint>
#include <optional>
#include <string>

namespace korvel {

struct FileIdentity {
  std::uint64_t volume = 0, file = 0, size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileIdentity&) const = default;
};

// No value when there is no file to look at.
std::optional<FileIdentity> identity_of(const std::string& native);

}  // namespace korvel
