#include <gtest/gtest.h>

#include "lumxip/platform.h"

namespace {

const CLSID kWidgetClass = lum::guid("{6A1C2F10-0000-4000-8000-0000000000A1}");

// A factory whose objects are memory streams, tagged with a number.
class StreamFactory final : public lum::ComObject<IClassFactory> {
 public:
  explicit StreamFactory(int tag) : tag_(tag) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    ComPtr<IStream> stream;
    lum::createMemoryStream(&tag_, sizeof tag_, stream.put());
    return stream->QueryInterface(iid, object);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  int tag_;
};

int tagOf(IStream* stream) {
  int tag = 0;
  ULONG read = 0;
  stream->Read(&tag, sizeof tag, &read);
  return tag;
}

lum::RegistrationCookie registerWidget(int tag) {
  lum::ClassRegistration r{kWidgetClass,     L"Halvex.Widget.1",
                           L"Halvex.Widget", {L"Halvex.OldWidget"},
                           L"Widget",        lum::makeComObject<StreamFactory>(tag)};
  lum::RegistrationCookie cookie = 0;
  EXPECT_EQ(lum::registerClass(r, &cookie), S_OK);
  return cookie;
}

TEST(ClassRegistry, CreatesByClassIdAndEveryProgIdUntilRevoked) {
  const lum::RegistrationCookie cookie = registerWidget(1);

  ComPtr<IStream> byClass;
  ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, iid_of<IStream>,
                             byClass.putVoid()),
            S_OK);
  EXPECT_EQ(tagOf(byClass.get()), 1);

  for (const wchar_t* progId : {L"Halvex.Widget.1", L"Halvex.Widget", L"Halvex.OldWidget"}) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
    EXPECT_EQ(clsid, kWidgetClass);
  }
  LPOLESTR progId = nullptr;
  ASSERT_EQ(ProgIDFromCLSID(kWidgetClass, &progId), S_OK);
  EXPECT_STREQ(progId, L"Halvex.Widget.1") << "the versioned ProgID";
  CoTaskMemFree(progId);

  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, byClass.get(), CLSCTX_ALL, iid_of<IUnknown>,
                             aggregated.putVoid()),
            CLASS_E_NOAGGREGATION);

  ASSERT_EQ(lum::revokeClass(cookie), S_OK);
  EXPECT_EQ(lum::revokeClass(cookie), E_INVALIDARG) << "a cookie is revoked once";
  ComPtr<IUnknown> gone;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, iid_of<IUnknown>, gone.putVoid()),
            REGDB_E_CLASSNOTREG);
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(L"Halvex.Widget", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(ProgIDFromCLSID(kWidgetClass, &progId), REGDB_E_CLASSNOTREG);
}

TEST(ClassRegistry, NewerRegistrationStandsInUntilRevoked) {
  const lum::RegistrationCookie original = registerWidget(1);
  const lum::RegistrationCookie fake = registerWidget(2);
  auto createdTag = [] {
    ComPtr<IStream> s;
    EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, iid_of<IStream>, s.putVoid()),
              S_OK);
    return s ? tagOf(s.get()) : 0;
  };
  EXPECT_EQ(createdTag(), 2);
  int listed = 0;
  for (const auto& r : lum::registeredClasses())
    listed += r.clsid == kWidgetClass;
  EXPECT_EQ(listed, 1) << "one entry per class";
  lum::revokeClass(fake);
  EXPECT_EQ(createdTag(), 1);
  lum::revokeClass(original);
}

}  // namespace
