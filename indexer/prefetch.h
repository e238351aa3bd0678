#pragma once
// Prefetch hints, every one the indexer gives, in one place.
//
// Why: the indexer's busiest loops reach at random into tables far bigger
// than the processor's caches (string-table slots, every word's count, the
// words around a frequent word's occurrences spread over the whole corpus),
// and each such reach is otherwise a wait on memory. In each loop the
// address needed a few steps later is already known, so it is asked for
// that many steps ahead; by the time the loop gets there it has come. A hint never changes
// a result (a prefetch does not fault, and the loop reads the value as if
// there had been none), so a wrong address or distance costs time only.
//
// Each distance is in steps of its loop: far enough that the line arrives
// before it is read, near enough that it is still in the cache then. They
// are named below beside the loops they serve.
//
// Every hint belongs to a group that the build can turn into nothing:
// VELMOR_PREFETCH_OFF is a mask of PrefetchGroup bits (CMake's
// KORVEL_NO_PREFETCH=ON sets all of them), so that indexer/bench/ab_bench.sh
// can time a build without them against one with them. A group stays only
// while that comparison shows it pays 2% or more. Measured on the 100 MB
// bench corpus, each build in turns, median of 5, user processor time on a
// shared 2-core machine (so a few percent is noise): all hints 13.3 s off,
// 10.7 s on. Hints on recording a page's postings (each form's word and
// count, each word's state and postings end, 8 to 16 ahead, in
// postings_builder.cc) gained nothing (11.7 s off, 11.8 s on), so there
// are none.
#include <cstddef>

#ifndef VELMOR_PREFETCH_OFF
#define VELMOR_PREFETCH_OFF 0
#endif

namespace velmor {

enum PrefetchGroup : unsigned {
  // postings/string_table.cc: the batched look-up of new forms. Off, the
  // run took 12.0 s; on, 10.3 s.
  kPrefetchStringTable = 1,
  // measures/: the words around a word's occurrences and their counts.
  // Off, 12.8 s; on, 11.8 s.
  kPrefetchMeasures = 2,
};

constexpr bool prefetching(PrefetchGroup group) { return (VELMOR_PREFETCH_OFF & group) == 0; }

template <PrefetchGroup Group>
inline void prefetch_read(const void* address) {
  if constexpr (prefetching(Group)) __builtin_prefetch(address);
}

template <PrefetchGroup Group>
inline void prefetch_write(const void* address) {
  if constexpr (prefetching(Group)) __builtin_prefetch(address, 1);
}

// postings/string_table.cc: texts looked up in batches of this many, each
// batch in passes that ask for what the next pass reads (slot, start,
// text).
constexpr size_t kInternBatch = 32;

// measures/: the words around the occurrence kNeighboursAhead ahead; the
// counts of the words of the window kCountsAhead ahead, whose words have
// come by then; a word's record kWordAhead words ahead when reading the
// counted words' frequencies; a count kSequenceAhead words ahead when
// counting a document's words.
constexpr size_t kNeighboursAhead = 16;
constexpr size_t kCountsAhead = 4;
constexpr size_t kWordAhead = 8;
constexpr size_t kSequenceAhead = 16;

}  // namespace velmor
