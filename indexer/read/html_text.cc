#include "indexer/read/html_text.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "indexer/read/html_cost.h"
#include "indexer/read/html_elements.h"
#include "indexer/read/html_prefilter.h"
#include "indexer/read/line_maker.h"

namespace velmor {

namespace {

const char* chars(const xmlChar* s) { return reinterpret_cast<const char*>(s); }

// What the parser's calls make of the page. The parser closes every element
// it opened, in order, so counts of open elements stand in for a stack.
class TextReader {
 public:
  explicit TextReader(HtmlText& text) : text_(text), maker_(text.lines, &text.continued_lines) {}

  void start(std::string_view name) {
    if (++depth_ > kMaxHtmlDepth) too_deep_ = true;
    deepest_ = std::max(deepest_, depth_);
    if (is_foreign_element(name)) ++foreign_;
    if (name == "title" && foreign_ == 0 && !have_title_ && hidden_ == 0) in_title_ = true;
    if (is_hidden_element(name)) ++hidden_;
    if (hidden_ > 0) return;
    if (name == "br") maker_.end_line();
    const bool layout = keeps_layout(name);
    if (layout || is_block_element(name)) maker_.block();
    if (layout) {
      ++as_written_;
      after_layout_start_ = true;
    }
  }

  void end(std::string_view name) {
    --depth_;
    if (is_foreign_element(name)) --foreign_;
    if (is_hidden_element(name)) {
      --hidden_;
      if (name == "title" && in_title_) end_title();
      return;
    }
    if (hidden_ > 0) return;
    const bool layout = keeps_layout(name);
    if (layout) --as_written_;
    if (layout || is_block_element(name)) maker_.block();
  }

  void characters(std::string_view s) {
    if (in_title_) {
      title_text_.append(s);
      return;
    }
    if (hidden_ > 0) return;
    // A line end just after <pre> is not part of its text.
    if (after_layout_start_ && as_written_ > 0) {
      if (s.starts_with("\r\n")) s.remove_prefix(2);
      else if (s.starts_with('\n') || s.starts_with('\r')) s.remove_prefix(1);
    }
    after_layout_start_ = false;
    maker_.text(s, as_written_ > 0);
  }

  void finish() {
    if (in_title_) end_title();
    maker_.block();
  }

  bool too_deep() const { return too_deep_; }
  // The deepest nesting since the last call of depth_from_here.
  size_t deepest() const { return deepest_; }
  void depth_from_here() { deepest_ = depth_; }

 private:
  void end_title() {
    std::vector<std::string> lines;
    LineMaker title(lines);
    title.text(title_text_, false);
    title.block();
    text_.title = lines.empty() ? std::string() : std::move(lines[0]);
    in_title_ = false;
    have_title_ = true;
    title_text_.clear();
  }

  HtmlText& text_;
  LineMaker maker_;
  size_t depth_ = 0, deepest_ = 0;
  size_t hidden_ = 0;      // open elements whose text is not shown
  size_t foreign_ = 0;     // open <svg> and <math>
  size_t as_written_ = 0;  // open <pre>-like elements
  bool after_layout_start_ = false;
  bool in_title_ = false, have_title_ = false;
  bool too_deep_ = false;
  std::string title_text_;
};

struct Parser {
  TextReader* reader;
  htmlParserCtxtPtr context = nullptr;
  uint64_t attribute_work = 0;
};

void on_start(void* user, const xmlChar* name, const xmlChar** attributes) {
  auto* p = static_cast<Parser*>(user);
  // The parser compared each attribute with those before it.
  uint64_t n = 0;
  while (attributes && attributes[2 * n]) ++n;
  p->attribute_work += n * n;
  p->reader->start(chars(name));
  if (p->reader->too_deep()) xmlStopParser(p->context);
}
void on_end(void* user, const xmlChar* name) { static_cast<Parser*>(user)->reader->end(chars(name)); }
void on_text(void* user, const xmlChar* s, int length) {
  static_cast<Parser*>(user)->reader->characters({chars(s), static_cast<size_t>(length)});
}

// The bytes the parser has and has not read yet, and where in the page they
// start: a start tag it waits on the end of begins there.
std::string_view unread(const htmlParserCtxt& context, uint64_t& offset) {
  const xmlParserInput* input = context.input;
  offset = input->consumed + static_cast<uint64_t>(input->cur - input->base);
  return {chars(input->cur), static_cast<size_t>(input->end - input->cur)};
}

}  // namespace

bool html_text(std::string_view html, HtmlText& text) {
  text.title.clear();
  text.lines.clear();
  TextReader reader(text);
  Parser parser{&reader};

  htmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.startElement = on_start;
  sax.endElement = on_end;
  sax.characters = on_text;
  sax.ignorableWhitespace = on_text;  // blanks the parser thinks idle may be a <pre>'s
  // Script and style text comes as cdataBlock, left unset: it is never shown.
  std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> context(
      htmlCreatePushParserCtxt(&sax, &parser, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8), htmlFreeParserCtxt);
  if (!context) return false;
  parser.context = context.get();
  // Our input is UTF-8 already: a page's <meta charset> must not re-decode it.
  htmlCtxtUseOptions(context.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                        HTML_PARSE_IGNORE_ENC);

  // A start tag is read only when whole, so no tag read within a piece has
  // more attributes than half the piece; one that spans pieces waits in the
  // parser, and is counted before it is read. On 1,026 manual pages
  // (80 MB, seven languages) pieces of 4 KB and of 64 KB both read in 0.3
  // of the time gumbo took (median of 5, interleaved).
  constexpr size_t kPiece = 4096;
  HtmlPrefilter filter;
  std::string piece;
  StartTagScan waiting;
  uint64_t waiting_at = UINT64_MAX, work = 0, fed = 0;
  bool refused = false;
  for (size_t at = 0; !refused; at += kPiece) {
    const bool last = html.size() - std::min(at, html.size()) <= kPiece;
    piece.clear();
    if (at < html.size()) filter.feed(html.substr(at, kPiece), last, piece);
    fed += piece.size();
    if (context->instate == XML_PARSER_START_TAG) {
      uint64_t offset;
      const std::string_view pending = unread(*context, offset);
      if (offset != waiting_at) {
        waiting = StartTagScan();
        waiting.feed(pending);
        waiting_at = offset;
      }
      waiting.feed(piece);
      const uint64_t n = waiting.attributes();
      if (work + parser.attribute_work + n * n > work_allowed(fed)) {
        refused = true;
        break;
      }
    }
    reader.depth_from_here();
    htmlParseChunk(context.get(), piece.data(), static_cast<int>(piece.size()), last);
    work += tags_in(piece) * reader.deepest();
    refused = reader.too_deep() || work + parser.attribute_work > work_allowed(fed);
    if (last) break;
  }
  if (refused) {
    text.title.clear();
    text.lines.clear();
    return false;
  }
  reader.finish();
  return true;
}

}  // namespace velmor
