#pragma once
// Figures a component draws for a display: a line (LumLineGraphic), a polyline
// (LumPolylineGraphic) and a text (LumTextGraphic), each with the members every graphic
// shares (lcGraphicImpl), and the composite that holds them by name
// (LumGraphicCollection).

#include "components/framework/collection_impl.h"
#include "components/framework/component.h"

namespace lumxstd {

// The space a graphic is drawn in (default "."), its colour (default green) and its tip
// text with the flag that shows it.
template <class T, class Itf>
class LUM_VISIBLE lcGraphicImpl : public lcStdPersistAndChangeImpl<T, Itf> {
  using Base = lcStdPersistAndChangeImpl<T, Itf>;
  using This = lcGraphicImpl;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(prop<&This::selected_>(L"SelectedSpaceName", lumGraphic_SelectedSpaceName)
                         .byDefault(L"."),
                     prop<&This::color_>(L"Color", lumGraphic_Color)
                         .byDefault(lumColorGreen)
                         .checkedBy(colorRange()),
                     prop<&This::tipText_>(L"TipText", lumGraphic_TipText),
                     prop<&This::tipTextEnabled_>(L"TipTextEnabled", lumGraphic_TipTextEnabled)));
  }
#define LUM_GRAPHIC_PROPERTY(Name, Type, field)             \
  HRESULT get_##Name(Type* value) override {                \
    return this->template getProperty<&This::field>(value); \
  }                                                         \
  HRESULT put_##Name(Type value) override {                 \
    return this->template putProperty<&This::field>(value); \
  }
  LUM_GRAPHIC_PROPERTY(SelectedSpaceName, BSTR, selected_)
  LUM_GRAPHIC_PROPERTY(Color, LONG, color_)
  LUM_GRAPHIC_PROPERTY(TipText, BSTR, tipText_)
  LUM_GRAPHIC_PROPERTY(TipTextEnabled, VARIANT_BOOL, tipTextEnabled_)
#undef LUM_GRAPHIC_PROPERTY

 private:
  lum::Bstr selected_, tipText_;
  LONG color_ = 0;
  lcBool tipTextEnabled_;
};

class LUM_VISIBLE CLumLineGraphic final : public lcGraphicImpl<CLumLineGraphic, ILumLineGraphic> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumLineGraphic, L"CLumLineGraphic",
                                             L"Halvex.LumLineGraphic", 1, L"Line graphic"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::startX_>(L"StartX", lumLineGraphic_StartX),
                        prop<&Self::startY_>(L"StartY", lumLineGraphic_StartY),
                        prop<&Self::endX_>(L"EndX", lumLineGraphic_EndX),
                        prop<&Self::endY_>(L"EndY", lumLineGraphic_EndY));
  }
  LUM_PROPERTY(StartX, double, startX_)
  LUM_PROPERTY(StartY, double, startY_)
  LUM_PROPERTY(EndX, double, endX_)
  LUM_PROPERTY(EndY, double, endY_)

 private:
  double startX_ = 0, startY_ = 0, endX_ = 0, endY_ = 0;
};

// Vertices are EMPTY (none) or a one-dimensional array of doubles of even length;
// anything else is refused with E_INVALIDARG.
struct LUM_VISIBLE lcVertexArrayCheck {
  void operator()(const wchar_t* name, const lum::Variant& value) const;
};

class LUM_VISIBLE CLumPolylineGraphic final
    : public lcGraphicImpl<CLumPolylineGraphic, ILumPolylineGraphic> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumPolylineGraphic, L"CLumPolylineGraphic",
                                             L"Halvex.LumPolylineGraphic", 1, L"Polyline graphic"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::vertices_>(L"Vertices", lumPolylineGraphic_Vertices)
                            .checkedBy(lcVertexArrayCheck{}));
  }
  LUM_PROPERTY(Vertices, VARIANT, vertices_)

 private:
  lum::Variant vertices_;
};

class LUM_VISIBLE CLumTextGraphic final : public lcGraphicImpl<CLumTextGraphic, ILumTextGraphic> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumTextGraphic, L"CLumTextGraphic",
                                             L"Halvex.LumTextGraphic", 1, L"Text graphic"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::x_>(L"X", lumTextGraphic_X),
                        prop<&Self::y_>(L"Y", lumTextGraphic_Y),
                        prop<&Self::text_>(L"Text", lumTextGraphic_Text));
  }
  LUM_PROPERTY(X, double, x_)
  LUM_PROPERTY(Y, double, y_)
  LUM_PROPERTY(Text, BSTR, text_)

 private:
  double x_ = 0, y_ = 0;
  lum::Bstr text_;
};

class LUM_VISIBLE CLumGraphicCollection final
    : public lcVariantCollectionImpl<CLumGraphicCollection, ILumGraphicCollection> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumGraphicCollection, L"CLumGraphicCollection",
                                             L"Halvex.LumGraphicCollection", 1,
                                             L"Graphics drawn together, by name"};
  static constexpr lcCollectionPolicy kCollectionPolicy{&IID_ILumGraphic};
  static constexpr auto ownMembers() { return lum::members(); }
};

}  // namespace lumxstd
