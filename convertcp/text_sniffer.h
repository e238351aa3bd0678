#pragma once
// Whether bytes are text at all, and whether they are UTF-16 or UTF-32
// without a byte-order mark: what "auto" settles before it asks the detector,
// which takes anything for some code page. Fed in pieces, so that a file of
// any size is looked at whole in bounded memory. Pure logic.
#include <cstddef>
#include <string>
#include <string_view>

class TextSniffer {
 public:
  void add(std::string_view piece);

  struct Verdict {
    enum Kind { kText, kUnicode, kBinary } kind = kText;
    int code_page = 0;  // kUnicode: 1200, 1201, 12000 or 12001
    std::string why;    // kBinary: what gave it away
  };
  Verdict verdict() const;

  // One Unicode form, decoded as the bytes come.
  struct Form {
    int code_page;
    size_t unit;  // 2 or 4 bytes
    bool big_endian;
    unsigned char partial[4] = {};
    size_t have = 0;  // bytes of a unit cut off by the last piece
    bool high_surrogate = false;
    bool valid = true;
    size_t characters = 0;
    size_t controls = 0;
    void add(std::string_view piece);
    void take(unsigned value);
    bool fits() const;
  };

 private:
  size_t size_ = 0;
  size_t zeros_[4] = {};  // zero bytes by offset modulo 4
  size_t controls_ = 0;
  Form forms_[4] = {{12000, 4, false}, {12001, 4, true}, {1200, 2, false}, {1201, 2, true}};
};
