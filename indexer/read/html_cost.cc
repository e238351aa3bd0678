#include "indexer/read/html_cost.h"

#include <algorithm>

namespace velmor {

uint64_t tags_in(std::string_view bytes) { return static_cast<uint64_t>(std::count(bytes.begin(), bytes.end(), '<')); }

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_name_start(char c) { return is_letter(c) || c == '_' || c == ':' || c == '.'; }
bool is_name_char(char c) { return is_name_start(c) || (c >= '0' && c <= '9') || c == '-'; }

}  // namespace

void StartTagScan::feed(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size() && state_ != State::ended; ++i) {
    const char c = bytes[i];
    if (!started_) {
      started_ = c == '<';
      continue;
    }
    switch (state_) {
      case State::tag_name:
        if (!is_name_char(c)) {
          state_ = State::before_name;
          --i;  // read again as what follows the name
        }
        break;
      case State::before_name:
        // A '/' (of "/>") is read as a bogus attribute that costs nothing.
        if (c == '>') {
          state_ = State::ended;
        } else if (!is_blank(c) && c != '/') {
          ++attributes_;
          state_ = is_name_start(c) ? State::name : State::bogus;
        }
        break;
      case State::name:
        if (is_name_char(c)) break;
        if (c == '=') state_ = State::before_value;
        else if (is_blank(c)) state_ = State::after_name;
        else {
          state_ = State::before_name;
          --i;
        }
        break;
      case State::after_name:
        if (c == '=') state_ = State::before_value;
        else if (!is_blank(c)) {
          state_ = State::before_name;
          --i;
        }
        break;
      case State::before_value:
        if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::quoted;
        } else if (c == '>') {
          state_ = State::ended;
        } else if (!is_blank(c)) {
          state_ = State::unquoted;
        }
        break;
      case State::quoted:
        if (c == quote_) state_ = State::before_name;
        break;
      case State::unquoted:
        if (c == '>') state_ = State::ended;
        else if (is_blank(c)) state_ = State::before_name;
        break;
      case State::bogus:
        if (c == '>') state_ = State::ended;
        else if (is_blank(c)) state_ = State::before_name;
        break;
      case State::ended: break;
    }
  }
}

}  // namespace velmor
