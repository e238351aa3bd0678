#pragma once
// How deep a page's elements will nest once parsed, found by a quick scan
// of its tags before the HTML5 parser sees it. The parser spends time in
// proportion to the nesting for many tags and frees its tree recursively,
// so a page nested thousands deep would take minutes or overflow the stack.
//
// The scan follows the parser where nesting grows: an end tag closes the
// nearest open element of its name, but not across a block such as <div>
// when it is an inline one like </b>; formatting elements it closes on the
// way stay counted, since the parser opens them again, unless a marker such
// as <td> closes; a cell ends at the next cell, row or table, a link at the
// next link; elements whose end tag may be left out (<p>, <li> ...) and void
// ones (<br>) are not counted; "/>" closes an element only inside <svg> or
// <math>. It errs on the deep side.
// "<p>a<p>b<br><div><b>c</b></div>" nests 2 deep by this count (div, b).
//
// Formatting elements left open are opened again by the parser, as copies,
// around every later run of text they were closed before: "<p><b id=1>
// <b id=2>...</p>" then "<p>x</p>" over and over makes a copy of every <b>
// for every "x". The scan sums the formatting elements open around each run
// of text, an upper bound on those copies.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmor {

struct HtmlNesting {
  size_t depth = 0;        // the deepest nesting
  uint64_t text_runs = 0;  // runs of text that are not all blank
  uint64_t reopened = 0;   // formatting elements open around each run, summed
};

// The nesting of `html`; the scan stops once the depth is past `limit`.
HtmlNesting html_nesting(std::string_view html, size_t limit);

// Whether the parser reads the page within a nesting of `limit` and with
// copies of formatting elements a few per run of text, as pages have:
// time and memory in proportion to the page.
bool parses_in_bounds(const HtmlNesting& nesting, size_t limit);

}  // namespace velmor
