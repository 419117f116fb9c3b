#pragma once
// The grey-morphology components: the 3 x 3 element and its collection, the operator
// LumIPOneImageGreyMorphology built on a collection of them, and the N x M operator
// LumIPOneImageGreyMorphologyNxM with its care mask, offsets and mask image.

#include <array>

#include "components/framework/advise_sink.h"
#include "components/framework/typed_collection_impl.h"
#include "components/oneimage/kernel_grid.h"
#include "components/oneimage/operator_impl.h"
#include "ip/gmorph/grey_morphology.h"
#include "lumxip/ip/grey_morphology.h"

LUM_PARAMETERS(lcGMorph3x3ElementFields, LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES);

inline constexpr const wchar_t* kOld3x3ElementProgIds[] = {
    L"Halvex.LumIPOneImageGreyMorphology3x3Element"};
inline constexpr const wchar_t* kOld3x3ElementsProgIds[] = {
    L"Halvex.LumIPOneImageGreyMorphology3x3Elements"};

class LUM_VISIBLE CLumIPOneImageGreyMorphology3x3Element final
    : public lcStdPersistAndChangeImpl<CLumIPOneImageGreyMorphology3x3Element,
                                       ILumIPOneImageGreyMorphology3x3Element>,
      public lcGMorph3x3ElementFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageGreyMorphology3x3Element,
                                             L"CLumIPOneImageGreyMorphology3x3Element",
                                             L"Halvex.LumIPOneImageGMorph3x3Element",
                                             1,
                                             L"3 x 3 grey-morphology element",
                                             nullptr,
                                             L"LumIPOneImageGreyMorphology3x3ElementStateIDs",
                                             kOld3x3ElementProgIds};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        lum::members(indexedProp<&Self::get_Type, &Self::put_Type>(
                         L"Type", lumIPOneImageGreyMorphology3x3Element_Type),
                     indexedProp<&Self::get_MemberValue, &Self::put_MemberValue>(
                         L"MemberValue", lumIPOneImageGreyMorphology3x3Element_MemberValue)),
        LUM_MEMBER_ROWS(LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES)

  HRESULT get_Type(LumIPOneImageMorphology3x3ElementTypeConstants* type) override;
  HRESULT put_Type(LumIPOneImageMorphology3x3ElementTypeConstants type) override;
  HRESULT get_MemberValue(LumIPOneImageMorphologyPositionConstants position, LONG* value) override;
  HRESULT put_MemberValue(LumIPOneImageMorphologyPositionConstants position, LONG value) override;

  // The element as the kernels take it: offsets only for the Custom type.
  lcMorphElement element();
};

class LUM_VISIBLE CLumIPOneImageGreyMorphology3x3Elements final
    : public lcTypedCollectionImpl<CLumIPOneImageGreyMorphology3x3Elements,
                                   ILumIPOneImageGreyMorphology3x3Elements,
                                   ILumIPOneImageGreyMorphology3x3Element> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageGreyMorphology3x3Elements,
      L"CLumIPOneImageGreyMorphology3x3Elements",
      L"Halvex.LumIPOneImageGMorph3x3Elements",
      1,
      L"Ordered collection of 3 x 3 grey-morphology elements",
      nullptr,
      nullptr,
      kOld3x3ElementsProgIds};
  static constexpr lcCollectionPolicy kCollectionPolicy{
      &IID_ILumIPOneImageGreyMorphology3x3Element};
};

LUM_PARAMETERS(lcGreyMorphologyFields, LUM_IP_GREY_MORPHOLOGY_PROPERTIES);

