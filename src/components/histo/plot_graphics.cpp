#include "components/histo/plot_graphics.h"

#include <algorithm>
#include <cwchar>

#include "components/framework/component.h"

namespace {

template <class I>
ComPtr<I> createGraphic(REFCLSID clsid) {
  ComPtr<I> object;
  throwIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid()));
  return object;
}

}  // namespace

lcPlotGraphics::lcPlotGraphics(bool tipText)
    : collection_(createGraphic<ILumGraphicCollection>(CLSID_LumGraphicCollection)),
      tipText_(tipText) {}

void lcPlotGraphics::add(ILumGraphic& graphic, const wchar_t* name, LONG color,
                         const std::wstring& tip) {
  throwIfFailed(graphic.put_Color(color));
  if (tipText_) {
    throwIfFailed(graphic.put_TipText(lum::Bstr(tip.c_str()).get()));
    throwIfFailed(graphic.put_TipTextEnabled(VARIANT_TRUE));
  }
  const lum::Variant item(static_cast<IDispatch*>(&graphic));
  throwIfFailed(collection_->Add(item.get(), lum::Bstr(name).get(), -1));
}

void lcPlotGraphics::addLine(const wchar_t* name, double x0, double y0, double x1, double y1,
                             LONG color, const std::wstring& tip) {
  auto line = createGraphic<ILumLineGraphic>(CLSID_LumLineGraphic);
  throwIfFailed(line->put_StartX(x0));
  throwIfFailed(line->put_StartY(y0));
  throwIfFailed(line->put_EndX(x1));
  throwIfFailed(line->put_EndY(y1));
  add(*line, name, color, tip);
}

void lcPlotGraphics::addPolyline(const wchar_t* name, std::span<const double> xy, LONG color,
                                 const std::wstring& tip) {
  auto polyline = createGraphic<ILumPolylineGraphic>(CLSID_LumPolylineGraphic);
  lum::Variant vertices;
  SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(xy.size()));
  if (array == nullptr) throw lcCOMError(E_OUTOFMEMORY, 0);
  vertices.ptr()->vt = VT_ARRAY | VT_R8;
  vertices.ptr()->parray = array;
  std::copy(xy.begin(), xy.end(), static_cast<double*>(array->pvData));
  throwIfFailed(polyline->put_Vertices(vertices.get()));
  add(*polyline, name, color, tip);
}

void lcPlotGraphics::addText(const wchar_t* name, double x, double y, const std::wstring& text,
                             LONG color, const std::wstring& tip) {
  auto label = createGraphic<ILumTextGraphic>(CLSID_LumTextGraphic);
  throwIfFailed(label->put_X(x));
  throwIfFailed(label->put_Y(y));
  throwIfFailed(label->put_Text(lum::Bstr(text.c_str()).get()));
  add(*label, name, color, tip);
}

void lcPlotGraphics::addAxes(const std::wstring& tip) {
  const double corners[] = {0, 0, 0, kPlotSize, kPlotSize, kPlotSize};
  addPolyline(L"Axes", corners, kPlotAxesColor, tip);
}

std::wstring lcPlotNumber(double value) {
  wchar_t text[64];
  std::swprintf(text, std::size(text), L"%5.2lf", value);
  return text;
}
