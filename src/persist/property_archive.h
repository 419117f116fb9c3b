#pragma once
// LumArchive: the in-memory property archive. Components name each persisted property to
// it; it keeps them as an ordered list of {value, name} entries, and reads them back by
// name, fastest in the order they were written. It is made directly (its class
// identifier is null), written or read by one top-level Persist call and the nested ones
// it makes, then dropped. One thread uses it at a time.

#include <string>
#include <vector>

#include "components/framework/collection_impl.h"

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

  // True for a name of letters, digits, "_" and ":", with "." and "-" after the first.
  static bool isValidName(std::wstring_view name);

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
  template <class V>
  HRESULT persistScalar(BSTR name, V* value, VARTYPE vt, const wchar_t* invalidText);
  void recordProblem(std::wstring_view name, std::wstring_view text);
  void convertDecimalPoint(VARIANT& value);

  LONG mode_ = 0;
  LONG cursor_ = 0;
  std::vector<bool> consumed_;
  std::wstring problems_;
  LONG problemCount_ = 0;
  wchar_t decimalSeparator_ = 0;  // asked of the platform when first needed
};
