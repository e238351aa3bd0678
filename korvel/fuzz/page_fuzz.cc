// The page writer: a page name is empty or ends in ".htm"; a content line
// loses only trailing blanks and zero bytes; and a whole page written from
// any document bytes has the frame, one content line per document line, and
// for documents without CR or 0x1A exactly the document's lines; a line
// given in parts loses what it loses whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "korvel/convert/convert_documents.h"
#include "korvel/convert/page.h"
#include "korvel/convert/trimmed_lines.h"
#include "common/fuzz_check.h"
#include "korvel/base/text.h"

using namespace korvel;

namespace {
const std::string kHead =
    "<HTML>\r\n<head>\r\n<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
    "<title>\r\nhtm_wrk\\a.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n";
const std::string kTail = "</pre>\r\n</body>\r\n</html>\r\n";

void check_page_name(std::string_view name) {
  std::string page = page_name(name);
  if (!contains_ignore_case(name, ".txt")) {
    FUZZ_CHECK(page.empty());
    return;
  }
  FUZZ_CHECK(page.ends_with(".htm"));
  FUZZ_CHECK(name.starts_with(page.substr(0, page.size() - 3)));
}

void check_content_line(std::string_view line) {
  std::string_view kept = page_content_line(line);
  FUZZ_CHECK(line.starts_with(kept));
  FUZZ_CHECK(kept.empty() || (kept.back() != ' ' && kept.back() != '\0'));
  for (char c : line.substr(kept.size())) FUZZ_CHECK(c == ' ' || c == '\0');
  // The same line in small parts, holding little: runs are read again.
  std::string out;
  TrimmedLines parts([&](std::string_view bytes) { out.append(bytes); },
                     [&](std::uint64_t offset, std::uint64_t length, const TrimmedLines::Out& to) {
                       FUZZ_CHECK(offset + length <= line.size());
                       to(line.substr(offset, length));
                       return true;
                     },
                     3);
  size_t part_size = line.size() % 7 + 1;
  for (size_t at = 0; at < line.size(); at += part_size) FUZZ_CHECK(parts.add(line.substr(at, part_size)));
  parts.end_line();
  FUZZ_CHECK(out == kept);
}

std::string read_whole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void check_whole_page(std::string_view document) {
  {
    std::ofstream out("txt_wrk/a.txt", std::ios::binary | std::ios::trunc);
    out.write(document.data(), static_cast<std::streamsize>(document.size()));
  }
  write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm");
  std::string page = read_whole("htm_wrk/a.htm");
  FUZZ_CHECK(page.starts_with(kHead) && page.ends_with(kTail));
  FUZZ_CHECK(page.size() >= kHead.size() + kTail.size());
  std::string_view content(page);
  content = content.substr(kHead.size(), content.size() - kHead.size() - kTail.size());
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    size_t lf = content.find('\n');
    FUZZ_CHECK(lf != std::string_view::npos && lf > 0 && content[lf - 1] == '\r');
    lines.push_back(content.substr(0, lf - 1));
    content.remove_prefix(lf + 1);
  }
  for (std::string_view line : lines) FUZZ_CHECK(page_content_line(line) == line);
  if (document.find_first_of("\r\x1a") != std::string_view::npos) return;
  std::vector<std::string_view> expected;
  for (size_t begin = 0; begin < document.size();) {
    size_t lf = document.find('\n', begin);
    if (lf == std::string_view::npos) lf = document.size();
    expected.push_back(page_content_line(document.substr(begin, lf - begin)));
    begin = lf + 1;
  }
  FUZZ_CHECK(lines == expected);
}

std::filesystem::path scratch_folder;

void remove_scratch_folder() { std::filesystem::remove_all(scratch_folder); }
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // One working folder for the whole run, as korvel has its own.
  char folder[] = "/tmp/korvel_page_fuzz_XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
  scratch_folder = folder;
  std::atexit(remove_scratch_folder);
  std::filesystem::create_directory("txt_wrk");
  std::filesystem::create_directory("htm_wrk");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check_page_name(bytes);
  check_content_line(bytes);
  check_whole_page(bytes);
  return 0;
}
