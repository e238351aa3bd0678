#include "indexer/read/html_elements.h"

#include <algorithm>
#include <array>

namespace velmor {

namespace {

// Sorted, for a binary search: these run once per element of every page.
constexpr std::array<std::string_view, 46> kBlocks = {
    "address", "article", "aside", "blockquote", "body",       "caption", "center",  "dd",      "details", "dir",
    "div",     "dl",      "dt",    "fieldset",   "figcaption", "figure",  "footer",  "form",    "h1",      "h2",
    "h3",      "h4",      "h5",    "h6",         "header",     "hgroup",  "hr",      "html",    "legend",  "li",
    "main",    "menu",    "nav",   "ol",         "option",     "p",       "section", "summary", "table",   "tbody",
    "td",      "tfoot",   "th",    "thead",      "tr",         "ul"};

constexpr std::array<std::string_view, 8> kHidden = {"iframe", "noembed", "noframes", "noscript",
                                                     "script", "style",   "template", "title"};

constexpr std::array<std::string_view, 5> kLayout = {"listing", "plaintext", "pre", "textarea", "xmp"};

template <size_t N>
bool in(const std::array<std::string_view, N>& sorted, std::string_view name) {
  return std::binary_search(sorted.begin(), sorted.end(), name);
}

}  // namespace

bool is_block_element(std::string_view name) { return in(kBlocks, name); }
bool is_hidden_element(std::string_view name) { return in(kHidden, name); }
bool keeps_layout(std::string_view name) { return in(kLayout, name); }
bool is_foreign_element(std::string_view name) { return name == "svg" || name == "math"; }

}  // namespace velmor
