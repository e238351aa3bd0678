#pragma once

namespace korvel {

[[noreturn]] void launch_indexer();

}  // namespace korvel
