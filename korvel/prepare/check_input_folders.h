#pragma once

namespace korvel {

void check_input_folders();

}  // namespace korvel
