#pragma once

#include <cstdint>

#include "batch/repeat_check.h"

namespace batch {

// One id of the batch and its place among the body records: what the repeat
// check sorts once a value repeats, to find and report each occurrence.
struct Occurrence {
  IdKey key;
  uint64_t position;
};

// Groups the occurrences of each value, each group in file order.
struct ByKeyThenPosition {
  bool operator()(const Occurrence& a, const Occurrence& b) const {
    return a.key != b.key ? a.key < b.key : a.position < b.position;
  }
};

// Puts the occurrences back in file order.
struct ByPosition {
  bool operator()(const Occurrence& a, const Occurrence& b) const { return a.position < b.position; }
};

}  // namespace batch
