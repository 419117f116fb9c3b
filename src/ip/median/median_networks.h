#pragma once
// Selection networks for the median of small N x M rectangles, built at compile time.
//
// A result needs the middle value of N columns of M pixels. Each input column is sorted
// once per row (shared by the N results that read it), neighbouring sorted columns are
// merged into sorted pairs (shared by the results that read both), and each result merges
// its pairs and its last column, keeping only the compare-swaps on which the middle value
// depends. A 5 x 5 result then costs 70 compare-swaps instead of the 113 of a sorting
// network pruned the same way.
//
// Merges are Batcher's odd-even merges of two sorted lists, padded to a power of two with
// values above all others; a compare-swap against such a value decides nothing and only
// renames which wire holds what, so it is dropped at build time.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lcMedianNetworks {

// After the step, wire `low` holds the smaller of the two values and `high` the larger.
struct CompareSwap {
  uint8_t low;
  uint8_t high;
};

constexpr std::size_t kMaxWires = 81;  // up to 9 x 9
constexpr std::size_t kMaxSteps = 2048;
constexpr std::size_t kMaxLists = 16;

// A network under construction, and which wire holds each rank of a sorted list.
struct Builder {
  std::array<CompareSwap, kMaxSteps> steps{};
  std::size_t size = 0;

  struct List {
    std::array<int, kMaxWires> wires{};
    int length = 0;
  };

  static constexpr List range(int first, int length) {
    List list;
    for (int i = 0; i < length; ++i)
      list.wires[static_cast<std::size_t>(i)] = first + i;
    list.length = length;
    return list;
  }

  // Batcher's merge of positions lo..hi (inclusive) at distance r over `at`, where -1
  // stands for a value above all others.
  constexpr void oddEvenMerge(std::array<int, 4 * kMaxWires>& at, int lo, int hi, int r) {
    const int step = 2 * r;
    if (step < hi - lo) {
      oddEvenMerge(at, lo, hi, step);
      oddEvenMerge(at, lo + r, hi, step);
      for (int i = lo + r; i + r < hi; i += step)
        compare(at, i, i + r);
    } else {
      compare(at, lo, lo + r);
    }
  }

  constexpr void compare(std::array<int, 4 * kMaxWires>& at, int i, int j) {
    const int a = at[static_cast<std::size_t>(i)], b = at[static_cast<std::size_t>(j)];
    if (b < 0) return;  // the larger side holds a pad already
    if (a < 0) {        // the pad moves up: a renaming, no work
      at[static_cast<std::size_t>(i)] = b;
      at[static_cast<std::size_t>(j)] = a;
      return;
    }
    steps[size++] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
  }

  // Merges two sorted lists; the result lists their wires from smallest to largest.
  constexpr List merge(const List& a, const List& b) {
    int half = 1;
    while (half < a.length || half < b.length)
      half *= 2;
    std::array<int, 4 * kMaxWires> at{};
    for (int i = 0; i < half; ++i) {
      at[static_cast<std::size_t>(i)] = i < a.length ? a.wires[static_cast<std::size_t>(i)] : -1;
      at[static_cast<std::size_t>(half + i)] =
          i < b.length ? b.wires[static_cast<std::size_t>(i)] : -1;
    }
    oddEvenMerge(at, 0, 2 * half - 1, 1);
    List merged;
    for (int i = 0; i < 2 * half; ++i)
      if (at[static_cast<std::size_t>(i)] >= 0)
        merged.wires[static_cast<std::size_t>(merged.length++)] = at[static_cast<std::size_t>(i)];
    return merged;
  }

  // Merges the lists pairwise, level by level, into one.
  constexpr List mergeAll(std::array<List, kMaxLists> lists, int count) {
    while (count > 1) {
      int next = 0;
      for (int i = 0; i + 1 < count; i += 2)
        lists[static_cast<std::size_t>(next++)] =
            merge(lists[static_cast<std::size_t>(i)], lists[static_cast<std::size_t>(i + 1)]);
      if (count % 2 != 0)
        lists[static_cast<std::size_t>(next++)] = lists[static_cast<std::size_t>(count - 1)];
      count = next;
    }
    return lists[0];
  }

  // Drops every step on which the value that ends on `wire` does not depend.
  constexpr void keepOnly(int wire) {
    std::array<bool, kMaxWires> live{};
    live[static_cast<std::size_t>(wire)] = true;
    std::array<bool, kMaxSteps> keep{};
    for (std::size_t i = size; i-- > 0;) {
      const CompareSwap s = steps[i];
      if (live[s.low] || live[s.high]) {
        keep[i] = true;
        live[s.low] = live[s.high] = true;
      }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < size; ++i)
      if (keep[i]) steps[kept++] = steps[i];
    size = kept;
  }
};

// A finished network: its steps and, for each rank of its result, the wire that holds it.
template <std::size_t Steps, std::size_t Ranks>
struct Network {
  std::array<CompareSwap, Steps> steps;
  std::array<uint8_t, Ranks> rankWire;
};

// A network's steps with, for each rank of its result, the wire that holds it.
struct Built {
  Builder builder;
  Builder::List order;
};

// Sorts wires 0..m-1.
constexpr Built sortColumn(int m) {
  Built built;
  std::array<Builder::List, kMaxLists> singles{};
  for (int i = 0; i < m; ++i)
    singles[static_cast<std::size_t>(i)] = Builder::range(i, 1);
  built.order = built.builder.mergeAll(singles, m);
  return built;
}

// Merges sorted wires 0..m-1 with sorted wires m..2m-1.
constexpr Built mergePair(int m) {
  Built built;
  built.order = built.builder.merge(Builder::range(0, m), Builder::range(m, m));
  return built;
}

// The middle of n columns of m: wires 0..m-1 hold the sorted last column, then each pair
// of columns 2m sorted wires. Only the steps that rank (n m - 1) / 2 depends on are kept.
constexpr Built selectMiddle(int n, int m) {
  Built built;
  std::array<Builder::List, kMaxLists> lists{};
  lists[0] = Builder::range(0, m);
  for (int i = 0; i < n / 2; ++i)
    lists[static_cast<std::size_t>(i + 1)] = Builder::range(m + 2 * m * i, 2 * m);
  built.order = built.builder.mergeAll(lists, n / 2 + 1);
  built.builder.keepOnly(built.order.wires[static_cast<std::size_t>((n * m - 1) / 2)]);
  return built;
}

template <std::size_t Steps, std::size_t Ranks>
constexpr Network<Steps, Ranks> finish(const Built& built) {
  Network<Steps, Ranks> network{};
  for (std::size_t i = 0; i < Steps; ++i)
    network.steps[i] = built.builder.steps[i];
  for (std::size_t i = 0; i < Ranks; ++i)
    network.rankWire[i] = static_cast<uint8_t>(built.order.wires[i]);
  return network;
}

// The three networks of an N x M rectangle (N columns, M rows, both odd).
template <int N, int M>
struct Rectangle {
  static_assert(N % 2 == 1 && M % 2 == 1 && N * M <= static_cast<int>(kMaxWires));
  static constexpr auto column = finish<sortColumn(M).builder.size, M>(sortColumn(M));
  static constexpr auto pair = finish<mergePair(M).builder.size, 2 * M>(mergePair(M));
  static constexpr auto middle = finish<selectMiddle(N, M).builder.size, N * M>(selectMiddle(N, M));
  static constexpr int middleWire = middle.rankWire[(N * M - 1) / 2];
};

}  // namespace lcMedianNetworks
