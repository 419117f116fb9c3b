#include "lumxstd/pixel_memory.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "components/framework/com_error.h"

namespace lumxstd {
namespace {

std::atomic<long> gLiveBlocks{0};

// Memory of the stand-in's own pixels; it is the owner of their pixel memory.
class PixelBlock final : public lum::ComObject<IUnknown> {
 public:
  explicit PixelBlock(std::size_t bytes)
      : memory_(static_cast<uint8_t*>(std::aligned_alloc(kRowAlignment, roundUp(bytes))),
                &std::free) {
    if (!memory_) throw std::bad_alloc();
    std::fill_n(memory_.get(), roundUp(bytes), uint8_t{0});
    ++gLiveBlocks;
  }
  ~PixelBlock() override { --gLiveBlocks; }
  uint8_t* data() const { return memory_.get(); }

 private:
  static std::size_t roundUp(std::size_t bytes) {
    const std::size_t n = bytes == 0 ? kRowAlignment : bytes;
    return (n + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  }
  std::unique_ptr<uint8_t, decltype(&std::free)> memory_;
};

template <class Memory>
HRESULT create(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    return lum::makeComObject<Memory>()->QueryInterface(iid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

// Rows padded so that each starts 32-byte aligned.
template <class Memory, class Pel>
ComPtr<Memory> allocate(LONG width, LONG height) {
  constexpr std::size_t kMaxBytes = std::size_t{1} << 40;
  if (width < 0 || height < 0) throw lcCOMError(E_INVALIDARG, 0);
  // Rows start aligned, unless padding would more than double narrow images (a tall
  // image one pixel wide, say): then rows are packed.
  const std::size_t perRow = kRowAlignment / sizeof(Pel);
  const std::size_t aligned = (std::size_t(width) + perRow - 1) / perRow * perRow;
  const std::size_t pitch = aligned <= 2 * std::size_t(width) ? aligned : std::size_t(width);
  if (pitch > std::numeric_limits<LONG>::max() || pitch * height * sizeof(Pel) > kMaxBytes)
    throw lcCOMError(E_INVALIDARG, 0);
  auto block = lum::makeComObject<PixelBlock>(pitch * height * sizeof(Pel));
  ComPtr<Memory> memory = lum::makeComObject<Memory>();
  throwIfFailed(memory->Initialize(width, height, reinterpret_cast<Pel*>(block->data()),
                                   static_cast<LONG>(pitch), static_cast<IUnknown*>(block.get())));
  return memory;
}

}  // namespace

long livePixelBlocks() {
  return gLiveBlocks.load();
}

HRESULT CLumImage8PixelMemory::createInstance(IUnknown* outer, REFIID iid, void** object) {
  return create<CLumImage8PixelMemory>(outer, iid, object);
}

HRESULT CLumImage16PixelMemory::createInstance(IUnknown* outer, REFIID iid, void** object) {
  return create<CLumImage16PixelMemory>(outer, iid, object);
}

ComPtr<ILumImage8PixelMemory> allocate8(LONG width, LONG height) {
  return allocate<CLumImage8PixelMemory, BYTE>(width, height);
}

ComPtr<ILumImage16PixelMemory> allocate16(LONG width, LONG height) {
  return allocate<CLumImage16PixelMemory, USHORT>(width, height);
}

}  // namespace lumxstd
