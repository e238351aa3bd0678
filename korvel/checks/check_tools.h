#pragma once

namespace korvel {

void check_tools();

}  // namespace korvel
