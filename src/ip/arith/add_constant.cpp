#include "ip/arith/add_constant.h"

#include "ip/arith/arith_rows.h"
#include "ip/arith/point_kernel.h"

namespace {

template <class T>
void addConstant(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
                 const lcAddConstantParams& params) {
  const bool stream = lcStreamsOutput<T>(src);
  lcRunPointKernel(
      name, src, dst,
      [&](const lcPelRows<const T>& in, const lcPelRows<T>& out) {
        lcArithRows::addFast(in, out, params, stream);
      },
      [&](const T* in, T* out, int32_t width) {
        for (int32_t x = 0; x < width; ++x)
          out[x] = lcAddPel(in[x], params.constant, params.wrap);
      });
}

}  // namespace

template <class T>
void lcAddPelRow<T>::operator()(const T* in, T* out, int32_t width) const {
  lcArithRows::addFast({in, width, width, 1}, {out, width, width, 1}, params_, false);
}

template class lcAddPelRow<uint8_t>;
template class lcAddPelRow<uint16_t>;

void lcAddConstant(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcAddConstantParams& params) {
  addConstant("cip_addConstant_8", src, dst, params);
}

void lcAddConstant(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                   const lcAddConstantParams& params) {
  addConstant("cip_addConstant_16", src, dst, params);
}
