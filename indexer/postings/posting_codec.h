#pragma once
// One word's occurrences as a byte stream: per occurrence the gap to the
// previous document, then the ordinal as a gap within the document (from 0
// in a new one). Most occurrences take two or three bytes instead of the
// eight of an Occurrence.
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/postings/varint.h"

namespace velmor {

// Where the stream stands; a stream starts from the zero cursor.
struct PostingCursor {
  uint32_t doc = 0, ordinal = 0;
};

namespace posting_detail {
inline void put(char*& p, uint32_t value) {
  while (value >= 0x80) {
    *p++ = static_cast<char>(value | 0x80);
    value >>= 7;
  }
  *p++ = static_cast<char>(value);
}
}  // namespace posting_detail

// Occurrences must come by document, then ordinal.
inline void encode_posting(std::string& out, PostingCursor& at, const Occurrence& o) {
  char bytes[10];  // two numbers of at most five bytes
  char* p = bytes;
  uint32_t gap = o.doc - at.doc;
  posting_detail::put(p, gap);
  if (gap != 0) at = PostingCursor{o.doc, 0};
  posting_detail::put(p, o.ordinal - at.ordinal);
  out.append(bytes, p - bytes);
  at.ordinal = o.ordinal;
}

inline Occurrence decode_posting(const char*& p, const char* end, PostingCursor& at) {
  uint32_t gap = static_cast<uint32_t>(get_varint(p, end));
  if (gap != 0) at = PostingCursor{at.doc + gap, 0};
  Occurrence o;
  o.doc = at.doc;
  o.ordinal = at.ordinal + static_cast<uint32_t>(get_varint(p, end));
  at.ordinal = o.ordinal;
  return o;
}

inline void decode_postings(std::string_view bytes, std::vector<Occurrence>& out) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  PostingCursor at;
  while (p < end) out.push_back(decode_posting(p, end, at));
}

}  // namespace velmor