// The operator listens to its element collection: a change of the collection or of one of
// its elements raises the operator's change event with the Elements state ID.
class LUM_VISIBLE CLumIPOneImageGreyMorphology final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageGreyMorphology, ILumIPOneImageGreyMorphology,
                                      lcGreyMorphologyFields>,
      public lcSinkOwner {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageGreyMorphology,      L"CLumIPOneImageGreyMorphology",
      L"Halvex.LumIPOneImageGreyMorphology",  1,
      L"Grey morphology with 3 x 3 elements", L"LumIPOneImageCtl.LumIPGreyMorphologyEdit",
      L"LumIPOneImageGreyMorphologyStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        lum::members(
            prop<&Self::elements_>(L"Elements", lumIPOneImageGreyMorphology_Elements).readOnly()),
        LUM_MEMBER_ROWS(LUM_IP_GREY_MORPHOLOGY_PROPERTIES),
        lum::members(indexedProp<&Self::get_OriginX, &Self::put_OriginX>(
                         L"OriginX", lumIPOneImageGreyMorphology_OriginX),
                     indexedProp<&Self::get_OriginY, &Self::put_OriginY>(
                         L"OriginY", lumIPOneImageGreyMorphology_OriginY)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_GREY_MORPHOLOGY_PROPERTIES)
  LUM_PROPERTY_GET(Elements, ILumIPOneImageGreyMorphology3x3Elements*, elements_)

  // A new operator holds one square element.
  HRESULT FinalConstruct();
  HRESULT get_Width(LONG* width) override;
  HRESULT get_Height(LONG* height) override;
  HRESULT get_OriginX(LONG* x) override;
  HRESULT put_OriginX(LONG x) override;
  HRESULT get_OriginY(LONG* y) override;
  HRESULT put_OriginY(LONG y) override;

  // After reading, the sinks follow the collection that was read.
  void persistCustom(ILumArchive& archive, LONG mode);
  void onContainedEvent(LONG sinkId, DISPID dispid, const std::vector<lum::Variant>& args) override;

  using Snapshot = lcGreyMorphologyParams;
  Snapshot snapshot();
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& p, int);

 private:
  void listenToElements(ILumIPOneImageGreyMorphology3x3Elements* elements);
  LONG elementSize();  // 2n + 1
  HRESULT putOrigin(LONG value, LONG lcGreyMorphologyFields::*field, DISPID stateId,
                    const wchar_t* method, const wchar_t* name, const wchar_t* sizeName);

  ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements_;
  // One sink per event of the collection (its items' changes, inserted, moved, cleared,
  // replaced, removed); let go of before elements_.
  std::array<lcSinkConnection, 6> elementSinks_;
};

LUM_PARAMETERS(lcGreyMorphologyNxMFields, LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageGreyMorphologyNxM final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageGreyMorphologyNxM,
                                      ILumIPOneImageGreyMorphologyNxM, lcGreyMorphologyNxMFields> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageGreyMorphologyNxM,     L"CLumIPOneImageGreyMorphologyNxM",
      L"Halvex.LumIPOneImageGreyMorphologyNxM", 1,
      L"Grey morphology with an N x M element", L"LumIPOneImageCtl.LumIPGreyMorphologyNxMEdit",
      L"LumIPOneImageGreyMorphologyNxMStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        lum::members(
            indexedProp<&Self::get_KernelWidth, &Self::put_KernelWidth>(
                L"KernelWidth", lumIPOneImageGreyMorphologyNxM_KernelWidth),
            indexedProp<&Self::get_KernelHeight, &Self::put_KernelHeight>(
                L"KernelHeight", lumIPOneImageGreyMorphologyNxM_KernelHeight),
            method<&Self::GetMaskValue>(L"GetMaskValue",
                                        lumIPOneImageGreyMorphologyNxM_GetMaskValue),
            method<&Self::SetMaskValue>(
                L"SetMaskValue", lcSetterDispatchId(lumIPOneImageGreyMorphologyNxM_GetMaskValue))
                .withoutResult(),
            method<&Self::GetKernelValue>(L"GetKernelValue",
                                          lumIPOneImageGreyMorphologyNxM_GetKernelValue),
            method<&Self::SetKernelValue>(
                L"SetKernelValue",
                lcSetterDispatchId(lumIPOneImageGreyMorphologyNxM_GetKernelValue))
                .withoutResult()),
        LUM_MEMBER_ROWS(LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES)

  HRESULT get_KernelWidth(LONG* width) override;
  HRESULT put_KernelWidth(LONG width) override;
  HRESULT get_KernelHeight(LONG* height) override;
  HRESULT put_KernelHeight(LONG height) override;
  HRESULT GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) override;
  HRESULT SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) override;
  HRESULT GetKernelValue(LONG column, LONG row, LONG* value) override;
  HRESULT SetKernelValue(LONG column, LONG row, LONG value) override;
  // Care mask and offsets as the bytes of core archives ("KernelMask", "KernelValues").
  void persistCustom(ILumArchive& archive, LONG mode);

  using Snapshot = lcGreyMorphologyParams;
  Snapshot snapshot();
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& p, int);

 private:
  void resize(LONG width, LONG height, DISPID stateId, LONG area);

  lcKernelGrid<uint8_t> care_{255};
  lcKernelGrid<int16_t> offsets_{0};
};
