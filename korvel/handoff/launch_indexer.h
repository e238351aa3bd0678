#pragma once
[[noreturn]] void launch_indexer();
