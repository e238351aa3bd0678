#include "korvel/prepare/move_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace korvel {

namespace {

// A txt_in given as a table: every name a regular file of its length in
// bytes unless `kinds` says otherwise; `refused` are the names a different
// file holds in the working folder.
struct Case {
  std::string what;
  std::vector<std::string> listed;
  std::map<std::string, FileKind> kinds;
  std::set<std::string> refused;
  std::vector<std::string> expected;  // the plan, as plan_lines() writes it
};

std::vector<std::string> plan_lines(const Case& c) {
  NameSet names;
  for (const std::string& name : c.listed) names.insert(name);
  TxtInFacts facts{[&](std::string_view name) {
                     auto kind = c.kinds.find(std::string(name));
                     return FileStamp{kind == c.kinds.end() ? FileKind::kRegular : kind->second, name.size(), 7};
                   },
                   [&](std::string_view name, std::string_view) { return !c.refused.count(std::string(name)); }};
  MovePlan plan = plan_moves(names, c.listed.size(), "mykorvel", facts);
  std::vector<std::string> lines;
  auto move_line = [&](std::string_view how, const Move& move) {
    std::string line = std::string(how) + " " + std::string(names[move.name]);
    if (move.new_name == Move::kNoName) line += " (no document)";
    else if (is_rename(move, names)) line += " -> " + std::string(names[move.new_name]);
    if (move.size != names[move.name].size() || move.modified != 7) line += " (stamp lost)";
    return line;
  };
  for (const Move& move : plan.moves) lines.push_back(move_line("move", move));
  for (const Move& move : plan.direct) lines.push_back(move_line("direct", move));
  for (const Stay& stay : plan.stays)
    lines.push_back("stay " + std::string(names[stay.name]) + ": " + std::string(stay.why));
  lines.push_back("files " + std::to_string(plan.files));
  return lines;
}

TEST(PlanMoves, DecidesEveryListedNameWithoutTheDisk) {
  const std::string long_name = std::string(201, 'a') + ".txt";
  const std::vector<Case> cases = {
      {"documents move, renamed where their names are not clean; other files move as they are",
       {"notes.txt", "My Report.TXT", "readme"},
       {},
       {},
       {"move notes.txt", "move My Report.TXT -> My_Report.TXT", "move readme (no document)", "files 3"}},
      {"subfolders and names gone since the listing are no files",
       {"sub", "gone.txt", "a.txt"},
       {{"sub", FileKind::kFolder}, {"gone.txt", FileKind::kMissing}},
       {},
       {"move a.txt", "files 1"}},
      {"a file that stays still takes its new name, so no later document gets it",
       {"x y.txt", "x_y.txt", "x+y.txt"},
       {{"x y.txt", FileKind::kOther}},
       {},
       {"move x_y.txt", "move x+y.txt -> x_y_3.txt", "stay x y.txt: it is no regular file", "files 3"}},
      {"program files stay, under the name korvel was started with too",
       {"korvel.exe", "mykorvel", "setup.BAT", "velmor_01_209.exe", "a.txt"},
       {},
       {},
       {"move a.txt", "stay korvel.exe: a program file never goes into the working folder",
        "stay mykorvel: a program file never goes into the working folder",
        "stay setup.BAT: a program file never goes into the working folder",
        "stay velmor_01_209.exe: a program file never goes into the working folder", "files 5"}},
      {"names a stage writes in the working folder stay, before or after renaming",
       {"txt_in.list", "check_1.txt", "moved files.list"},
       {},
       {},
       {"stay txt_in.list: korvel writes a file of that name in the working folder",
        "stay check_1.txt: korvel deletes the files named check_*.txt in the working folder",
        "stay moved files.list: korvel writes files of such names in the working folder", "files 3"}},
      {"names that differ in letter case only all stay",
       {"A.txt", "a.txt", "b.txt"},
       {},
       {},
       {"move b.txt", "stay A.txt: another file of txt_in has that name in another letter case",
        "stay a.txt: another file of txt_in has that name in another letter case", "files 3"}},
      {"a name no command can carry is renamed in txt_in, unless the new one cannot be carried either",
       {"50%.txt", "a~1.txt", long_name},
       {},
       {},
       {"direct 50%.txt -> 50_.txt", "direct a~1.txt -> a_1.txt",
        "stay " + long_name + ": its name cannot be used in a command", "files 3"}},
      {"a different file in the working folder keeps a document's old or new name from it",
       {"a.txt", "b c.txt", "d e.txt"},
       {},
       {"a.txt", "b_c.txt"},
       {"move d e.txt -> d_e.txt", "stay a.txt: a different file of that name is in the working folder",
        "stay b c.txt: a different file of that name is in the working folder", "files 3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(plan_lines(c), c.expected) << c.what;
}

}  // namespace

}  // namespace korvel
