#pragma once
// The journal of the renames in txt_in, written whole before the first of
// them and removed after the last. A rename puts the document under its new
// name first and drops the old one after, so a run killed in between leaves
// both; the next run reads the journal and finishes the job. A journal cut
// short (no "end" line) was being written when the run died: nothing had
// been renamed yet.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct Rename {
  std::string from, to;  // names in txt_in
  std::uintmax_t size = 0;
};

// Encodes a name for one field of a journal line: control bytes, tab and
// "%" as %XX.
std::string journal_field(std::string_view name);
std::optional<std::string> name_of_field(std::string_view field);
std::string journal_line(const Rename& rename);
std::optional<Rename> rename_of_line(std::string_view line);

// Writes `count` renames, the i-th being rename_at(i); true when the journal
// reads back whole.
bool write_renames_journal(size_t count, const std::function<Rename(size_t)>& rename_at);
// No value when there is no journal, or only part of one.
std::optional<std::vector<Rename>> read_renames_journal();

}  // namespace korvel
