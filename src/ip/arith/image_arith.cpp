#include "ip/arith/image_arith.h"

#include "ip/arith/image_arith_rows.h"
#include "ip/arith/point_kernel.h"

namespace {

template <class T>
void combine(const char* name, const lcPelBuffer<T>& a, const lcPelBuffer<T>& b,
             lcPelBuffer<T>& dst, lcImagePelOp op) {
  const bool stream = lcStreamsOutput<T>(a);
  lcRunKernel(
      name,
      [&] {
        lcForEachRowBand(a, b, dst, lcPointKernelBands,
                         [&](const lcPelRows<const T>& inA, const lcPelRows<const T>& inB,
                             const lcPelRows<T>& out) {
                           lcImageArithRows::combineFast(inA, inB, out, op, stream);
                         });
        return int32_t{0};
      },
      [&] {
        lcForEachRowBand(a, b, dst, lcPointKernelBands,
                         [op](const lcPelRows<const T>& inA, const lcPelRows<const T>& inB,
                              const lcPelRows<T>& out) {
                           for (int32_t y = 0; y < out.height; ++y)
                             for (int32_t x = 0; x < out.width; ++x)
                               out[y][x] = lcCombinePels(inA[y][x], inB[y][x], op);
                         });
        return int32_t{0};
      });
}

lcImagePelOp addOp(int32_t code) {
  switch (code) {
    case lcAddImagesModulo:
      return lcImagePelOp::addModulo;
    case lcAddImagesClamp:
      return lcImagePelOp::addClamp;
    case lcAddImagesHalve:
      return lcImagePelOp::addHalve;
    default:
      throw lcPelFunc::BadParams();
  }
}

lcImagePelOp subtractOp(int32_t code) {
  switch (code) {
    case lcSubtractImagesModulo:
      return lcImagePelOp::subtractModulo;
    case lcSubtractImagesAbsolute:
      return lcImagePelOp::subtractAbsolute;
    case lcSubtractImagesClamp:
      return lcImagePelOp::subtractClamp;
    case lcSubtractImagesHalve:
      return lcImagePelOp::subtractHalve;
    default:
      throw lcPelFunc::BadParams();
  }
}

lcImagePelOp minMaxOp(bool max) {
  return max ? lcImagePelOp::max : lcImagePelOp::min;
}

}  // namespace

void lcAddImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                 lcPelBuffer<uint8_t>& dst, int32_t code) {
  combine("cip_addImages_8", a, b, dst, addOp(code));
}

void lcAddImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                 lcPelBuffer<uint16_t>& dst, int32_t code) {
  combine("cip_addImages_16", a, b, dst, addOp(code));
}

void lcSubtractImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                      lcPelBuffer<uint8_t>& dst, int32_t code) {
  combine("cip_subtractImages_8", a, b, dst, subtractOp(code));
}

void lcSubtractImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                      lcPelBuffer<uint16_t>& dst, int32_t code) {
  combine("cip_subtractImages_16", a, b, dst, subtractOp(code));
}

void lcMinMaxImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                    lcPelBuffer<uint8_t>& dst, bool max) {
  combine("cip_minMaxImages_8", a, b, dst, minMaxOp(max));
}

void lcMinMaxImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                    lcPelBuffer<uint16_t>& dst, bool max) {
  combine("cip_minMaxImages_16", a, b, dst, minMaxOp(max));
}
