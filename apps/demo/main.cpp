// A tour of what the library offers so far; `make run` runs it. It becomes the
// command-line program once that lands.

#include <cstdio>
#include <string>

#include "lumxip/HalvexImageProcessing.h"

namespace {

void say(const std::wstring& text) {
  std::printf("%s\n", lum::toUtf8(text).c_str());
}

std::wstring hex(HRESULT hr) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
  return lum::fromUtf8(code);
}

std::wstring number(double value) {
  lum::Variant v(value);
  return SUCCEEDED(v.changeType(VT_BSTR)) ? std::wstring(lum::bstrView(v.get().bstrVal)) : L"?";
}

template <class I>
ComPtr<I> create(const wchar_t* progId) {
  CLSID clsid{};
  ComPtr<I> object;
  if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid());
  return object;
}

void showConversions() {
  say(L"Conversions between VARIANT types, in a locale with a decimal comma:");
  lum::ScopedDecimalSeparator comma(L',');
  const struct {
    lum::Variant value;
    VARTYPE target;
    const wchar_t* what;
  } rows[] = {
      {lum::Variant(L"1,5"), VT_R8, L"text \"1,5\" to R8"},
      {lum::Variant(2.5), VT_I4, L"2.5 to I4 (half to even)"},
      {lum::Variant(70000), VT_I2, L"70000 to I2"},
  };
  for (const auto& row : rows) {
    lum::Variant converted = row.value;
    const HRESULT hr = converted.changeType(row.target);
    lum::Variant text = converted;
    text.changeType(VT_BSTR);
    say(L"  " + std::wstring(row.what) + L": " +
        (SUCCEEDED(hr) ? std::wstring(lum::bstrView(text.get().bstrVal))
                       : L"fails with " + hex(hr)));
  }
}

// An image with a calibrated space, saved to a stream, loaded back and asked where a
// calibrated point lies in its pixels.
void showImages() {
  say(L"Images, coordinate spaces and persistence:");
  auto image = create<ILumImage8Grey>(L"Halvex.LumImage8Grey");
  auto memory = create<ILumImage8PixelMemoryInit>(L"Halvex.LumImage8PixelMemory");
  auto tree = create<ILumCoordSpaceTree>(L"Halvex.LumCoordSpaceTree");
  auto millimetres = create<ILumTransform2DLinear>(L"Halvex.LumTransform2DLinear");
  auto service = create<ILumPersistenceService>(L"Halvex.LumPersistenceService");
  if (!image || !memory || !tree || !millimetres || !service) {
    say(L"  the core object library is not available");
    return;
  }
  static BYTE pixels[4 * 3] = {};
  memory->Initialize(4, 3, pixels, 4, nullptr);
  image->put_PixelMemory(memory.as<ILumImage8PixelMemory>().get());
  millimetres->SetValues(10, 0, 0, 10, 0, 0);  // a millimetre is ten units of the root "@"
  tree->AddSpace(lum::Bstr(L"@").get(), lum::Bstr(L"mm").get(), millimetres.get());
  image->put_CoordSpaceTree(tree.get());
  image->put_SelectedSpaceName(lum::Bstr(L"mm").get());

  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  service->Save(image.get(), stream.get(), lumPersistAllGroups, lumPersistFormatBinary);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
  ComPtr<IUnknown> loaded;
  const HRESULT hr = service->Load(stream.get(), lumPersistAllGroups, loaded.put());
  say(L"  saved a 4 x 3 image in " + std::to_wstring(stat.cbSize.QuadPart) + L" bytes; loaded: " +
      hex(hr));
  auto copy = loaded.as<ILumImage>();
  ComPtr<ILumTransform2D> toPixels;
  if (!copy ||
      FAILED(copy->GetTransform(lum::Bstr(L"#").get(), lum::Bstr(L".").get(), toPixels.put())))
    return;
  double x = 0, y = 0;
  toPixels->MapPoint(0.25, 0.1, &x, &y);
  say(L"  the point (0.25, 0.1) of its selected space \"mm\" lies on pixel (" + number(x) + L", " +
      number(y) + L")");
}

}  // namespace

int main() {
  say(L"lumxip " + lum::fromUtf8(LUMXIP_VERSION) + L" on " + lum::localComputerName());
  say(L"Type library " + lum::toWString(LIBID_HalvexImageProcessing));
  showConversions();
  showImages();
  return 0;
}
