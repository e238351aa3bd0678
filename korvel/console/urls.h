#pragma once

namespace korvel {

// Web addresses shown to the user. The convertcp page and the maker's address
// are set when the program is configured (CMake cache variables
// KORVEL_CONVERTCP_URL and KORVEL_MAKER_URL); this is the one place that
// reads them.
inline constexpr const char kConvertcpUrl[] = KORVEL_CONVERTCP_URL;
inline constexpr const char kWgetUrl[] = "https://www.gnu.org/software/wget/";
inline constexpr const char kMakerUrl[] = KORVEL_MAKER_URL;

}  // namespace korvel
