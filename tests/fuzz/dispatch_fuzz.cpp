// Dispatch by name with any arguments: a member picked by name, call kind, and arguments
// of any plain VARIANT type (by value or by reference) built from the bytes. Every call
// gives a result code; nothing crashes, leaks or reads out of bounds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "lumxip/HalvexImageProcessing.h"
#include "lumxip/platform.h"

namespace {

// Reads the fuzzer's bytes front to back; zeros once they run out.
class Bytes {
 public:
  Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  template <class T>
  T value() {
    std::array<uint8_t, sizeof(T)> raw{};
    for (auto& b : raw)
      b = next();
    T out;
    std::memcpy(&out, raw.data(), sizeof(T));
    return out;
  }
  std::wstring text() {
    std::wstring out;
    for (uint8_t n = next() % 24; n > 0; --n)
      out.push_back(static_cast<wchar_t>(next()));
    return out;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

const wchar_t* const kNames[] = {L"Add",
                                 L"Clear",
                                 L"Clone",
                                 L"Count",
                                 L"CreateObject",
                                 L"FindItem",
                                 L"FindKey",
                                 L"Item",
                                 L"Key",
                                 L"Move",
                                 L"Remove",
                                 L"Tag",
                                 L"HasChanged",
                                 L"_NewEnum",
                                 L"SuspendEventDelivery",
                                 L"InputImage",
                                 L"Operators",
                                 L"OutputImage",
                                 L"Region",
                                 L"RegionMode",
                                 L"Run",
                                 L"Execute",
                                 L"Enabled",
                                 L"OperatorName",
                                 L"ResumeAndFireEvent",
                                 L"EventDeliverySuspended",
                                 L"GetLocalComputerName",
                                 L"Constant"};

const VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2,    VT_I4,   VT_R4,   VT_R8,       VT_CY,
                          VT_DATE,  VT_BSTR, VT_ERROR, VT_BOOL, VT_I1,   VT_UI1,      VT_UI2,
                          VT_UI4,   VT_I8,   VT_UI8,   VT_INT,  VT_UINT, VT_DISPATCH, VT_UNKNOWN};

// One argument: a value of a plain type, or a reference to one in `storage`.
void makeArgument(Bytes& in, VARIANT& arg, VARIANT& storage) {
  const uint8_t pick = in.next();
  const VARTYPE vt = kTypes[(pick & 0x7F) % std::size(kTypes)];
  VARIANT& value = (pick & 0x80) ? storage : arg;
  VariantInit(&value);
  value.vt = vt;
  if (vt == VT_BSTR) {
    value.bstrVal = SysAllocString(in.text().c_str());
  } else if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    value.punkVal = nullptr;  // a null object; real ones come from the members themselves
  } else {
    value.llVal = in.value<int64_t>();
  }
  if (&value == &storage) {
    VariantInit(&arg);
    arg.vt = static_cast<VARTYPE>(vt | VT_BYREF);
    arg.byref = &storage.llVal;  // every member of the value's union starts there
  }
}

ComPtr<IDispatch> create(const CLSID& clsid) {
  ComPtr<IDispatch> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<IDispatch>, object.putVoid());
  return object;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  static const CLSID* const kClasses[] = {&CLSID_LumCollection, &CLSID_LumIPOneImageTool,
                                          &CLSID_LumIPOneImageAddSubtractConstant};
  const ComPtr<IDispatch> object = create(*kClasses[in.next() % std::size(kClasses)]);
  if (!object) return 0;
  // Several calls on one object, so that one call's effect meets the next.
  for (int call = 0; call < 4 && in.next() != 0xFF; ++call) {
    LPOLESTR name = const_cast<LPOLESTR>(kNames[in.next() % std::size(kNames)]);
    DISPID id = 0;
    if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))) id = in.value<int32_t>();
    const WORD kinds[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                          DISPATCH_PROPERTYPUTREF, DISPATCH_METHOD | DISPATCH_PROPERTYGET};
    const uint8_t shape = in.next();
    const WORD kind = kinds[shape % std::size(kinds)];
    const UINT count = (shape >> 3) % 5;
    std::vector<VARIANT> args(count), storage(count);
    for (UINT i = 0; i < count; ++i)
      makeArgument(in, args[i], storage[i]);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{args.data(), nullptr, count, 0};
    if ((kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && count > 0) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO error{};
    UINT badArgument = 0;
    object->Invoke(id, IID_NULL, 0, kind, &params, &result, (shape & 0x80) ? &error : nullptr,
                   &badArgument);
    VariantClear(&result);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
    for (UINT i = 0; i < count; ++i) {
      VariantClear(&args[i]);
      VariantClear(&storage[i]);
    }
  }
  return 0;
}
