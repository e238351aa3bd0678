#pragma once

namespace korvel {

void normalise_file_names();

}  // namespace korvel
