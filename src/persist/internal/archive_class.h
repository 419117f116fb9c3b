#pragma once
// The class behind the property archive (persist/property_archive.h), for persistence's
// own sources and its tests; other layers make archives with lcCreatePropertyArchive.

#include <string>
#include <vector>

#include "components/framework/collection_impl.h"
#include "persist/property_archive.h"

class LUM_VISIBLE CLumArchive final
    : public lcVariantCollectionImpl<CLumArchive, ILumArchive, DIID_ILumCollectionEvents,
                                     ILumCollection, IPropertyBag> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_NULL, L"CLumArchive", nullptr, 1,
                                             L"Property archive"};
  // Values of any type, duplicates allowed, no collection events, no listening to items.
  static constexpr lcCollectionPolicy kCollectionPolicy{nullptr, false, false, false};
  static constexpr auto ownMembers() { return lum::members(); }

  // A new, empty archive in `mode` (lumPersistWriting set: for writing).
  static ComPtr<CLumArchive> create(LONG mode);

  // ---- ILumArchive ----
  HRESULT PersistVariant(BSTR name, VARIANT* value) override;
  HRESULT PersistUI1(BSTR name, BYTE* value) override;
  HRESULT PersistI2(BSTR name, SHORT* value) override;
  HRESULT PersistI4(BSTR name, LONG* value) override;
  HRESULT PersistR4(BSTR name, FLOAT* value) override;
  HRESULT PersistR8(BSTR name, DOUBLE* value) override;
  HRESULT PersistBoolean(BSTR name, VARIANT_BOOL* value) override;
  HRESULT PersistString(BSTR name, BSTR* value) override;
  HRESULT LoadObject(BSTR name, IUnknown** object) override;
  HRESULT SaveObject(BSTR name, IUnknown* object) override;
  HRESULT ReadProperty(BSTR name, VARIANT defaultValue, VARIANT* value) override;
  HRESULT WriteProperty(BSTR name, VARIANT value, VARIANT defaultValue) override;
  HRESULT get_Mode(LONG* mode) override;
  HRESULT put_Mode(LONG mode) override;
  HRESULT get_Problems(BSTR* problems) override;
  HRESULT get_ProblemCount(LONG* count) override;
  HRESULT AddProblem(BSTR name, BSTR text) override;
  HRESULT get_UnreadKeys(BSTR* keys) override;

  // ---- IPropertyBag ----
  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT Write(LPCOLESTR name, VARIANT* value) override;

  // ---- the archive's own persistence (an archive kept inside another) ----
  HRESULT Persist(ILumArchive* target, LONG mode) override;

 private:
  bool writing() const { return (mode_ & lumPersistWriting) != 0; }
  // ReadProperty without a call boundary: the Persist members report S_FALSE themselves.
  HRESULT read(std::wstring_view name, const VARIANT* defaultValue, VARIANT& out);
  HRESULT write(std::wstring_view name, const VARIANT& value, const VARIANT* defaultValue);
  // The Persist members' sides, after the direction is known. Writing: a null name is
  // E_POINTER, a malformed one E_INVALIDARG naming it. Reading: a malformed name is a
  // problem like a missing one (S_FALSE), so that a component's load goes on.
  HRESULT writeNamed(BSTR name, const VARIANT& value);
  HRESULT readNamed(BSTR name, VARIANT& out);
  // The shared path of PersistUI1 ... PersistString.
  template <VARTYPE vt, class V>
  HRESULT persistScalar(BSTR name, V* value, const wchar_t* invalidText);
  void recordProblem(std::wstring_view name, std::wstring_view text);
  void convertDecimalPoint(VARIANT& value);

  LONG mode_ = 0;
  LONG cursor_ = 0;
  std::vector<bool> consumed_;
  std::wstring problems_;
  LONG problemCount_ = 0;
  wchar_t decimalSeparator_ = 0;  // asked of the platform when first needed
};
