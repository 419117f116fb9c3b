#include "std/pelbuf/pel_range16.h"

#include "std/archive/archive.h"

namespace {

constexpr uint32_t kVersion = 1;

void requireOrdered(const lcPelBufferRange16::ValueRange& range) {
  if (range.minimum > range.maximum) throw lcPelFunc::Range(L"the value range is inverted");
}

bool windowsMatch(const lcPelFrame& pels, const lcPelFrame& mask) {
  return pels.bufferRect() == mask.bufferRect();
}

}  // namespace

lcPelBufferRange16::lcPelBufferRange16(lcPelBuffer<uint16_t> pels, lcPelBuffer<uint8_t> mask,
                                       ValueRange range)
    : pels_(std::move(pels)), mask_(std::move(mask)), range_(range) {
  if (!windowsMatch(pels_, mask_)) throw lcPelBufferRange16Defs::MaskWindowMismatch();
  requireOrdered(range_);
}

void lcPelBufferRange16::setRange(ValueRange range) {
  requireOrdered(range);
  range_ = range;
}

void lcPelBufferRange16::setWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  lcPelBuffer<uint16_t> pels = pels_;
  lcPelBuffer<uint8_t> mask = mask_;
  pels.setWindow(x, y, width, height);
  mask.setWindow(x, y, width, height);
  pels_ = std::move(pels);
  mask_ = std::move(mask);
}

void lcPelBufferRange16::setXform(const lc2XformCache& xform) {
  pels_.setXform(xform);
  mask_.setXform(xform);
}

void lcPelBufferRange16::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "pelrange16", __LINE__);
  lcPelBuffer<uint16_t> pels = pels_;
  lcPelBuffer<uint8_t> mask = mask_;
  ValueRange range = range_;
  pels.archive(archive);
  mask.archive(archive);
  archive.transfer(range.minimum);
  archive.transfer(range.maximum);
  if (archive.isStoring()) return;
  if (!windowsMatch(pels, mask) || range.minimum > range.maximum)
    throw lcArchive::BadContent(L"a range buffer whose parts disagree");
  pels_ = std::move(pels);
  mask_ = std::move(mask);
  range_ = range;
}
