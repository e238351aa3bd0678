#include "indexer/read/html_depth.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velmor {

namespace {

bool one_of(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool is_void(std::string_view n) {
  return one_of(n, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "image",
                    "img", "input", "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// Closed by the parser without their end tags, or never nesting.
bool is_optional_end(std::string_view n) {
  return one_of(n, {"html", "head", "body", "p", "li", "dt", "dd", "option", "optgroup", "tr", "thead", "tbody",
                    "tfoot", "colgroup", "rb", "rt", "rtc", "rp"});
}

// Their ends close the formatting elements inside for good.
bool is_marker(std::string_view n) {
  return one_of(n, {"td", "th", "caption", "applet", "object", "marquee", "template"});
}

bool is_cell(std::string_view n) { return n == "td" || n == "th"; }

// Tags that end the open table cell.
bool ends_cell(std::string_view n) {
  return one_of(n, {"td", "th", "tr", "tbody", "thead", "tfoot", "table"});
}

bool is_formatting(std::string_view n) {
  return one_of(n, {"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong",
                    "tt", "u"});
}

// Elements an inline end tag does not close across.
bool is_block(std::string_view n) {
  return !is_formatting(n) &&
         one_of(n, {"address", "applet", "article", "aside", "blockquote", "button", "caption", "center",
                    "details", "dialog", "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer",
                    "form", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "header", "hgroup", "listing",
                    "main", "marquee", "menu", "nav", "object", "ol", "pre", "section", "select",
                    "summary", "table", "template", "ul", "xmp", "svg", "math", "td", "th"});
}

// HTML start tags that end <svg> or <math> content.
bool breaks_out(std::string_view n) {
  return one_of(n, {"b", "big", "blockquote", "body", "br", "center", "code", "dd", "div", "dl", "dt", "em",
                    "embed", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "i", "img", "li",
                    "listing", "menu", "meta", "nobr", "ol", "p", "pre", "ruby", "s", "small", "span",
                    "strong", "strike", "sub", "sup", "table", "tt", "u", "ul", "var"});
}

// Elements whose content is text up to their own end tag.
bool holds_raw_text(std::string_view n) {
  return one_of(n, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"});
}

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

struct Open {
  std::string name;
  bool foreign;
};

}  // namespace

bool parses_in_bounds(const HtmlNesting& nesting, size_t limit) {
  constexpr uint64_t kCopiesPerRun = 8, kCopiesAnyway = 100000;
  return nesting.depth <= limit && nesting.reopened <= kCopiesPerRun * nesting.text_runs + kCopiesAnyway;
}

HtmlNesting html_nesting(std::string_view html, size_t limit) {
  HtmlNesting nesting;
  std::vector<Open> open;
  size_t formatting = 0;  // of the open elements
  auto text_until = [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) {
      char c = html[k];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') {
        ++nesting.text_runs;
        nesting.reopened += formatting;
        return;
      }
    }
  };
  // Closes open[k] and what is above it; formatting elements above it stay
  // open to be copied again unless open[k] is a marker such as <td>.
  auto close = [&](size_t k) {
    std::vector<Open> kept;
    for (size_t j = k + 1; j < open.size(); ++j) {
      if (!is_formatting(open[j].name)) continue;
      if (is_marker(open[k].name)) --formatting;
      else kept.push_back(open[j]);
    }
    formatting -= is_formatting(open[k].name);
    open.resize(k);
    open.insert(open.end(), kept.begin(), kept.end());
  };
  // The nearest open `name` an end tag of it closes, or open.size().
  auto closed_by = [&](std::string_view tag) {
    const bool inline_tag = !is_block(tag);
    for (size_t k = open.size(); k-- > 0;) {
      if (open[k].name == tag) return k;
      if (inline_tag && is_block(open[k].name)) break;
    }
    return open.size();
  };
  auto close_cell = [&] {
    for (size_t k = open.size(); k-- > 0 && open[k].name != "table";) {
      if (is_cell(open[k].name)) {
        close(k);
        return;
      }
    }
  };
  std::string name;
  size_t i = 0;
  while (nesting.depth <= limit) {
    const size_t text_from = i;
    i = html.find('<', i);
    text_until(text_from, i == std::string_view::npos ? html.size() : i);
    if (i == std::string_view::npos || i + 1 >= html.size()) break;
    ++i;
    if (html.substr(i).starts_with("!--")) {
      i = html.find("-->", i + 3);
      if (i == std::string_view::npos) break;
      i += 3;
      continue;
    }
    const bool end_tag = html[i] == '/';
    if (end_tag) ++i;
    if (i >= html.size() || !is_letter(html[i])) continue;
    name.clear();
    while (i < html.size() && html[i] != '>' && html[i] != '/' && html[i] != ' ' && html[i] != '\t' &&
           html[i] != '\n' && html[i] != '\r' && html[i] != '\f')
      name += lower(html[i++]);
    // The rest of the tag; a quoted value may hold '>'.
    char quote = 0;
    bool self_closing = false;
    for (; i < html.size(); ++i) {
      char c = html[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        self_closing = html[i - 1] == '/';
        ++i;
        break;
      }
    }
    const bool in_foreign = !open.empty() && open.back().foreign;
    if (end_tag) {
      if (ends_cell(name) && name != "table") close_cell();
      if (is_optional_end(name)) continue;
      if (size_t k = closed_by(name); k < open.size()) close(k);
      continue;
    }
    if (ends_cell(name)) close_cell();
    // A new link or <nobr> ends the one still open since the last marker,
    // wherever it stands.
    if (name == "a" || name == "nobr") {
      for (size_t k = open.size(); k-- > 0 && !is_marker(open[k].name);) {
        if (open[k].name == name) {
          open.erase(open.begin() + static_cast<std::ptrdiff_t>(k));
          --formatting;
          break;
        }
      }
    }
    if (in_foreign && breaks_out(name)) {
      for (; !open.empty() && open.back().foreign; open.pop_back()) formatting -= is_formatting(open.back().name);
    }
    const bool foreign = (!open.empty() && open.back().foreign) || name == "svg" || name == "math";
    if (is_void(name) || is_optional_end(name) || (foreign && self_closing)) continue;
    open.push_back({name, foreign});
    formatting += is_formatting(name);
    nesting.depth = std::max(nesting.depth, open.size());
    if (holds_raw_text(name)) {
      // Up to its end tag, in any letter case.
      while ((i = html.find("</", i)) != std::string_view::npos) {
        i += 2;
        size_t n = 0;
        while (n < name.size() && i + n < html.size() && lower(html[i + n]) == name[n]) ++n;
        if (n == name.size()) break;
      }
      if (i == std::string_view::npos) break;
      const size_t end = html.find('>', i);
      i = end == std::string_view::npos ? html.size() : end + 1;
      formatting -= is_formatting(open.back().name);
      open.pop_back();
    }
  }
  return nesting;
}

}  // namespace velmor
