#include "ip/arith/table_map.h"

#include <algorithm>
#include <vector>

#include "ip/arith/arith_rows.h"
#include "ip/arith/point_kernel.h"

namespace {

template <class T>
void tableMap(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
              std::span<const T> given) {
  constexpr std::size_t kEntries = std::size_t{1} << (8 * sizeof(T));
  std::vector<T> padded;
  if (given.size() < kEntries) {
    padded.assign(kEntries, T{0});
    std::copy(given.begin(), given.end(), padded.begin());
  }
  const T* table = padded.empty() ? given.data() : padded.data();
  const bool stream = lcStreamsOutput<T>(src);
  lcRunPointKernel(
      name, src, dst,
      [table, stream](const lcPelRows<const T>& in, const lcPelRows<T>& out) {
        if constexpr (sizeof(T) == 1) {
          lcArithRows::tableMapFast(in, out, table, stream);
        } else {
          static_cast<void>(stream);  // 16-bit rows have no streaming stores
          lcArithRows::tableMapFast(in, out, table);
        }
      },
      [table](const T* in, T* out, int32_t width) {
        for (int32_t x = 0; x < width; ++x)
          out[x] = table[in[x]];
      });
}

}  // namespace

void lcTableMap(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                const lcTableMapParams<uint8_t>& params) {
  tableMap("cip_tableMap_8", src, dst, params.table);
}

void lcTableMap(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                const lcTableMapParams<uint16_t>& params) {
  tableMap("cip_tableMap_16", src, dst, params.table);
}
