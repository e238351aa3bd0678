#pragma once
// One word's occurrences as a byte stream: per occurrence the gap to the
// previous document, then line and ordinal as gaps within the document (from
// 0 in a new one), then offset and length. Most occurrences take five or six
// bytes instead of the twenty of an Occurrence.
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/postings/varint.h"

namespace velmor {

// Where the stream stands; a stream starts from the zero cursor.
struct PostingCursor {
  uint32_t doc = 0, line = 0, ordinal = 0;
};

// Occurrences must come by document, then line, then offset.
inline void encode_posting(std::string& out, PostingCursor& at, const Occurrence& o) {
  uint32_t gap = o.doc - at.doc;
  put_varint(out, gap);
  if (gap != 0) at = PostingCursor{o.doc, 0, 0};
  put_varint(out, o.line - at.line);
  put_varint(out, o.begin);
  put_varint(out, o.length);
  put_varint(out, o.ordinal - at.ordinal);
  at.line = o.line;
  at.ordinal = o.ordinal;
}

inline Occurrence decode_posting(const char*& p, const char* end, PostingCursor& at) {
  uint32_t gap = static_cast<uint32_t>(get_varint(p, end));
  if (gap != 0) at = PostingCursor{at.doc + gap, 0, 0};
  Occurrence o;
  o.doc = at.doc;
  o.line = at.line + static_cast<uint32_t>(get_varint(p, end));
  o.begin = static_cast<uint32_t>(get_varint(p, end));
  o.length = static_cast<uint32_t>(get_varint(p, end));
  o.ordinal = at.ordinal + static_cast<uint32_t>(get_varint(p, end));
  at.line = o.line;
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
