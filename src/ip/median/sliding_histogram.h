#pragma once
// A histogram of 8-bit or 16-bit values that a window slides over: values enter and
// leave one at a time, and the median is found from a coarse histogram (the high bits)
// first, then within one coarse bin, so it costs some 32 steps for 8 bits and 512 for
// 16 whatever the window's size.

#include <cstdint>
#include <vector>

template <class T>
class lcSlidingHistogram {
 public:
  static constexpr int kBits = 8 * sizeof(T);
  static constexpr int kCoarseShift = kBits / 2;

  lcSlidingHistogram() : fine_(std::size_t{1} << kBits), coarse_(std::size_t{1} << kCoarseShift) {}

  void add(T value) {
    ++fine_[value];
    ++coarse_[value >> kCoarseShift];
    ++count_;
  }
  void remove(T value) {
    --fine_[value];
    --coarse_[value >> kCoarseShift];
    --count_;
  }
  uint32_t count() const { return count_; }

  // The ((count - 1) / 2)-th smallest value held; count must be above 0.
  T median() const {
    uint32_t rank = (count_ - 1) / 2;
    std::size_t bin = 0;
    while (coarse_[bin] <= rank)
      rank -= coarse_[bin++];
    std::size_t value = bin << kCoarseShift;
    while (fine_[value] <= rank)
      rank -= fine_[value++];
    return static_cast<T>(value);
  }

 private:
  std::vector<uint32_t> fine_;
  std::vector<uint32_t> coarse_;
  uint32_t count_ = 0;
};
