#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "lumxip/platform.h"

// Interfaces live at global scope, as every interface of the platform does.
LUM_INTERFACE_ID(ITestShape, IDispatch, lum::guid("{6A1C2F10-0000-4000-8000-000000000001}"));
struct LUM_VISIBLE ITestShape : IDispatch {
  virtual HRESULT Area(double* area) = 0;
};

LUM_INTERFACE_ID(ITestSquare, ITestShape, lum::guid("{6A1C2F10-0000-4000-8000-000000000002}"));
struct LUM_VISIBLE ITestSquare : ITestShape {
  virtual HRESULT Side(double* side) = 0;
};

namespace {

std::atomic<int> gLiveSquares{0};

class Square final : public lum::ComObject<ITestSquare, IPersist> {
 public:
  Square() { ++gLiveSquares; }
  ~Square() override { --gLiveSquares; }
  HRESULT Area(double* area) override { return *area = 4, S_OK; }
  HRESULT Side(double* side) override { return *side = 2, S_OK; }
  HRESULT GetClassID(CLSID* clsid) override { return *clsid = CLSID_NULL, S_OK; }
  HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

TEST(ComObject, AnswersListedInterfacesTheirBasesAndOneIdentity) {
  ComPtr<Square> square = lum::makeComObject<Square>();
  ComPtr<IUnknown> viaSquare, viaPersist;
  ASSERT_EQ(square->QueryInterface(iid_of<IUnknown>, viaSquare.putVoid()), S_OK);
  ComPtr<IPersist> persist = square.as<IPersist>();
  ASSERT_TRUE(persist);
  ASSERT_EQ(persist->QueryInterface(iid_of<IUnknown>, viaPersist.putVoid()), S_OK);
  EXPECT_EQ(viaSquare.get(), viaPersist.get()) << "IUnknown must be the same pointer";

  EXPECT_TRUE(square.as<ITestShape>());
  EXPECT_TRUE(square.as<IDispatch>());
  ComPtr<IStream> stream;
  void* raw = &stream;
  EXPECT_EQ(square->QueryInterface(iid_of<IStream>, &raw), E_NOINTERFACE);
  EXPECT_EQ(raw, nullptr) << "out-parameter cleared on failure";
  EXPECT_EQ(square->QueryInterface(iid_of<IUnknown>, nullptr), E_POINTER);
  EXPECT_TRUE(lum::sameObject(static_cast<ITestSquare*>(square.get()), persist.get()));
}

TEST(ComObject, LastReleaseDestroysExactlyOnceUnderTwoThreads) {
  ASSERT_EQ(gLiveSquares, 0);
  {
    ComPtr<Square> square = lum::makeComObject<Square>();
    auto churn = [&] {
      for (int i = 0; i < 100000; ++i) {
        ComPtr<ITestShape> copy = square;  // AddRef
        ComPtr<IPersist> other = copy.as<IPersist>();
      }  // Release, Release
    };
    std::thread a(churn), b(churn);
    a.join();
    b.join();
    EXPECT_EQ(gLiveSquares, 1);
    EXPECT_EQ(square->AddRef(), 2u);
    EXPECT_EQ(square->Release(), 1u);
  }
  EXPECT_EQ(gLiveSquares, 0);
}

TEST(ComPtr, AttachDetachAndMoveKeepCountsBalanced) {
  ComPtr<Square> owner = lum::makeComObject<Square>();
  Square* raw = owner.get();
  ComPtr<Square> moved = std::move(owner);
  EXPECT_FALSE(owner);
  EXPECT_EQ(moved.get(), raw);
  Square* detached = moved.detach();
  EXPECT_EQ(gLiveSquares, 1);
  ComPtr<Square> adopted = ComPtr<Square>::attach(detached);  // takes the reference over
  ComPtr<ITestShape> base = adopted;
  ITestShape* out = nullptr;
  ASSERT_EQ(base.copyTo(&out), S_OK);
  out->Release();
  adopted.reset();
  base = nullptr;
  EXPECT_EQ(gLiveSquares, 0);
}

}  // namespace
