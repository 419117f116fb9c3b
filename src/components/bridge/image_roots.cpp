#include "components/bridge/image_roots.h"

#include "components/framework/com_error.h"

namespace {

template <class Pel, class Memory>
lum::detail::ImageMemoryView<Pel> view(Memory* memory) {
  if (memory == nullptr) throw lcCOMError(E_POINTER, 0);
  lum::detail::ImageMemoryView<Pel> v;
  LONG width = 0, height = 0, stride = 0;
  throwIfFailed(memory->get_Width(&width));
  throwIfFailed(memory->get_Height(&height));
  throwIfFailed(memory->get_Stride(&stride));
  throwIfFailed(memory->get_Address(&v.base));
  v.width = width, v.height = height, v.stride = stride;
  memory->AddRef();  // released with the root
  v.holder = std::shared_ptr<void>(static_cast<IUnknown*>(memory),
                                   [](void* p) { static_cast<IUnknown*>(p)->Release(); });
  return v;
}

}  // namespace

namespace lum::detail {
ImageMemoryView<uint8_t> viewMemory(ILumImage8PixelMemory* memory) {
  return view<uint8_t>(memory);
}
ImageMemoryView<uint16_t> viewMemory(ILumImage16PixelMemory* memory) {
  return view<uint16_t>(memory);
}
}  // namespace lum::detail

lcPtrHandle<lc3PlanePelRoot> lc3PlanePelRootLumImage24PlanarPixelMemory(
    ILumImage8PixelMemory* plane0, ILumImage8PixelMemory* plane1, ILumImage8PixelMemory* plane2) {
  return lcMakeHandle<lc3PlanePelRoot>(lcMakeHandle<lcPelRootLumImage8PixelMemory>(plane0),
                                       lcMakeHandle<lcPelRootLumImage8PixelMemory>(plane1),
                                       lcMakeHandle<lcPelRootLumImage8PixelMemory>(plane2));
}
