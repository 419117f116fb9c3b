#include "components/twoimage/two_image_arithmetic.h"

#include "ip/arith/image_arith.h"

namespace {

// The core add code of each OverflowMode: Bounded clamps, Wrap is modulo, Shift halves.
int32_t addCode(LumIPTwoImageAddOverflowModeConstants mode) {
  switch (mode) {
    case lumIPTwoImageAddOverflowModeWrap:
      return lcAddImagesModulo;
    case lumIPTwoImageAddOverflowModeShift:
      return lcAddImagesHalve;
    default:
      return lcAddImagesClamp;
  }
}

int32_t subtractCode(LumIPTwoImageSubtractOverflowModeConstants mode) {
  switch (mode) {
    case lumIPTwoImageSubtractOverflowModeWrap:
      return lcSubtractImagesModulo;
    case lumIPTwoImageSubtractOverflowModeShift:
      return lcSubtractImagesHalve;
    case lumIPTwoImageSubtractOverflowModeAbsolute:
      return lcSubtractImagesAbsolute;
    default:
      return lcSubtractImagesClamp;
  }
}

template <class Pel, class Kernel>
lcPelBuffer<Pel> combined(const Kernel& kernel) {
  lcPelBuffer<Pel> result;
  kernel(result);
  return result;
}

}  // namespace

lcPelBuffer<uint8_t> CLumIPTwoImageAdd::run(const lcPelBuffer<uint8_t>& a,
                                            const lcPelBuffer<uint8_t>& b, const Parameters& p) {
  return combined<uint8_t>([&](auto& out) { lcAddImages(a, b, out, addCode(p.OverflowMode)); });
}

lcPelBuffer<uint16_t> CLumIPTwoImageAdd::run(const lcPelBuffer<uint16_t>& a,
                                             const lcPelBuffer<uint16_t>& b, const Parameters& p) {
  return combined<uint16_t>([&](auto& out) { lcAddImages(a, b, out, addCode(p.OverflowMode)); });
}

lcPelBuffer<uint8_t> CLumIPTwoImageSubtract::run(const lcPelBuffer<uint8_t>& a,
                                                 const lcPelBuffer<uint8_t>& b,
                                                 const Parameters& p) {
  return combined<uint8_t>(
      [&](auto& out) { lcSubtractImages(a, b, out, subtractCode(p.OverflowMode)); });
}

lcPelBuffer<uint16_t> CLumIPTwoImageSubtract::run(const lcPelBuffer<uint16_t>& a,
                                                  const lcPelBuffer<uint16_t>& b,
                                                  const Parameters& p) {
  return combined<uint16_t>(
      [&](auto& out) { lcSubtractImages(a, b, out, subtractCode(p.OverflowMode)); });
}

lcPelBuffer<uint8_t> CLumIPTwoImageMinMax::run(const lcPelBuffer<uint8_t>& a,
                                               const lcPelBuffer<uint8_t>& b, const Parameters& p) {
  return combined<uint8_t>([&](auto& out) {
    lcMinMaxImages(a, b, out, p.Operation == lumIPTwoImageMinMaxOperationMax);
  });
}

lcPelBuffer<uint16_t> CLumIPTwoImageMinMax::run(const lcPelBuffer<uint16_t>& a,
                                                const lcPelBuffer<uint16_t>& b,
                                                const Parameters& p) {
  return combined<uint16_t>([&](auto& out) {
    lcMinMaxImages(a, b, out, p.Operation == lumIPTwoImageMinMaxOperationMax);
  });
}
