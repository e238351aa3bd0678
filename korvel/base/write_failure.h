#pragma once
// Why a file could not be written whole, in the words cmd.exe uses for it.
#include <string>

namespace korvel {

// `error` is the errno the failed write, flush or close left.
std::string write_failure_text(int error);

}  // namespace korvel
