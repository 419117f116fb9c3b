#include "components/framework/core_bytes.h"

#include <cstring>
#include <new>

#include "platform/safearray.h"

lum::Variant bytesToVariant(std::span<const uint8_t> bytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (array == nullptr) throw std::bad_alloc();
  if (!bytes.empty()) std::memcpy(array->pvData, bytes.data(), bytes.size());
  lum::Variant value;
  value.ptr()->vt = VT_ARRAY | VT_UI1;
  value.ptr()->parray = array;
  return value;
}

bool variantToBytes(const VARIANT& input, std::vector<uint8_t>& bytes) {
  lum::Variant value;
  if (FAILED(VariantCopyInd(value.ptr(), &input))) return false;
  if (value.type() != (VT_ARRAY | VT_UI1)) return false;
  SAFEARRAY* array = value.get().parray;
  bytes.clear();
  if (array == nullptr) return true;
  const auto* data = static_cast<const uint8_t*>(array->pvData);
  bytes.assign(data, data + array->rgsabound[0].cElements);
  return true;
}
