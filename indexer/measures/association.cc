#include "indexer/measures/association.h"

#include <cmath>

namespace velmor {

namespace {

double expected(const PairCounts& c) { return c.word * c.collocate * c.span / c.tokens; }

// O ln(O / E), 0 for an empty cell.
double g2_term(double observed, double expect) {
  return observed > 0 && expect > 0 ? observed * std::log(observed / expect) : 0;
}

double log_likelihood(const PairCounts& c) {
  const double window = c.span * c.word;
  const double o11 = c.together;
  const double o12 = std::fmax(window - o11, 0);
  const double o21 = std::fmax(c.collocate - o11, 0);
  const double o22 = std::fmax(c.tokens - window - c.collocate + o11, 0);
  const double n = o11 + o12 + o21 + o22;
  const double r1 = o11 + o12, r2 = o21 + o22, c1 = o11 + o21, c2 = o12 + o22;
  const double g2 = 2 * (g2_term(o11, r1 * c1 / n) + g2_term(o12, r1 * c2 / n) + g2_term(o21, r2 * c1 / n) +
                         g2_term(o22, r2 * c2 / n));
  return o11 < r1 * c1 / n ? -g2 : g2;
}

}  // namespace

double association(Measure measure, const PairCounts& c) {
  switch (measure) {
    case Measure::kLogDice: return 14 + std::log2(2 * c.together / (c.word + c.collocate));
    case Measure::kMi: return std::log2(c.together / expected(c));
    case Measure::kMi3: return std::log2(c.together * c.together * c.together / expected(c));
    case Measure::kTScore: return (c.together - expected(c)) / std::sqrt(c.together);
    case Measure::kLogLikelihood: return log_likelihood(c);
  }
  return 0;
}

bool measure_named(std::string_view name, Measure& measure) {
  static constexpr struct {
    std::string_view name;
    Measure measure;
  } kNames[] = {{"logdice", Measure::kLogDice},
                {"mi", Measure::kMi},
                {"mi3", Measure::kMi3},
                {"t", Measure::kTScore},
                {"ll", Measure::kLogLikelihood}};
  for (const auto& n : kNames)
    if (n.name == name) {
      measure = n.measure;
      return true;
    }
  return false;
}

}  // namespace velmor
