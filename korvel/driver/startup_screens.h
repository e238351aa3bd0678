#pragma once

namespace korvel {

void show_startup_screens();

}  // namespace korvel
