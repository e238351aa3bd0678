#include "indexer/read/html_text.h"

#include <gumbo.h>

#include <utility>

#include "indexer/read/html_depth.h"

namespace velmor {

namespace {

bool is_block(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_BODY: case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_CENTER: case GUMBO_TAG_DD: case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_DIR: case GUMBO_TAG_DIV: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_FIGURE: case GUMBO_TAG_FOOTER: case GUMBO_TAG_FORM: case GUMBO_TAG_H1:
    case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5:
    case GUMBO_TAG_H6: case GUMBO_TAG_HEADER: case GUMBO_TAG_HGROUP: case GUMBO_TAG_HR:
    case GUMBO_TAG_HTML: case GUMBO_TAG_LEGEND: case GUMBO_TAG_LI: case GUMBO_TAG_MAIN:
    case GUMBO_TAG_MENU: case GUMBO_TAG_NAV: case GUMBO_TAG_OL: case GUMBO_TAG_OPTION:
    case GUMBO_TAG_P: case GUMBO_TAG_SECTION: case GUMBO_TAG_SUMMARY: case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TBODY: case GUMBO_TAG_TD: case GUMBO_TAG_TFOOT: case GUMBO_TAG_TH:
    case GUMBO_TAG_THEAD: case GUMBO_TAG_TR: case GUMBO_TAG_UL:
      return true;
    default:
      return false;
  }
}

// Elements whose text a reader never sees as page text.
bool is_hidden(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TITLE:
    case GUMBO_TAG_IFRAME: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES:
      return true;
    default:
      return false;
  }
}

// Elements that keep their blanks and line ends as written.
bool keeps_layout(GumboTag tag) {
  return tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING || tag == GUMBO_TAG_XMP ||
         tag == GUMBO_TAG_PLAINTEXT || tag == GUMBO_TAG_TEXTAREA;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

class LineMaker {
 public:
  explicit LineMaker(std::vector<std::string>& lines) : lines_(lines) {}

  void text(std::string_view s, bool as_written) {
    if (as_written) {
      for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
          if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
          end_line();
        } else {
          line_ += s[i];
        }
      }
      blank_ = false;
      return;
    }
    for (char c : s) {
      if (is_blank(c)) {
        blank_ = true;
      } else {
        if (blank_ && !line_.empty()) line_ += ' ';
        blank_ = false;
        line_ += c;
      }
    }
  }
  // Where a block starts or ends: a line with text in it ends there.
  void block() {
    if (!line_.empty()) end_line();
    blank_ = false;
  }
  // <br> and a line end inside <pre>: the line ends even when empty.
  void end_line() {
    lines_.push_back(std::move(line_));
    line_.clear();
    blank_ = false;
  }

 private:
  std::vector<std::string>& lines_;
  std::string line_;
  bool blank_ = false;
};

void collapse_into(const GumboNode* node, std::string& out) {
  std::vector<std::string> lines;
  LineMaker maker(lines);
  const GumboVector& children = node->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
      maker.text(child->v.text.text, false);
  }
  maker.block();
  out = lines.empty() ? std::string() : std::move(lines[0]);
}

}  // namespace

bool html_text(std::string_view html, HtmlText& text) {
  text.title.clear();
  text.lines.clear();
  if (!parses_in_bounds(html_nesting(html, kMaxHtmlDepth), kMaxHtmlDepth)) return false;
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // a broken page must not fill memory with its faults
  GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
  LineMaker maker(text.lines);

  // Depth first without recursion: pages can nest deeper than the stack.
  struct Step {
    const GumboNode* node;
    unsigned next_child;
  };
  std::vector<Step> path{{output->root, 0}};
  int as_written = 0;  // how many <pre>-like elements we are inside
  bool have_title = false;
  while (!path.empty()) {
    Step& step = path.back();
    const GumboNode* node = step.node;
    if (step.next_child == 0 && node->type == GUMBO_NODE_ELEMENT) {
      GumboTag tag = node->v.element.tag;
      bool html_space = node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
      if (tag == GUMBO_TAG_TITLE && html_space && !have_title) {
        collapse_into(node, text.title);
        have_title = true;
      }
      if (is_hidden(tag)) {
        path.pop_back();
        continue;
      }
      if (tag == GUMBO_TAG_BR) maker.end_line();
      if (is_block(tag) || keeps_layout(tag)) maker.block();
      if (keeps_layout(tag)) ++as_written;
    }
    const GumboVector* children = node->type == GUMBO_NODE_ELEMENT ||
                                          node->type == GUMBO_NODE_TEMPLATE
                                      ? &node->v.element.children
                                  : node->type == GUMBO_NODE_DOCUMENT ? &node->v.document.children
                                                                      : nullptr;
    if (children && step.next_child < children->length) {
      const auto* child = static_cast<const GumboNode*>(children->data[step.next_child++]);
      switch (child->type) {
        case GUMBO_NODE_TEXT: case GUMBO_NODE_WHITESPACE: case GUMBO_NODE_CDATA:
          maker.text(child->v.text.text, as_written > 0);
          break;
        case GUMBO_NODE_ELEMENT: case GUMBO_NODE_TEMPLATE:
          path.push_back({child, 0});
          break;
        default:  // comments
          break;
      }
      continue;
    }
    if (node->type == GUMBO_NODE_ELEMENT) {
      GumboTag tag = node->v.element.tag;
      if (keeps_layout(tag)) --as_written;
      if (is_block(tag) || keeps_layout(tag)) maker.block();
    }
    path.pop_back();
  }
  maker.block();
  gumbo_destroy_output(&options, output);
  return true;
}

}  // namespace velmor
