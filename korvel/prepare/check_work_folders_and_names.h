#pragma once

namespace korvel {

void check_work_folders_and_names();

}  // namespace korvel
