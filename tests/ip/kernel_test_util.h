#pragma once
// What the kernel tests share: random buffers with odd sizes, windows and offsets, and
// a check that a kernel gives the same pixels whichever twin runs, on whichever SIMD
// target, in however many bands.

#include <gtest/gtest.h>

#include <hwy/targets.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "std/pelbuf/pel_buffer.h"
#include "std/util/kernel_selection.h"
#include "std/util/worker_pool.h"

// A width x height window at buffer offset (x0, y0) on a larger root of random pixels,
// rows one byte aligned, so kernels meet odd pitches and unaligned rows.
template <class T>
lcPelBuffer<T> randomPels(std::mt19937& random, int32_t width, int32_t height, int32_t x0 = 0,
                          int32_t y0 = 0) {
  std::uniform_int_distribution<int32_t> margin(0, 3);
  const int32_t left = margin(random), top = margin(random);
  lcPelBuffer<T> buffer;
  buffer.allocate(width + left + margin(random), height + top + margin(random), 0, 0, 1);
  std::uniform_int_distribution<uint32_t> pel(0, T(~T{0}));
  const lcPelRows<T> rows = buffer.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      rows[y][x] = static_cast<T>(pel(random));
  buffer.setWindow(left, top, width, height);
  buffer.setOffset(x0, y0);
  return buffer;
}

// Same buffer rectangle and the same pixels.
template <class T>
::testing::AssertionResult samePels(const lcPelBuffer<T>& a, const lcPelBuffer<T>& b) {
  if (a.bufferRect() != b.bufferRect()) return ::testing::AssertionFailure() << "other windows";
  if (!a.isBound() || !b.isBound())  // an empty result
    return a.isBound() == b.isBound() ? ::testing::AssertionSuccess()
                                      : ::testing::AssertionFailure() << "one is unbound";
  const lcPelRows<const T> rowsA = a.rows(), rowsB = b.rows();
  for (int32_t y = 0; y < rowsA.height; ++y)
    for (int32_t x = 0; x < rowsA.width; ++x)
      if (rowsA[y][x] != rowsB[y][x])
        return ::testing::AssertionFailure()
               << "pixel " << x << "," << y << " (window): " << +rowsA[y][x] << " against "
               << +rowsB[y][x];
  return ::testing::AssertionSuccess();
}

// Runs run() (giving a buffer) with the portable twin, then with the fast twin on every
// SIMD target this processor has, each with 1 and 5 workers, and expects the same pixels
// every time. Restores the hook, the targets and the worker count. Returns the portable
// twin's result.
template <class Run>
auto expectEveryWayAgrees(const Run& run) {
  const int savedWorkers = lcWorkerCount();
  const auto portable = [](const char*) { return 1; };
  const lcKernelSelectionHook savedHook = lcSetKernelSelectionHook(portable);
  lcSetWorkerCount(1);
  const auto reference = run();
  for (int workers : {1, 5}) {
    lcSetWorkerCount(workers);
    lcSetKernelSelectionHook(portable);
    EXPECT_TRUE(samePels(run(), reference)) << "portable, " << workers << " workers";
    lcSetKernelSelectionHook(nullptr);
    for (int64_t target : hwy::SupportedAndGeneratedTargets()) {
      hwy::SetSupportedTargetsForTest(target);
      EXPECT_TRUE(samePels(run(), reference))
          << "fast on " << hwy::TargetName(target) << ", " << workers << " workers";
    }
    hwy::SetSupportedTargetsForTest(0);
  }
  lcSetKernelSelectionHook(savedHook);
  lcSetWorkerCount(savedWorkers);
  return reference;
}

// For images large enough to be cut into many bands, where running every way would be
// slow: the portable twin on one worker against the fast twin on five.
template <class Run>
auto expectBandsAgree(const Run& run) {
  const int savedWorkers = lcWorkerCount();
  const lcKernelSelectionHook savedHook = lcSetKernelSelectionHook([](const char*) { return 1; });
  lcSetWorkerCount(1);
  const auto reference = run();
  lcSetKernelSelectionHook(nullptr);
  lcSetWorkerCount(5);
  EXPECT_TRUE(samePels(run(), reference)) << "fast, 5 workers";
  lcSetKernelSelectionHook(savedHook);
  lcSetWorkerCount(savedWorkers);
  return reference;
}

// A width x height buffer at offset (0, 0) with every pixel `value`.
template <class T>
lcPelBuffer<T> flatPels(int32_t width, int32_t height, T value) {
  lcPelBuffer<T> buffer;
  buffer.allocate(width, height);
  const lcPelRows<T> rows = buffer.rows();
  for (int32_t y = 0; y < height; ++y)
    std::fill_n(rows[y], width, value);
  return buffer;
}

// A width x height buffer at offset (0, 0) of a pattern that takes every pixel value,
// quicker to make than random pixels when the image is large.
template <class T>
lcPelBuffer<T> patternPels(int32_t width, int32_t height) {
  lcPelBuffer<T> buffer;
  buffer.allocate(width, height);
  const lcPelRows<T> rows = buffer.rows();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      rows[y][x] = static_cast<T>(x * 31 + y * 17 + (x * y >> 5));
  return buffer;
}

// True when every pixel of `buffer` is `value`.
template <class T>
bool allPelsAre(const lcPelBuffer<T>& buffer, T value) {
  const lcPelRows<const T> rows = buffer.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      if (rows[y][x] != value) return false;
  return true;
}
