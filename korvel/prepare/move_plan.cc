#include "korvel/prepare/move_plan.h"

#include <string>

#include "korvel/prepare/names.h"

namespace korvel {

namespace {

// Why a file of txt_in must stay where it is, or nothing when it may move.
std::string_view reason_to_stay(std::string_view name, std::string_view renamed, std::string_view program,
                                bool has_letter_case_variants) {
  if (is_program_file(name, program) || is_program_file(renamed, program))
    return "a program file never goes into the working folder";
  if (std::string_view why = reserved_working_name(name); !why.empty()) return why;
  if (std::string_view why = reserved_working_name(renamed); !why.empty()) return why;
  // Where names differ in letter case only, a copy or a delete of one could
  // reach the other.
  if (has_letter_case_variants) return "another file of txt_in has that name in another letter case";
  return {};
}

}  // namespace

MovePlan plan_moves(NameSet& names, size_t listed, std::string_view program, const TxtInFacts& facts) {
  // Asked before any new name joins the set.
  std::vector<bool> has_variants(listed);
  for (size_t i = 0; i < listed; ++i) has_variants[i] = names.count(names[i]) > 1;

  MovePlan plan;
  plan.moves.reserve(listed);
  for (size_t i = 0; i < listed; ++i) {
    const uint32_t at = static_cast<uint32_t>(i);
    std::string name(names[i]);
    FileStamp stamp = facts.stamp(name);
    if (stamp.kind == FileKind::kFolder || stamp.kind == FileKind::kMissing) continue;  // subfolders stay
    ++plan.files;
    // Even a file that stays takes its new name, so no later document gets it.
    bool document = extension_position(name) != std::string::npos;
    std::string renamed = document ? unique_new_name(name, names) : name;
    uint32_t renamed_at = !document         ? Move::kNoName
                          : renamed == name ? at
                                            : static_cast<uint32_t>(names.size() - 1);  // added last
    if (stamp.kind == FileKind::kOther) {
      plan.stays.push_back({at, "it is no regular file"});
      continue;
    }
    if (std::string_view why = reason_to_stay(name, renamed, program, has_variants[i]); !why.empty()) {
      plan.stays.push_back({at, why});
      continue;
    }
    if (!is_addressable(renamed)) {
      plan.stays.push_back({at, "its name cannot be used in a command"});
    } else if (!is_addressable(name)) {
      plan.direct.push_back({at, renamed_at, stamp.size, stamp.modified});
    } else if (!facts.may_take_working_name(name, name) ||
               (renamed != name && !facts.may_take_working_name(renamed, name))) {
      plan.stays.push_back({at, "a different file of that name is in the working folder"});
    } else {
      plan.moves.push_back({at, renamed_at, stamp.size, stamp.modified});
    }
  }
  return plan;
}

bool is_rename(const Move& move, const NameSet& names) {
  return move.new_name != Move::kNoName && names[move.new_name] != names[move.name];
}

}  // namespace korvel
