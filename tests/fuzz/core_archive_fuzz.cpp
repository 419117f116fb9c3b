// The core archive loader on any bytes: lists of transforms, shapes and pixel roots, in
// either byte order. Loading either succeeds or throws an lcException; a loaded
// transform is evaluated, so that a chain too costly to map a point shows as a timeout.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "std/archive/memory_archive.h"
#include "std/except/exception.h"
#include "std/math/xform_base.h"
#include "std/pelbuf/pel_root.h"
#include "std/shapes/shape.h"

namespace {

template <class T>
std::vector<lcPtrHandle<T>> load(std::span<const uint8_t> bytes, lcArchive::ByteOrder order) {
  lcMemoryArchive archive(bytes, order);
  std::vector<lcPtrHandle<T>> loaded;
  archive.transfer(loaded);
  return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const uint8_t> bytes(data + 1, size - 1);
  const auto order = (data[0] & 1) ? lcArchive::ByteOrder::MostSignificantFirst
                                   : lcArchive::ByteOrder::LeastSignificantFirst;
  try {
    switch ((data[0] >> 1) % 3) {
      case 0:
        for (const auto& xform : load<lc2XformBase>(bytes, order)) {
          if (!xform) continue;  // a list may hold null entries
          xform->mapPoint({1.5, -2.5});
          xform->linearApprox({0, 0});
        }
        break;
      case 1:
        load<lcShape>(bytes, order);
        break;
      default:
        load<lcPelRootBase>(bytes, order);
    }
  } catch (const lcException&) {
  }
  return 0;
}
