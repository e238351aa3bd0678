#include "convertcp/platform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <uchardet.h>
#include <unistd.h>

namespace {
struct Converter {
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd;
};

// The first character of `bytes` as a code point and its length, or length 0
// when it is no valid character of `from`.
std::pair<char32_t, size_t> decode_one(const CodePage& from, std::string_view bytes) {
  Converter one("UTF-32LE", from.iconv);
  unsigned char unit[4] = {};
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* out = reinterpret_cast<char*>(unit);
  size_t out_left = sizeof unit;
  if (!one.ok()) return {0, 0};
  iconv(one.cd, &in, &in_left, &out, &out_left);
  if (out_left != 0) return {0, 0};
  char32_t code_point = unit[0] | unit[1] << 8 | unit[2] << 16 | char32_t(unit[3]) << 24;
  return {code_point, bytes.size() - in_left};
}
}  // namespace

std::vector<std::string> program_arguments(int argc, char** argv) { return {argv, argv + argc}; }

bool system_has(const CodePage& page) { return Converter("UTF-8", page.iconv).ok(); }

Outcome transcode(const CodePage& from, const CodePage& to, std::string_view in, std::string& out) {
  Converter converter(to.iconv, from.iconv);
  if (!converter.ok()) return {Outcome::kUnsupported};
  out.assign(in.size() * 2 + 16, '\0');
  char* in_at = const_cast<char*>(in.data());
  size_t in_left = in.size();
  size_t written = 0;
  for (bool flushing = false;;) {
    char* out_at = out.data() + written;
    size_t out_left = out.size() - written;
    size_t result = flushing ? iconv(converter.cd, nullptr, nullptr, &out_at, &out_left)
                             : iconv(converter.cd, &in_at, &in_left, &out_at, &out_left);
    written = out.size() - out_left;
    size_t offset = in.size() - in_left;
    if (result != size_t(-1)) {
      if (flushing) break;
      flushing = true;
    } else if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else if (errno == EINVAL) {
      return {Outcome::kIncomplete, offset};
    } else {
      // EILSEQ: either no character of `from` or one that `to` lacks.
      auto [code_point, length] = decode_one(from, in.substr(offset));
      if (length == 0) return {Outcome::kInvalid, offset};
      return {Outcome::kUnmappable, offset, length, code_point};
    }
  }
  out.resize(written);
  return {};
}

bool can_detect() { return true; }

std::string detect_encoding(std::string_view bytes) {
  uchardet_t detector = uchardet_new();
  std::string name;
  if (uchardet_handle_data(detector, bytes.data(), bytes.size()) == 0) {
    uchardet_data_end(detector);
    name = uchardet_get_charset(detector);
  }
  uchardet_delete(detector);
  return name;
}

int write_new_file(const std::filesystem::path& path, std::string_view data) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int error = n < 0 ? errno : EIO;
      close(fd);
      return error;
    }
    data.remove_prefix(size_t(n));
  }
  int error = fsync(fd) == 0 ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? "" : std::strerror(errno);
}
