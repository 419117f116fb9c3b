#pragma once
// VARIANT, the tagged value of the dispatch interfaces, with its copy, clear,
// conversion and comparison functions, and `lum::Variant`, the owning wrapper used
// inside the library.
//
// Supported types: EMPTY, NULL, the integer types (I1, UI1, I2, UI2, I4, UI4, I8, UI8,
// INT, UINT), R4, R8, BOOL, BSTR, UNKNOWN, DISPATCH, ERROR, VT_BYREF of each of these
// and of VARIANT, and one-dimensional arrays (VT_ARRAY | element type, platform/safearray.h).

#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/bstr.h"
#include "platform/export.h"
#include "platform/types.h"
#include "platform/unknown.h"

struct IDispatch;
struct SAFEARRAY;

using VARTYPE = uint16_t;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    int8_t cVal;
    BYTE bVal;
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    int64_t llVal;
    uint64_t ullVal;
    INT intVal;
    UINT uintVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    int8_t* pcVal;
    BYTE* pbVal;
    SHORT* piVal;
    USHORT* puiVal;
    LONG* plVal;
    ULONG* pulVal;
    int64_t* pllVal;
    uint64_t* pullVal;
    INT* pintVal;
    UINT* puintVal;
    FLOAT* pfltVal;
    DOUBLE* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    void* byref;
  };
};
using VARIANTARG = VARIANT;

// Flags of VariantChangeType(Ex).
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
inline constexpr USHORT VARIANT_ALPHABOOL = 0x02;  // BOOL to text gives "True"/"False"
inline constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
inline constexpr USHORT VARIANT_LOCALBOOL = 0x10;

// Results of VarCmp.
inline constexpr HRESULT VARCMP_LT = 0;
inline constexpr HRESULT VARCMP_EQ = 1;
inline constexpr HRESULT VARCMP_GT = 2;
inline constexpr HRESULT VARCMP_NULL = 3;
// Flags of VarCmp.
inline constexpr ULONG NORM_IGNORECASE = 0x00000001;

LUM_PLATFORM_API void VariantInit(VARIANT* v);
// Frees what `v` owns (string, reference, array) and leaves it VT_EMPTY.
LUM_PLATFORM_API HRESULT VariantClear(VARIANT* v);
// Clears `dest`, then copies `src` deeply (strings and arrays duplicated, references
// added); a VT_BYREF source is copied as the reference it is.
LUM_PLATFORM_API HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// As VariantCopy, but a VT_BYREF source is copied as the value it refers to.
LUM_PLATFORM_API HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts `src` to type `vt` into `dest` (which may be `src`) in the user's locale.
//   - text to number reads the locale's decimal separator ("1,5" under ","), an optional
//     sign and exponent and surrounding blanks; other text gives DISP_E_TYPEMISMATCH;
//   - a value outside the target's range gives DISP_E_OVERFLOW;
//   - floating to integer rounds half to even (2.5 gives 2, 3.5 gives 4);
//   - BOOL is VARIANT_TRUE (-1) or VARIANT_FALSE; any non-zero number is true;
//   - BOOL to text is "-1"/"0", or "True"/"False" with VARIANT_ALPHABOOL; text to BOOL
//     reads "True"/"False" in any case, or a number;
//   - numbers to text: integers in decimal, floating values in the shortest form that
//     reads back exactly, with the locale's decimal separator;
//   - EMPTY converts to 0, false or ""; NULL converts only to NULL;
//   - UNKNOWN and DISPATCH convert between each other by QueryInterface, to nothing else.
// On failure `dest` is left as it was.
LUM_PLATFORM_API HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags,
                                           VARTYPE vt);
// As VariantChangeType with an explicit locale: LOCALE_INVARIANT uses ".".
LUM_PLATFORM_API HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID lcid,
                                             USHORT flags, VARTYPE vt);
// Compares two values: VARCMP_LT, VARCMP_EQ, VARCMP_GT, or VARCMP_NULL when either is
// NULL. Numbers (with BOOL and EMPTY as numbers) compare by value, text by code point
// (NORM_IGNORECASE folds case), EMPTY against text as "". A number is less than any
// text. Objects and arrays give DISP_E_TYPEMISMATCH.
LUM_PLATFORM_API HRESULT VarCmp(const VARIANT* left, const VARIANT* right, LCID lcid, ULONG flags);

namespace lum {

// An owned VARIANT; clears itself when destroyed. Constructors that allocate throw
// std::bad_alloc.
class LUM_VISIBLE Variant {
 public:
  Variant() noexcept { VariantInit(&v_); }
  Variant(const VARIANT& other);
  Variant(const Variant& other) : Variant(other.v_) {}
  Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Variant& operator=(const Variant& other) {
    Variant(other).swap(*this);
    return *this;
  }
  Variant& operator=(Variant&& other) noexcept {
    Variant(std::move(other)).swap(*this);
    return *this;
  }
  ~Variant() { VariantClear(&v_); }

  explicit Variant(int32_t value) noexcept : Variant() { v_.vt = VT_I4, v_.lVal = value; }
  explicit Variant(int16_t value) noexcept : Variant() { v_.vt = VT_I2, v_.iVal = value; }
  explicit Variant(uint8_t value) noexcept : Variant() { v_.vt = VT_UI1, v_.bVal = value; }
  explicit Variant(double value) noexcept : Variant() { v_.vt = VT_R8, v_.dblVal = value; }
  explicit Variant(float value) noexcept : Variant() { v_.vt = VT_R4, v_.fltVal = value; }
  explicit Variant(bool value) noexcept : Variant() {
    v_.vt = VT_BOOL, v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  explicit Variant(std::wstring_view text);
  explicit Variant(const wchar_t* text) : Variant(std::wstring_view(text ? text : L"")) {}
  explicit Variant(IUnknown* object) noexcept;
  explicit Variant(IDispatch* object) noexcept;

  static Variant null() noexcept {
    Variant v;
    v.v_.vt = VT_NULL;
    return v;
  }
  static Variant error(SCODE code) noexcept {
    Variant v;
    v.v_.vt = VT_ERROR, v.v_.scode = code;
    return v;
  }

  VARTYPE type() const noexcept { return v_.vt; }
  const VARIANT& get() const noexcept { return v_; }
  // The underlying VARIANT; the caller keeps its ownership rules.
  VARIANT* ptr() noexcept { return &v_; }
  const VARIANT* ptr() const noexcept { return &v_; }
  // Clears and gives the address for an out-parameter.
  VARIANT* put() noexcept {
    clear();
    return &v_;
  }
  void clear() noexcept { VariantClear(&v_); }
  void swap(Variant& other) noexcept { std::swap(v_, other.v_); }
  // Hands the value over to `dest` (not cleared first) and leaves this empty.
  void detachTo(VARIANT* dest) noexcept {
    *dest = v_;
    VariantInit(&v_);
  }
  // Converts in place; the value stays as it was on failure.
  HRESULT changeType(VARTYPE vt, USHORT flags = 0) noexcept {
    return VariantChangeType(&v_, &v_, flags, vt);
  }

 private:
  VARIANT v_;
};

}  // namespace lum
