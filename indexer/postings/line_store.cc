#include "indexer/postings/line_store.h"

namespace velmor {

namespace {
void put_u64(DataFile& out, uint64_t value) {
  out.write(std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
}
}  // namespace

LineStoreWriter::LineStoreWriter(const std::string& dir) : text_(dir + "/text.dat"), offsets_(dir + "/lines.dat") {}

uint64_t LineStoreWriter::add(const std::vector<std::string>& lines) {
  uint64_t first = lines_;
  for (const std::string& line : lines) {
    put_u64(offsets_, text_.position());
    text_.write(line);
  }
  lines_ += lines.size();
  return first;
}

void LineStoreWriter::close() {
  put_u64(offsets_, text_.position());
  text_.close();
  offsets_.close();
}

}  // namespace velmor
