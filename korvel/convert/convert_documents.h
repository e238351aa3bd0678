#pragma once
#include <string_view>

namespace korvel {

void convert_documents();
void write_page(std::string_view source_path, std::string_view page_path);

}  // namespace korvel
