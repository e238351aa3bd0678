#pragma once
// Small pieces of HTML writing shared by every kind of page of the site.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmor {

// Where a character starts at or before `at`, so a cut never splits a
// UTF-8 sequence.
size_t utf8_floor(std::string_view text, size_t at);

// File names: i_001.htm for the first file of entries, index_001.htm for
// the first word list, both numbered from 1. The documents' addresses are
// layout.h's.
std::string entry_file(uint32_t file);
std::string list_file(uint32_t list);

// The scripts a kind of page loads after those every page loads, in the
// order they run (velmor.js lists them all). text_store.js finds a text in
// text/ from its script tag's data-per-folder, the documents to a folder.
std::string document_scripts(uint32_t per_folder);  // page.htm
std::string entry_scripts(uint32_t per_folder);     // i_NNN.htm
std::string_view list_scripts();                    // index_NNN.htm, s_freq_NNN.htm, s_once_NNN.htm
std::string_view table_scripts();                   // pages whose tables save as TSV

// The start of every page: doctype, head, the header bar with the way back
// to the start page, the word lists, the statistics and the search box.
// `head_extra` goes into <head> as it is, after the scripts of every page.
void append_page_start(std::string& out, std::string_view title, std::string_view head_extra = {});
void append_page_end(std::string& out);

}  // namespace velmor
