#pragma once
// An operator on the one-image frame whose kernel returns its input view (or that view
// cut by one pixel on every side), and a few images and transforms that misbehave, for
// the frame's tests.

#include <cmath>

#include "components/bridge/one_image_frame.h"
#include "components/framework/component.h"

LUM_INTERFACE_ID(ITestIdentity, IDispatch, lum::guid("{5D1E0B4A-0000-4000-8000-0000000011D0}"));
struct LUM_VISIBLE ITestIdentity : IDispatch {
  virtual HRESULT Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                          ILumImage** output) = 0;
};

// What the kernel does besides handing its input on.
struct IdentityOptions {
  bool crop = false;  // cut one pixel off every side
  unsigned formats =
      lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24 | lcImageFormatRange16;
  bool copyDepth = false;
  int lastPath = 0;  // 8, 16, 24 or 17 (range) after a run
};

class CTestIdentity final : public lcStdPersistAndChangeImpl<CTestIdentity, ITestIdentity> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-0000000011D1}"),
                                             L"CTestIdentity", L"Halvex.TestIdentity"};
  static constexpr auto ownMembers() { return lum::members(); }

  IdentityOptions options;

  HRESULT Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                  ILumImage** output) override {
    Kernel kernel{options};
    const lcOneImageFrame frame{options.formats, options.copyDepth, false};
    return lcExecuteOneImage(context(L"Execute"), frame, kernel, input, regionMode, region, output);
  }

 private:
  struct Kernel {
    IdentityOptions& options;
    template <class Buffer>
    Buffer cut(Buffer buffer) {
      if (options.crop) buffer.setWindow(1, 1, buffer.width() - 2, buffer.height() - 2);
      return buffer;
    }
    lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& source, int plane) {
      options.lastPath = plane < 0 ? 8 : 24;
      return cut(source);
    }
    lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& source) {
      options.lastPath = 16;
      return cut(source);
    }
    lcPelBufferRange16 range16(const lcPelBufferRange16& source) {
      options.lastPath = 17;
      lcPelBufferRange16 result = source;
      if (options.crop)
        result.setWindow(1, 1, source.pels().width() - 2, source.pels().height() - 2);
      return result;
    }
  };
};

// A transform that no linear map describes: x + sin(y).
class WavyTransform final : public lum::ComObject<ILumTransform2D> {
 public:
  HRESULT get_IsLinear(VARIANT_BOOL* linear) override { return *linear = VARIANT_FALSE, S_OK; }
  HRESULT MapPoint(double x, double y, double* mx, double* my) override {
    *mx = x + std::sin(y), *my = y;
    return S_OK;
  }
  HRESULT GetLinearApproximation(double, double y, ILumTransform2DLinear** linear) override {
    ComPtr<ILumTransform2DLinear> t;
    CoCreateInstance(CLSID_LumTransform2DLinear, nullptr, CLSCTX_ALL, IID_ILumTransform2DLinear,
                     t.putVoid());
    t->SetValues(1, std::cos(y), 0, 1, std::sin(y) - y * std::cos(y), 0);
    return t.copyTo(linear);
  }
  HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

// An image that answers the interfaces of other images as it is told: QueryInterface
// hands out what the listed inner objects give, everything else of ILumImage goes to the
// first inner image.
class ComposedImage final : public lum::ComObject<ILumImage> {
 public:
  std::vector<std::pair<IID, ComPtr<IUnknown>>> answers;
  ComPtr<ILumImage> inner;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    for (auto& [answerIid, from] : answers)
      if (answerIid == iid) return from->QueryInterface(iid, object);
    return ComObject::QueryInterface(iid, object);
  }
  HRESULT get_SelectedSpaceName(BSTR* n) override { return inner->get_SelectedSpaceName(n); }
  HRESULT put_SelectedSpaceName(BSTR n) override { return inner->put_SelectedSpaceName(n); }
  HRESULT get_CoordSpaceTree(ILumCoordSpaceTree** t) override {
    return inner->get_CoordSpaceTree(t);
  }
  HRESULT put_CoordSpaceTree(ILumCoordSpaceTree* t) override {
    return inner->put_CoordSpaceTree(t);
  }
  HRESULT GetTransform(BSTR target, BSTR source, ILumTransform2D** t) override {
    return inner->GetTransform(target, source, t);
  }
  HRESULT put_PixelFromRootTransform(ILumTransform2D* t) override {
    return inner->put_PixelFromRootTransform(t);
  }
  HRESULT GetCoordinateInfo(ILumCoordSpaceTree** t, BSTR* s, ILumTransform2D** p) override {
    return inner->GetCoordinateInfo(t, s, p);
  }
  HRESULT SetCoordinateInfo(ILumCoordSpaceTree* t, BSTR s, ILumTransform2D* p) override {
    return inner->SetCoordinateInfo(t, s, p);
  }
  HRESULT get_Width(LONG* w) override { return inner->get_Width(w); }
  HRESULT get_Height(LONG* h) override { return inner->get_Height(h); }
  HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};
