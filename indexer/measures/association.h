#pragma once
// How strongly a word and a collocate attract each other, by the five
// measures a concordancer offers. Each is the standard corpus-linguistics
// definition; the browser has the same five in site/association.js, and
// both are tested against the same hand-computed cases
// (association_cases.tsv).
//
// f(xy) pairs in the window, f(x) and f(y) the two words' frequencies, N
// the corpus's words, w the window's span (words left + right). The
// expected pairs E = f(x) f(y) w / N: x has w neighbours at each of its
// f(x) occurrences, each y with the chance f(y) / N.
//   log-Dice  14 + log2(2 f(xy) / (f(x) + f(y)))       (Rychly 2008)
//   MI        log2(f(xy) / E)                          (Church & Hanks 1990)
//   MI3       log2(f(xy)^3 / E)                        (Daille 1994)
//   t-score   (f(xy) - E) / sqrt(f(xy))
//   LL        Dunning's G2 over the 2x2 table of x's window positions
//             (w f(x) of them) against the rest of the corpus:
//             O11 = f(xy), O12 = w f(x) - f(xy), O21 = f(y) - f(xy),
//             O22 = N - w f(x) - f(y) + f(xy), each cell at least 0,
//             G2 = 2 sum O ln(O / E) with E = row total x column total / N;
//             negative when f(xy) < E, so that ranking by it puts
//             repulsion last.
#include <cstdint>
#include <string_view>

namespace velmor {

struct PairCounts {
  double together;   // f(xy)
  double word;       // f(x)
  double collocate;  // f(y)
  double tokens;     // N
  double span;       // w
};

enum class Measure { kLogDice, kMi, kMi3, kTScore, kLogLikelihood };

double association(Measure measure, const PairCounts& c);

// "logdice", "mi", "mi3", "t", "ll": the names the site and the cases use.
bool measure_named(std::string_view name, Measure& measure);

}  // namespace velmor
