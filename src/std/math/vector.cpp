#include "std/math/vector.h"

#include "std/archive/archive.h"

namespace {
constexpr uint32_t kVersion = 1;
}

void lc2Vector::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "vector", __LINE__);
  lc2Vector value = *this;
  archive.transfer(value.x);
  archive.transfer(value.y);
  *this = value;
}
