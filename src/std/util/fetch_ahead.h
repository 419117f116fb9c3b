#pragma once
// Row kernels can be handed rows a later call will read or write (null: none) and fetch
// them into the cache a vector step at a time beside their own work. Rows a page or more
// apart each begin where the processor's own prefetching stops, so without the hint every
// new row starts with cache misses the loop waits on. Fetching whole rows at once instead
// is much slower: rows a page apart all fall in the same L1 sets and evict each other.

#include <cstdint>

// Fetches the cache line of row[i] into every cache level when a row is given.
inline void lcFetchAhead(const uint8_t* row, int64_t i) {
  if (row != nullptr) __builtin_prefetch(row + i, 0, 3);
}
