#pragma once
// Pixel roots: one rectangular block of pixel memory, owned or borrowed, that buffers
// (pel_buffer.h) view and share through counted handles. A root keeps its size and its
// memory for life; only its pixels change.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "std/archive/persistent.h"
#include "std/export.h"
#include "std/util/ptr_handle.h"

// The pixel types of roots and buffers.
#define LC_FOR_EACH_PEL_TYPE(X) \
  X(uint8_t) X(int8_t) X(uint16_t) X(int16_t) X(uint32_t) X(int32_t) X(double)

// Where one plane of pixels lies in memory: pixel (x, y) starts at byte address
// first + y * rowBytes + x * pelBytes.
struct lcPelMemory {
  std::intptr_t first = 0;
  std::ptrdiff_t rowBytes = 0;
  std::ptrdiff_t pelBytes = 0;
};

// The planes of a root's memory: one for a plain root, three for a planar one.
struct lcPelMemoryPlanes {
  std::array<lcPelMemory, 3> planes{};
  int count = 0;
};

// What every root has whatever its pixels: its size, through which buffers keep their
// windows inside it, and where its pixels lie in memory, through which overlap is seen
// whatever root a window views the memory through.
class LC_VISIBLE lcPelRootBase : public lcRepBase, public virtual lcPersistent {
 public:
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // None for an empty root.
  virtual lcPelMemoryPlanes memory() const { return {}; }

  // Throws lcInvariantFailure unless width 0 goes with height 0, and otherwise
  // width > 0 and height >= 1.
  virtual void checkInvariant() const;

 protected:
  lcPelRootBase() = default;
  void setSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
  }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
};

template <class T>
class LC_VISIBLE lcPelRoot : public lcPelRootBase {
 public:
  // Rows of the roots that kernels allocate start at multiples of this many bytes.
  static constexpr int32_t kDefaultAlignment = 32;

  // An empty root, 0 x 0 (what an archive loads into).
  lcPelRoot() = default;
  // Allocates width x height pixels, not initialised. Each row is `pitch()` pixels long:
  // the fewest pixels, not fewer than width, that make a multiple of `alignment` bytes;
  // the first row starts at a multiple of `alignment`. A size the invariant refuses or an
  // alignment below 1 throws lcInvariantFailure; a block too large to address throws
  // std::bad_alloc.
  lcPelRoot(int32_t width, int32_t height, int32_t alignment = kDefaultAlignment);
  // Views rows of `width` pixels, `pitch` pixels apart, starting at `base`, in memory
  // that `owner` keeps alive; the root holds `owner` until it goes. `alignment` is what
  // the caller promises about the base address and the row starts (1 for image memory).
  lcPelRoot(int32_t width, int32_t height, std::ptrdiff_t pitch, T* base, int32_t alignment,
            std::shared_ptr<void> owner);
  lcPelRoot(const lcPelRoot&) = delete;
  lcPelRoot& operator=(const lcPelRoot&) = delete;

  // Distance between rows, in pixels.
  std::ptrdiff_t pitch() const { return pitch_; }
  int32_t alignment() const { return alignment_; }
  // Pixel (0, 0).
  const T* base() const { return base_; }
  T* base() { return base_; }
  bool ownsMemory() const { return memory_ != nullptr; }
  lcPelMemoryPlanes memory() const override;

  // Adds to the base check: pitch >= width (0 for an empty root), alignment >= 1, and a
  // base address and row length that keep the alignment and suit T.
  void checkInvariant() const override;

  // Version, width and height, then the pixels row by row without the padding. Loading
  // allocates new memory with the default alignment; it is refused for a root that
  // buffers already share.
  void archive(lcArchive& archive) override;

  // The pitch of an allocated root.
  static std::ptrdiff_t pitchFor(int32_t width, int32_t alignment);

 private:
  std::ptrdiff_t pitch_ = 0;
  int32_t alignment_ = 1;
  std::unique_ptr<std::byte[]> memory_;  // what this root allocated
  std::shared_ptr<void> owner_;          // what keeps borrowed memory alive
  T* base_ = nullptr;
};

template <class T>
using lcPelRootHandle = lcPtrHandle<lcPelRoot<T>>;

#define LC_DECLARE_PEL_ROOT(T) extern template class lcPelRoot<T>;
LC_FOR_EACH_PEL_TYPE(LC_DECLARE_PEL_ROOT)
#undef LC_DECLARE_PEL_ROOT
