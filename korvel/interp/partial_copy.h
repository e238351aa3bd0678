#pragma once
// A copy is written under a name of this form in its target folder and gets
// its own name only once it is complete, so that no file's name ever holds
// part of a copy. dir, del, copy and for never list or match such names: what
// a killed copy leaves behind is a fragment, never anyone's only copy.
#include <string>
#include <string_view>

namespace korvel {

inline constexpr std::string_view kPartialCopyPrefix = "~korvel_partial_";
inline constexpr std::string_view kPartialCopySuffix = ".part";

// "~korvel_partial_<process id>.part": one copy at a time per process.
const std::string& partial_copy_name();
bool is_partial_copy_name(std::string_view name);

}  // namespace korvel
