#pragma once
// IUnknown, the way interfaces are declared, and ComPtr, the counted interface pointer.

#include <cstddef>
#include <type_traits>
#include <utility>

#include "platform/guid.h"

// Records the identifier of interface `Name` and the interface it derives from, for
// iid_of<Name> and for QueryInterface helpers. Interfaces are declared at global scope,
// with this just before the declaration:
//   LUM_INTERFACE_ID(IFoo, IUnknown, lum::guid("{...}"));
//   struct LUM_VISIBLE IFoo : IUnknown { virtual HRESULT Bar() = 0; };
#define LUM_INTERFACE_ID(Name, Base, iidValue) \
  struct Name;                                 \
  template <>                                  \
  struct lum::InterfaceTraits<Name> {          \
    static constexpr IID iid = iidValue;       \
    using base = Base;                         \
  }

struct IUnknown;
template <>
struct lum::InterfaceTraits<IUnknown> {
  static constexpr IID iid = lum::guid("{00000000-0000-0000-C000-000000000046}");
  using base = void;
};

struct LUM_VISIBLE IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;  // objects are destroyed by Release, never by delete
};

// A counted pointer to an interface: adds a reference when it takes a pointer it was
// given, releases one when it lets go.
template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  template <class U>
  requires std::is_convertible_v<U*, T*> ComPtr(const ComPtr<U>& other)
  noexcept : ComPtr(other.get()) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U>
  requires std::is_convertible_v<U*, T*> ComPtr(ComPtr<U>&& other)
  noexcept : p_(other.detach()) {}
  ~ComPtr() { reset(); }

  ComPtr& operator=(const ComPtr& other) noexcept {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }
  ComPtr& operator=(T* p) noexcept {
    ComPtr(p).swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }

  // Takes over a reference the caller already owns.
  static ComPtr attach(T* p) noexcept {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Gives up the reference without releasing it.
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

  void reset() noexcept {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Releases what is held and gives the address for an out-parameter.
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

  // Hands a new reference to an out-parameter.
  HRESULT copyTo(T** out) const noexcept {
    if (out == nullptr) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

  // Asks the object for interface `U`; E_NOINTERFACE (or E_POINTER when empty) otherwise.
  template <class U>
  HRESULT as(ComPtr<U>* out) const noexcept {
    if (p_ == nullptr) {
      out->reset();
      return E_POINTER;
    }
    return p_->QueryInterface(iid_of<U>, out->putVoid());
  }
  template <class U>
  ComPtr<U> as() const noexcept {
    ComPtr<U> result;
    (void)as(&result);
    return result;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

namespace lum {
// True when `a` and `b` are the same object: their IUnknown pointers are equal.
inline bool sameObject(IUnknown* a, IUnknown* b) {
  if (a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  ComPtr<IUnknown> ua, ub;
  a->QueryInterface(iid_of<IUnknown>, ua.putVoid());
  b->QueryInterface(iid_of<IUnknown>, ub.putVoid());
  return ua && ua == ub;
}
}  // namespace lum
