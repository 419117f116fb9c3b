#pragma once
// What the N x M operators with a cell-by-cell kernel share: the odd-sized grid of cells
// (care flags or offsets) that keeps its cells when resized, the checks of sizes and
// cells, its persistence as core-archive bytes, and the mask image turned into a pixel
// buffer placed in the input's pixel coordinates. The owner calls it under its lock.

#include <algorithm>

#include "components/bridge/image_bridge.h"
#include "components/framework/core_bytes.h"
#include "components/framework/member_checks.h"
#include "lumxip/ip/result_codes.h"
#include "std/pelbuf/pel_buffer.h"

// E_INVALIDARG with e_LumIP_NxMKernelSize unless `size` is odd and positive.
inline void lcCheckKernelSize(LONG size) {
  if (size <= 0 || size % 2 == 0)
    throwInvalidArgument(uint32_t(e_LumIP_NxMKernelSize), lcMessageArgs());
}

template <class T>
class lcKernelGrid {
 public:
  explicit lcKernelGrid(T fill) : fill_(fill) { resize(3, 3); }

  LONG width() const { return cells_.width(); }
  LONG height() const { return cells_.height(); }
  // The cells, shared with snapshots: a change makes a new buffer, never writes this one.
  const lcPelBuffer<T>& cells() const { return cells_; }

  // Keeps every cell present before and after; new cells hold the fill value. False
  // when the size is unchanged.
  bool resize(LONG width, LONG height) {
    const LONG oldWidth = cells_.isBound() ? cells_.width() : 0;
    const LONG oldHeight = cells_.isBound() ? cells_.height() : 0;
    if (width == oldWidth && height == oldHeight) return false;
    lcPelBuffer<T> resized;
    resized.allocate(width, height);
    for (LONG y = 0; y < height; ++y)
      for (LONG x = 0; x < width; ++x)
        *resized.pelAddress(x, y) =
            x < oldWidth && y < oldHeight ? *cells_.pelAddress(x, y) : fill_;
    cells_ = std::move(resized);
    return true;
  }

  // E_INVALIDARG with 0x8004810F naming "KernelWidth" or "KernelHeight".
  void checkCell(LONG column, LONG row) const {
    if (column < 0 || column >= width())
      throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(L"KernelWidth"));
    if (row < 0 || row >= height())
      throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(L"KernelHeight"));
  }
  T get(LONG column, LONG row) const {
    checkCell(column, row);
    return *cells_.pelAddress(column, row);
  }
  // False when the cell already holds `value`.
  bool set(LONG column, LONG row, T value) {
    if (get(column, row) == value) return false;
    lcPelBuffer<T> changed;
    changed.allocate(width(), height());
    for (LONG y = 0; y < height(); ++y)
      std::copy_n(cells_.rowAddress(y), width(), changed.rowAddress(y));
    *changed.pelAddress(column, row) = value;
    cells_ = std::move(changed);
    return true;
  }

  // Writes the cells under `name`, or reads them back: true when cells of odd sizes were
  // read (the caller stores them with adopt()); anything else is noted as a problem.
  static bool persist(ILumArchive& archive, LONG mode, const wchar_t* name, lcPelBuffer<T>& cells) {
    if (!persistCoreBytes(archive, mode, name, [&](lcArchive& core) { cells.archive(core); }))
      return false;
    if (cells.isBound() && cells.width() % 2 == 1 && cells.height() % 2 == 1) return true;
    archive.AddProblem(lum::Bstr(name).get(), lum::Bstr(L"<not an odd kernel>").get());
    return false;
  }
  void adopt(lcPelBuffer<T> cells) { cells_ = std::move(cells); }

 private:
  lcPelBuffer<T> cells_;
  T fill_;
};

// The mask image as a buffer whose first pixel lies at (offsetX, offsetY) of the input's
// pixel coordinates; unbound without a mask image.
inline lcPelBuffer<uint8_t> lcMaskImageBuffer(ILumImage8Grey* mask, LONG offsetX, LONG offsetY) {
  if (mask == nullptr) return {};
  lcPelBuffer<uint8_t> buffer = lcInputBuffer8(lcImageRequest{mask});
  buffer.setOffset(offsetX, offsetY);
  return buffer;
}
