#pragma once
// What reading a page costs libxml2's HTML parser beyond a look at each
// byte, so that a page that would cost far more than its size is refused
// before the parser spends it. Measured on 2.9.14, without a guard:
// - an end tag it cannot match makes it compare the tag with every open
//   element: 1,000 <div> then 1,000,000 "</x>" (4 MB) took 3.6 s,
//   100,000 <div> then 100,000 "</x>" 32 s; a <body> tag does the same;
// - each attribute of a tag is compared with those before it: one tag of
//   100,000 attributes (0.7 MB) took 27 s.
// Pages as written cost a few dozen of these steps per tag; the budget
// allows many times that.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmor {

// The work a page may cost: its bytes times this, and this much anyway.
constexpr uint64_t kWorkPerByte = 64;
constexpr uint64_t kWorkAnyway = uint64_t{1} << 26;

inline uint64_t work_allowed(uint64_t bytes) { return kWorkPerByte * bytes + kWorkAnyway; }

// Tags that may end in `bytes` (each '<'), an upper bound on the end tags
// among them.
uint64_t tags_in(std::string_view bytes);

// Counts, from a start tag's '<' on, the attributes the parser will read in
// that tag, with its grammar: a name, then "=" and a value in quotes or up
// to a blank; anything else up to a blank is read as one bogus attribute.
// Fed the tag's bytes in pieces, as they come.
class StartTagScan {
 public:
  void feed(std::string_view bytes);
  uint64_t attributes() const { return attributes_; }
  bool ended() const { return state_ == State::ended; }

 private:
  enum class State { tag_name, before_name, name, after_name, before_value, quoted, unquoted, bogus, ended };
  State state_ = State::tag_name;
  bool started_ = false;  // the '<' has been seen
  char quote_ = 0;
  uint64_t attributes_ = 0;
};

}  // namespace velmor
