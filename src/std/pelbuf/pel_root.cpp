#include "std/pelbuf/pel_root.h"

#include <sys/mman.h>

#include <limits>
#include <new>
#include <numeric>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/except/exception.h"

namespace {

constexpr uint32_t kVersion = 1;

[[maybe_unused]] const bool registered =
    lcRegisterArchivable<lcPelRoot<uint8_t>>("lcPelRoot8u") &&
    lcRegisterArchivable<lcPelRoot<int8_t>>("lcPelRoot8s") &&
    lcRegisterArchivable<lcPelRoot<uint16_t>>("lcPelRoot16u") &&
    lcRegisterArchivable<lcPelRoot<int16_t>>("lcPelRoot16s") &&
    lcRegisterArchivable<lcPelRoot<uint32_t>>("lcPelRoot32u") &&
    lcRegisterArchivable<lcPelRoot<int32_t>>("lcPelRoot32s") &&
    lcRegisterArchivable<lcPelRoot<double>>("lcPelRoot64f");

bool isValidSize(int32_t width, int32_t height) {
  return (width == 0 && height == 0) || (width > 0 && height > 0);
}

void requireValid(bool holds, const wchar_t* what) {
  if (!holds) throw lcInvariantFailure(what);
}

// Allocated pixel memory: the block and the aligned address of its first pixel.
struct PelMemory {
  std::unique_ptr<std::byte[]> block;
  std::byte* base = nullptr;
};

// Large images are walked end to end by every kernel: on 4 KiB pages each 16 MiB image
// costs four thousand TLB misses a pass. Advising huge pages over the whole 2 MiB pages
// inside the block lets the kernel back them with huge pages when it first touches them;
// where the system refuses, nothing changes.
void adviseHugePages(std::byte* block, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (bytes < 2 * kHugePage) return;
  const auto first = (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kHugePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// height rows of `pitch` pixels of `pelSize` bytes, starting at a multiple of
// `baseAlignment`; std::bad_alloc when the block cannot be addressed.
PelMemory allocatePels(std::ptrdiff_t pitch, int32_t height, std::size_t pelSize,
                       std::size_t baseAlignment) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max());
  const auto rows = static_cast<std::size_t>(height);
  const auto rowBytes = static_cast<std::size_t>(pitch) * pelSize;  // pitch < 2^32, pelSize <= 8
  const std::size_t slack = baseAlignment - 1;
  if (rows != 0 && rowBytes > (kMax - slack) / rows) throw std::bad_alloc();
  PelMemory memory;
  memory.block = std::make_unique_for_overwrite<std::byte[]>(rows * rowBytes + slack);
  adviseHugePages(memory.block.get(), rows * rowBytes + slack);
  const auto address = reinterpret_cast<std::uintptr_t>(memory.block.get());
  const std::size_t misalignment = address % baseAlignment;
  memory.base = memory.block.get() + (misalignment ? baseAlignment - misalignment : 0);
  return memory;
}

}  // namespace

void lcPelRootBase::checkInvariant() const {
  requireValid(isValidSize(width_, height_),
               L"a pixel root needs width 0 and height 0, or both positive");
}

template <class T>
std::ptrdiff_t lcPelRoot<T>::pitchFor(int32_t width, int32_t alignment) {
  requireValid(alignment >= 1, L"a pixel root's alignment must be at least 1");
  // (width + k) * sizeof(T) is a multiple of the alignment exactly when width + k is a
  // multiple of `step`.
  const std::ptrdiff_t step = alignment / std::gcd<std::ptrdiff_t>(alignment, sizeof(T));
  return (width + step - 1) / step * step;
}

template <class T>
lcPelRoot<T>::lcPelRoot(int32_t width, int32_t height, int32_t alignment) {
  requireValid(isValidSize(width, height),
               L"a pixel root needs width 0 and height 0, or both positive");
  pitch_ = pitchFor(width, alignment);
  // The first pixel must suit T as well as the requested alignment.
  const std::size_t baseAlignment = std::lcm<std::size_t>(alignment, alignof(T));
  PelMemory memory = allocatePels(pitch_, height, sizeof(T), baseAlignment);
  setSize(width, height);
  alignment_ = alignment;
  memory_ = std::move(memory.block);
  base_ = width > 0 ? reinterpret_cast<T*>(memory.base) : nullptr;
}

template <class T>
lcPelRoot<T>::lcPelRoot(int32_t width, int32_t height, std::ptrdiff_t pitch, T* base,
                        int32_t alignment, std::shared_ptr<void> owner)
    : pitch_(pitch), alignment_(alignment), owner_(std::move(owner)), base_(base) {
  setSize(width, height);
  checkInvariant();
}

template <class T>
lcPelMemoryPlanes lcPelRoot<T>::memory() const {
  if (base_ == nullptr) return {};
  const auto pelBytes = static_cast<std::ptrdiff_t>(sizeof(T));
  return {{lcPelMemory{reinterpret_cast<std::intptr_t>(base_), pitch_ * pelBytes, pelBytes}}, 1};
}

template <class T>
void lcPelRoot<T>::checkInvariant() const {
  lcPelRootBase::checkInvariant();
  requireValid(alignment_ >= 1, L"a pixel root's alignment must be at least 1");
  if (width() == 0) {
    requireValid(pitch_ == 0, L"an empty pixel root has pitch 0");
    return;
  }
  requireValid(pitch_ >= width(), L"a pixel root's pitch must not be below its width");
  const auto address = reinterpret_cast<std::uintptr_t>(base_);
  requireValid(base_ != nullptr, L"a pixel root needs a base address");
  requireValid(address % alignof(T) == 0 && address % static_cast<uint32_t>(alignment_) == 0,
               L"a pixel root's base address breaks its alignment");
  requireValid(
      static_cast<std::size_t>(pitch_) * sizeof(T) % static_cast<uint32_t>(alignment_) == 0,
      L"a pixel root's rows break its alignment");
}

template <class T>
void lcPelRoot<T>::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "pelroot", __LINE__);
  lcPersistent::archive(archive);
  int32_t width = this->width();
  int32_t height = this->height();
  archive.transfer(width);
  archive.transfer(height);
  if (archive.isStoring()) {
    for (int32_t y = 0; y < height; ++y)
      archive.transfer(std::span<T>(base_ + y * pitch_, static_cast<std::size_t>(width)));
    return;
  }
  if (referenceCount() > 1) throw lcInvariantFailure(L"loading into a shared pixel root");
  if (!isValidSize(width, height)) throw lcArchive::BadContent(L"bad pixel root size");
  // Refuse a size that the remaining bytes cannot hold before allocating for it.
  const uint64_t pels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (pels > archive.bytesLeft() / sizeof(T))
    throw lcArchive::Eof(L"a pixel root is larger than the data that remains");
  lcPelRoot loaded(width, height);
  for (int32_t y = 0; y < height; ++y)
    archive.transfer(
        std::span<T>(loaded.base_ + y * loaded.pitch_, static_cast<std::size_t>(width)));
  setSize(width, height);
  pitch_ = loaded.pitch_;
  alignment_ = loaded.alignment_;
  memory_ = std::move(loaded.memory_);
  owner_.reset();
  base_ = loaded.base_;
}

#define LC_DEFINE_PEL_ROOT(T) template class lcPelRoot<T>;
LC_FOR_EACH_PEL_TYPE(LC_DEFINE_PEL_ROOT)
#undef LC_DEFINE_PEL_ROOT
