#pragma once
// Lists of candidates cut to the best few, by an order that ties nothing.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace velmor {

// Cuts `list` to its `keep` best by `better`, in no order: a list that
// gathers candidates stays small without being sorted each time.
template <class T, class Better>
void keep_best(std::vector<T>& list, size_t keep, Better better) {
  if (list.size() <= keep) return;
  std::nth_element(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(keep), list.end(), better);
  list.resize(keep);
}

// The `keep` best of `list`, best first.
template <class T, class Better>
void best_first(std::vector<T>& list, size_t keep, Better better) {
  keep_best(list, keep, better);
  std::sort(list.begin(), list.end(), better);
}

}  // namespace velmor
