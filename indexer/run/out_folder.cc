#include "indexer/run/out_folder.h"

#include <fstream>
#include <filesystem>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#include "common/utf8_files.h"

namespace fs = std::filesystem;
using common::utf8_path;
using common::utf8_string;

namespace velmor {

namespace {

const char* const kLeftovers[] = {".new-", ".work-", ".old-"};
constexpr std::string_view kWorkHeading = "velmor works in this folder: ";
constexpr std::string_view kIndexHeading = "velmor index: ";
// What earlier versions left in every index: "velmor made this folder for
// htm_out, pid 12, ...". Such an index is still ours to replace, under the
// name it names; it is never taken for a leftover.
constexpr std::string_view kEarlierHeading = "velmor made this folder for ";

// The first line of the marker file in `dir`, if it is a regular file.
bool read_marker(const fs::path& dir, std::string_view name, std::string& text) {
  std::error_code ec;
  const fs::path marker = dir / name;
  if (!fs::is_regular_file(fs::symlink_status(marker, ec))) return false;
  std::ifstream in(marker, std::ios::binary);
  char head[4096];
  in.read(head, sizeof head);
  text.assign(head, static_cast<size_t>(in.gcount()));
  return true;
}

bool is_folder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(p, ec));
}

bool is_empty_folder(const fs::path& p) {
  std::error_code ec;
  return is_folder(p) && fs::is_empty(p, ec) && !ec;
}

// The path a marker names: absolute and without "." or "..", so the run
// that writes it and the run that checks it agree on the spelling.
std::string marker_path(const fs::path& p) { return utf8_string(fs::absolute(p).lexically_normal()); }

std::string last_part(const std::string& out) {
  fs::path p = utf8_path(out).lexically_normal();
  if (!p.has_filename()) p = p.parent_path();
  return utf8_string(p.filename());
}

bool same_folder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

void write_marker(const fs::path& file, const std::string& text) {
  std::ofstream marker(file, std::ios::binary);
  marker << text;
  marker.close();
  if (!marker) throw std::runtime_error("cannot write " + utf8_string(file));
}

}  // namespace

std::string work_marker_text(const std::string& folder, long pid) {
  std::random_device random;
  return std::string(kWorkHeading) + folder + "\npid " + std::to_string(pid) + ", token " + std::to_string(random()) +
         "\nit goes when the run no longer needs the folder\n";
}

bool is_work_marker_of(std::string_view text, const std::string& folder) {
  return text.starts_with(std::string(kWorkHeading) + folder + "\n");
}

std::string index_marker_text(const std::string& name) { return std::string(kIndexHeading) + name + "\n"; }

bool is_index_marker_of(std::string_view text, const std::string& name) {
  if (text == index_marker_text(name)) return true;
  if (!text.starts_with(kEarlierHeading)) return false;
  text.remove_prefix(kEarlierHeading.size());
  size_t end = text.find(", pid ");
  return end != std::string_view::npos && last_part(std::string(text.substr(0, end))) == name;
}

OutputState output_state(const std::string& out) {
  std::error_code ec;
  const fs::path path = utf8_path(out);
  fs::file_status status = fs::symlink_status(path, ec);
  if (!fs::exists(status)) return OutputState::absent;
  if (!fs::is_directory(status)) return OutputState::not_folder;
  if (is_empty_folder(path)) return OutputState::empty;
  const std::string name = last_part(out);
  std::string text;
  if (read_marker(path, kIndexMarkerName, text) && is_index_marker_of(text, name)) return OutputState::our_index;
  if (read_marker(path, kWorkMarkerName, text) && is_index_marker_of(text, name)) return OutputState::our_index;
  return OutputState::theirs;
}

