#pragma once
// Intrusive reference counting for the core library's shared objects (transforms,
// pixel roots, shapes). An object derives from lcRepBase and is held through
// lcPtrHandle: copying a handle shares the object, and the last handle to let go
// deletes it. The count is atomic because transforms are read by several worker
// threads at once; the objects themselves are immutable once shared.

#include <atomic>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "std/export.h"

class LC_VISIBLE lcRepBase {
 public:
  // How many handles hold this object.
  uint32_t referenceCount() const noexcept { return count_.load(std::memory_order_acquire); }

  void addReference() const noexcept { count_.fetch_add(1, std::memory_order_relaxed); }
  // Deletes the object when the last reference goes.
  void dropReference() const noexcept {
    if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 protected:
  lcRepBase() = default;
  // A copy is a new object that no handle holds yet.
  lcRepBase(const lcRepBase&) noexcept {}
  lcRepBase& operator=(const lcRepBase&) noexcept { return *this; }
  virtual ~lcRepBase() = default;

 private:
  mutable std::atomic<uint32_t> count_{0};
};

// A counted handle to an object derived from lcRepBase. The object must live on the
// heap (lcMakeHandle makes one); an empty handle holds nothing.
template <class T>
class lcPtrHandle {
 public:
  lcPtrHandle() noexcept = default;
  lcPtrHandle(std::nullptr_t) noexcept {}
  explicit lcPtrHandle(T* object) noexcept : object_(object) {
    if (object_) object_->addReference();
  }
  lcPtrHandle(const lcPtrHandle& other) noexcept : lcPtrHandle(other.object_) {}
  lcPtrHandle(lcPtrHandle&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U>
  requires std::convertible_to<U*, T*> lcPtrHandle(const lcPtrHandle<U>& other)
  noexcept : lcPtrHandle(other.get()) {}
  template <class U>
  requires std::convertible_to<U*, T*> lcPtrHandle(lcPtrHandle<U>&& other)
  noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ~lcPtrHandle() { reset(); }

  lcPtrHandle& operator=(lcPtrHandle other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  void reset() noexcept {
    if (object_) std::exchange(object_, nullptr)->dropReference();
  }

  T* get() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  T* operator->() const noexcept { return object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  // Handles are equal when they hold the same object.
  template <class U>
  bool operator==(const lcPtrHandle<U>& other) const noexcept {
    return object_ == other.get();
  }

 private:
  template <class U>
  friend class lcPtrHandle;

  T* object_ = nullptr;
};

// Makes a new object of class T held by a handle.
template <class T, class... Args>
lcPtrHandle<T> lcMakeHandle(Args&&... args) {
  return lcPtrHandle<T>(new T(std::forward<Args>(args)...));
}

// The object of `handle` as a T, or an empty handle when it is not one.
template <class T, class U>
lcPtrHandle<T> lcHandleCast(const lcPtrHandle<U>& handle) {
  return lcPtrHandle<T>(dynamic_cast<T*>(handle.get()));
}
