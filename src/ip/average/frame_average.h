#pragma once
// lcFrameAverageBuffer: the pixel-wise accumulation of a sequence of 8-bit frames of one
// window size, giving their average and sample standard deviation. Sums are unsigned
// 16-bit and sums of squares unsigned 32-bit, so at most kMaxFrames frames are taken:
// up to there every sum is exact (257 x 255 = 65535).

#include <cstdint>

#include "std/archive/archive.h"
#include "std/except/exception.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcFrameAverageDefs {
LC_ERROR_GROUP();
LC_ERROR(lcFrameAverageDefs, BadParams, 0x10002900);
LC_ERROR(lcFrameAverageDefs, DivideByZero, 0x10002901);
LC_ERROR(lcFrameAverageDefs, ImageUnbound, 0x10002902);
LC_ERROR(lcFrameAverageDefs, WindowsDiffer, 0x10002903);
LC_ERROR(lcFrameAverageDefs, NotImplemented, 0x10002904);
LC_ERROR(lcFrameAverageDefs, RollingAverageBufferNotFull, 0x10002905);
}  // namespace lcFrameAverageDefs

class lcFrameAverageBuffer {
 public:
  static constexpr int32_t kMaxFrames = 257;

  bool standardDeviationEnabled() const { return standardDeviation_; }
  int32_t count() const { return count_; }

  // Discards the accumulation; the standard-deviation flag becomes `standardDeviation`.
  void reset(bool standardDeviation);
  void reset() { reset(standardDeviation_); }

  // Adds a frame. ImageUnbound for an unbound frame, WindowsDiffer for one whose window
  // size differs from the accumulated frames', BadParams beyond kMaxFrames; a failure
  // leaves the accumulation as it was. The first frame's buffer coordinates and
  // transform become those of the results.
  void add(const lcPelBuffer<uint8_t>& frame);

  // (sum + floor(n / 2)) / n per pixel; DivideByZero with nothing accumulated.
  lcPelBuffer<uint8_t> average() const;
  // The sample standard deviation per pixel, rounded half away from zero (0 for one
  // frame). BadParams without the flag or with nothing accumulated.
  lcPelBuffer<uint8_t> standardDeviation() const;

  // Version, flag, averaging mode (always 0: accumulate all), count, sums, squares.
  // Loading checks that the parts agree (BadContent) and leaves the buffer as it was on
  // any failure.
  void archive(lcArchive& archive);

 private:
  lcPelBuffer<uint8_t> resultLike() const;

  bool standardDeviation_ = false;
  int32_t count_ = 0;
  lcPelBuffer<uint16_t> sums_;
  lcPelBuffer<uint32_t> squares_;  // bound only with the standard-deviation flag
};
