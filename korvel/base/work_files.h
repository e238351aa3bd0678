#pragma once
// The files korvel writes in the working folder. The stages hand lists to
// each other through them, as the command lines they run direct their
// output, so this table is the program's data path on disk: each name with
// the stage that writes it and those that read it. A document of one of
// these names would be overwritten, or would falsify a run, so prepare/
// keeps such names out of the working folder.
//
// The command lines that write these files name them in full where they
// are run: they are the exact commands, and read best whole.
#include <string_view>

namespace korvel {

// Lists and captures the command lines write; any run may leave them behind.
inline constexpr char kCheck01[] = "check_01.txt";
inline constexpr char kCheck02[] = "check_02.txt";
inline constexpr char kOutNullText[] = "out_null.txt";
inline constexpr char kOutNullList[] = "out_null.list";
inline constexpr char kExeFiles[] = "exe_files.txt";
inline constexpr char kTxtFileText[] = "txt_file.txt";
inline constexpr char kTxtFileList[] = "txt_file.list";
inline constexpr char kDir01[] = "dir_01.txt";
inline constexpr char kDirCur[] = "dir_cur.txt";
inline constexpr char kTxtInList[] = "txt_in.list";
inline constexpr char kCompare01[] = "compare_01.txt";
inline constexpr char kCompare02[] = "compare_02.txt";
inline constexpr char kCompare04[] = "compare_04.txt";
inline constexpr char kTxtWrkList[] = "txt_wrk.list";
inline constexpr char kHtmWrkList[] = "htm_wrk.list";
// korvel's own state, kept from one run to the next.
inline constexpr char kRunLockFile[] = "korvel.lock";
inline constexpr char kMovedFilesList[] = "moved_files.list";
inline constexpr char kRenamesJournal[] = "txt_in_renames.list";

struct WorkFile {
  std::string_view name;
  bool state;  // kept between runs, rather than scratch
  std::string_view writer, readers;
};

inline constexpr WorkFile kWorkFiles[] = {
    {kCheck01, false, "checks/check_tools", "checks/check_tools"},
    {kCheck02, false, "checks/check_tools", "checks/check_tools"},
    {kOutNullText, false, "checks/check_tools, handoff/launch_indexer (output nobody reads)", ""},
    {kOutNullList, false, "every stage's copy, del, md and rd (output nobody reads)", ""},
    {kExeFiles, false, "checks/check_tools, handoff/launch_indexer",
     "checks/check_tools, handoff/indexer_identity, handoff/launch_indexer"},
    {kTxtFileText, false, "prepare/check_input_folders", "prepare/check_input_folders"},
    {kTxtFileList, false, "prepare/check_input_folders", "prepare/check_input_folders"},
    {kDir01, false, "prepare/check_input_folders", "prepare/check_input_folders"},
    {kDirCur, false, "prepare/check_input_folders, prepare/check_work_folders_and_names",
     "prepare/check_input_folders, prepare/check_work_folders_and_names"},
    {kTxtInList, false, "prepare/normalise_file_names", "prepare/normalise_file_names"},
    {kCompare01, false, "prepare/check_work_folders_and_names", "prepare/check_work_folders_and_names"},
    {kCompare02, false, "prepare/check_work_folders_and_names", "prepare/check_work_folders_and_names"},
    {kCompare04, false, "prepare/check_work_folders_and_names", "prepare/check_work_folders_and_names"},
    {kTxtWrkList, false, "convert/convert_documents", "convert/convert_documents"},
    {kHtmWrkList, false, "handoff/launch_indexer", "handoff/launch_indexer"},
    {kRunLockFile, true, "driver/run_lock", "driver/run_lock"},
    {kMovedFilesList, true, "prepare/moved_files", "prepare/moved_files"},
    {kRenamesJournal, true, "prepare/renames_journal",
     "prepare/renames_journal, prepare/normalise_file_names (deletes it), prepare/finish_renames (deletes it)"},
};

// Whether `name` is one of the scratch files, or one of the state files;
// letter case is ignored, as Windows ignores it.
bool is_scratch_file(std::string_view name);
bool is_state_file(std::string_view name);

}  // namespace korvel
