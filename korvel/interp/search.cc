// find, findstr and sort over one input file at a time.
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

#include "korvel/base/text.h"
#include "korvel/base/write_failure.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/findstr_regex.h"
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/lines.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"

namespace korvel {

namespace {
// Lines compared with ASCII letters upper-cased, byte by byte, in place.
bool upper_before(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); };
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]);
  return a.size() < b.size();
}
}  // namespace

void find_command(std::span<const Word> args) {
  bool ignore_case = false, invert = false;
  std::vector<std::string> operands;
  for (const Word& word : args) {
    std::string text = to_lower_ascii(word.text);
    if (!is_switch(word)) operands.push_back(word.text);
    else if (text == "/i") ignore_case = true;
    else if (text == "/v") invert = true;
    else return err_line("FIND: Invalid switch");
  }
  // Without a file find would read standard input, which korvel never feeds.
  if (operands.size() < 2) return err_line("FIND: Parameter format not correct");
  const std::string& text = operands[0];
  for (size_t f = 1; f < operands.size(); ++f) {
    LineReader lines;
    if (!lines.open(resolve_path(operands[f]))) {
      err_line("File not found - " + to_upper_ascii(operands[f]));
      continue;
    }
    out_line("");
    out_line("---------- " + to_upper_ascii(operands[f]));
    for (std::string_view line; lines.next(line);) {
      bool holds = ignore_case ? contains_ignore_case(line, text) : line.find(text) != std::string::npos;
      if (holds != invert) out_line(line);
    }
  }
}

void findstr_command(std::span<const Word> args) {
  bool ignore_case = false, literal = false, invert = false;
  std::vector<std::string> searches;
  std::vector<std::string> files;
  bool have_searches = false;
  for (const Word& word : args) {
    std::string text = to_lower_ascii(word.text);
    if (is_switch(word)) {
      if (text == "/i") ignore_case = true;
      else if (text == "/l") literal = true;
      else if (text == "/r") literal = false;
      else if (text == "/v") invert = true;
      else if (text.starts_with("/c:")) {
        searches.push_back(word.text.substr(3));
        have_searches = true;
      } else err_line("FINDSTR: " + word.text + " ignored");
    } else if (!have_searches) {
      // Blanks separate alternative search strings.
      for (const Word& part : split_words(word.text)) searches.push_back(part.text);
      have_searches = true;
    } else {
      files.push_back(word.text);
    }
  }
  if (searches.empty() || files.empty()) return err_line("FINDSTR: Bad command line");
  for (const std::string& file : files) {
    LineReader lines;
    if (!lines.open(resolve_path(file))) {
      err_line("FINDSTR: Cannot open " + file);
      continue;
    }
    std::string prefix = files.size() > 1 ? file + ":" : "";
    for (std::string_view line; lines.next(line);) {
      bool hit = std::any_of(searches.begin(), searches.end(), [&](const std::string& search) {
        if (!literal) return findstr_match(search, line, ignore_case);
        return ignore_case ? contains_ignore_case(line, search) : line.find(search) != std::string::npos;
      });
      if (hit != invert) out_line(prefix + std::string(line));
    }
  }
}

void sort_command(std::span<const Word> args) {
  std::string input, output;
  bool reverse = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string text = to_lower_ascii(args[i].text);
    if (!is_switch(args[i])) input = args[i].text;
    else if (text == "/r") reverse = true;
    else if (text == "/o" && i + 1 < args.size()) output = args[++i].text;
    else return invalid_switch(args[i]);
  }
  if (input.empty()) return err_line(kSyntaxError);  // standard input is never fed
  std::vector<std::string> lines;
  if (!read_lines(resolve_path(input), lines)) return err_line(kFileNotFound);
  std::stable_sort(lines.begin(), lines.end(), [&](const std::string& a, const std::string& b) {
    return reverse ? upper_before(b, a) : upper_before(a, b);
  });
  int fd = -1, previous = -1;
  if (!output.empty()) {
    fd = create_file(resolve_path(output), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return err_line(kPathNotFound);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    previous = swap_out_fd(fd);
  }
  for (const std::string& line : lines) out_line(line);
  if (fd >= 0) {
    int error = out_write_error();
    swap_out_fd(previous);
    if (error != 0) {
      (void)!ftruncate(fd, 0);
      err_line(output + ": " + write_failure_text(error));
    }
    close(fd);
  }
}

}  // namespace korvel
