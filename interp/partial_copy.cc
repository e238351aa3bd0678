#include "interp/partial_copy.h"

#include <unistd.h>

namespace {
constexpr std::string_view kPrefix = "~korvel_partial_";
constexpr std::string_view kSuffix = ".part";
}  // namespace

std::string partial_copy_name() {
  return std::string(kPrefix) + std::to_string(getpid()) + std::string(kSuffix);
}

bool is_partial_copy_name(std::string_view name) { return name.starts_with(kPrefix) && name.ends_with(kSuffix); }
