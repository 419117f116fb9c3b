#include "components/bridge/lum_rle_buffer.h"

#include "platform/variant.h"

namespace {

// What keeps the rows alive: the region that made them and the array they are in.
struct EncodingOwner {
  ComPtr<ILumRegion> region;
  lum::Variant rows;
};

std::shared_ptr<EncodingOwner> takeRows(ComPtr<ILumRegion> region, VARIANT& rows) {
  auto owner = std::make_shared<EncodingOwner>();
  owner->region = std::move(region);
  *owner->rows.ptr() = rows;
  VariantInit(&rows);
  const VARIANT& held = owner->rows.get();
  if (held.vt != (VT_ARRAY | VT_UI1) || held.parray == nullptr || held.parray->cDims != 1)
    throw lcRLEBuffer::BadEncoding(L"the rows are not an array of bytes");
  return owner;
}

std::span<const uint8_t> bytesOf(const EncodingOwner& owner) {
  const SAFEARRAY* array = owner.rows.get().parray;
  return {static_cast<const uint8_t*>(array->pvData), array->rgsabound[0].cElements};
}

}  // namespace

lcLumRLEBuffer::lcLumRLEBuffer(ComPtr<ILumRegion> region, LONG offsetX, LONG offsetY, LONG width,
                               LONG height, VARIANT& rows)
    : lcRLEBuffer([&] {
        std::shared_ptr<EncodingOwner> owner = takeRows(std::move(region), rows);
        const std::span<const uint8_t> bytes = bytesOf(*owner);
        return lcRLEBuffer(offsetX, offsetY, width, height, bytes, std::move(owner));
      }()) {}
