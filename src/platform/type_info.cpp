#include "platform/type_info.h"

#include <new>

#include "platform/com_object.h"

namespace lum {
namespace {

class TypeInfo final : public ComObject<ITypeInfo> {
 public:
  TypeInfo(std::wstring_view name, REFGUID guid, TYPEKIND kind,
           std::vector<ImplementedType> implemented)
      : name_(name), guid_(guid), kind_(kind), implemented_(std::move(implemented)) {}

  HRESULT GetGuid(GUID* guid) override {
    if (guid == nullptr) return E_POINTER;
    *guid = guid_;
    return S_OK;
  }
  HRESULT GetName(BSTR* name) override { return allocBstr(name_.view(), name); }
  HRESULT GetTypeKind(TYPEKIND* kind) override {
    if (kind == nullptr) return E_POINTER;
    *kind = kind_;
    return S_OK;
  }
  HRESULT GetImplTypeCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<UINT>(implemented_.size());
    return S_OK;
  }
  HRESULT GetImplTypeGuid(UINT index, GUID* iid) override {
    if (iid == nullptr) return E_POINTER;
    if (index >= implemented_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *iid = implemented_[index].iid;
    return S_OK;
  }
  HRESULT GetImplTypeFlags(UINT index, INT* flags) override {
    if (flags == nullptr) return E_POINTER;
    if (index >= implemented_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *flags = implemented_[index].flags;
    return S_OK;
  }

 private:
  Bstr name_;
  GUID guid_;
  TYPEKIND kind_;
  std::vector<ImplementedType> implemented_;
};

}  // namespace

HRESULT createTypeInfo(std::wstring_view name, REFGUID guid, TYPEKIND kind,
                       const std::vector<ImplementedType>& implemented, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  try {
    *info = makeComObject<TypeInfo>(name, guid, kind, implemented).detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace lum
