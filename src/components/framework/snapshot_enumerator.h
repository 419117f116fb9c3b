#pragma once
// An enumerator (IEnumVARIANT, IEnumConnections, ...) over a snapshot of items taken when
// it was made: later changes of the collection do not disturb a walk in progress.

#include <algorithm>
#include <new>
#include <vector>

#include "platform/com_object.h"

// `Stored` is what the snapshot keeps; `copyOut` writes one item for the caller (adding
// a reference, copying a value) and `release` undoes it when a later copy fails.
template <class Itf, class Item, class Stored>
class lcSnapshotEnumerator final : public lum::ComObject<Itf> {
 public:
  using CopyItem = HRESULT (*)(const Stored& stored, Item* item);
  using ReleaseItem = void (*)(Item* item);

  lcSnapshotEnumerator(std::vector<Stored> items, CopyItem copyOut, ReleaseItem release)
      : items_(std::move(items)), copyOut_(copyOut), release_(release) {}

  HRESULT Next(ULONG count, Item* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < items_.size(); ++n, ++position_) {
      if (HRESULT hr = copyOut_(items_[position_], &out[n]); FAILED(hr)) {
        while (n-- > 0)
          release_(&out[n]);
        return hr;
      }
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = items_.size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT Clone(Itf** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = nullptr;
    try {
      auto clone = lum::makeComObject<lcSnapshotEnumerator>(items_, copyOut_, release_);
      clone->position_ = position_;
      *copy = clone.detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  std::vector<Stored> items_;
  CopyItem copyOut_;
  ReleaseItem release_;
  std::size_t position_ = 0;
};
