#include "shell/native_path.h"

#include "interp/interp.h"

std::string native_path(std::string_view path) { return interp_resolve(path); }