void clear_leftovers(const std::string& out, const std::string& keep) {
  fs::path target = utf8_path(out);
  fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::string base = utf8_string(target.filename());
  std::error_code ec;
  bool have_out = is_folder(target);
  const fs::path input = utf8_path(keep);
  for (const fs::directory_entry& e : fs::directory_iterator(parent, ec)) {
    std::string name = utf8_string(e.path().filename());
    for (const char* kind : kLeftovers) {
      if (!name.starts_with(base + kind) || !is_folder(e.path()) || same_folder(e.path(), input)) continue;
      std::error_code ignored;
      // Killed between making the folder and writing its marker: there is
      // nothing in it to lose.
      if (is_empty_folder(e.path())) {
        fs::remove(e.path(), ignored);
        continue;
      }
      std::string text;
      if (!read_marker(e.path(), kWorkMarkerName, text) || !is_work_marker_of(text, marker_path(e.path()))) continue;
      // Without `out`, an .old- folder may be the only earlier index left
      // by a swap cut short: keep it for the user.
      if (std::string_view(kind) == ".old-" && !have_out) continue;
      fs::remove_all(e.path(), ignored);
    }
  }
}

std::string make_fresh_folder(const std::string& out, const std::string& suffix) {
  // A name already taken is someone's: never emptied, another one is used.
  const std::string stem = out + suffix + std::to_string(process_id());
  std::string path = stem;
  std::error_code ec;
  for (int n = 1; !fs::create_directory(utf8_path(path), ec); ++n) {
    if (ec || n > 100) throw std::runtime_error("cannot make the folder " + stem + ": " + ec.message());
    path = stem + "-" + std::to_string(n);
  }
  try {
    write_marker(utf8_path(path) / kWorkMarkerName, work_marker_text(marker_path(utf8_path(path)), process_id()));
  } catch (const std::runtime_error&) {
    fs::remove_all(utf8_path(path), ec);
    throw std::runtime_error("cannot write in the folder " + path);
  }
  return path;
}

void mark_as_index(const std::string& fresh, const std::string& out) {
  write_marker(utf8_path(fresh) / kIndexMarkerName, index_marker_text(last_part(out)));
}

// Once in place, the index keeps no trace of the work folder it was, so
// no copy of it is taken for one.
static void drop_work_marker(const std::string& out) {
  std::error_code ec;
  fs::remove(utf8_path(out) / kWorkMarkerName, ec);
}

void swap_in(const std::string& fresh, const std::string& out) {
  // Asked again at the last moment: the user may have put something there
  // while the index was being built.
  OutputState state = output_state(out);
  if (state == OutputState::not_folder || state == OutputState::theirs)
    throw std::runtime_error(out + " is no longer an index of velmor's; it was left as it is");
  std::string why;
  std::error_code ec;
  if (state == OutputState::absent) {
    if (!rename_folder(fresh, out, why)) throw std::runtime_error("cannot rename " + fresh + " to " + out + ": " + why);
    drop_work_marker(out);
    return;
  }
  bool unsupported = false;
  if (exchange_folders(fresh, out, unsupported, why)) {
    drop_work_marker(out);
    fs::remove_all(utf8_path(fresh), ec);  // now the earlier index
    return;
  }
  if (!unsupported) throw std::runtime_error("cannot swap " + fresh + " into " + out + ": " + why);
  // A file system without the atomic exchange: the index is missing for a
  // moment, and a crash right then leaves the earlier one in the .old-
  // folder, which its work marker lets a later run remove once a new index
  // stands in its place.
  std::string old = out + ".old-" + std::to_string(process_id());
  if (fs::exists(fs::symlink_status(utf8_path(old), ec)))
    throw std::runtime_error("cannot move " + out + " aside: " + old + " is in the way");
  const fs::path old_marker = utf8_path(out) / kWorkMarkerName;
  write_marker(old_marker, work_marker_text(marker_path(utf8_path(old)), process_id()));
  if (!rename_folder(out, old, why)) {
    fs::remove(old_marker, ec);
    throw std::runtime_error("cannot rename " + out + " to " + old + ": " + why);
  }
  if (!rename_folder(fresh, out, why)) {
    std::string ignored;
    if (rename_folder(old, out, ignored)) fs::remove(old_marker, ec);
    throw std::runtime_error("cannot rename " + fresh + " to " + out + ": " + why);
  }
  drop_work_marker(out);
  fs::remove_all(utf8_path(old), ec);
}

}  // namespace velmor
