#include "components/gmorph/grey_morphology.h"

#include <array>

#include "lumxip/HalvexImageProcessing.h"

namespace {

using ElementFields = lcGMorph3x3ElementFields;

// Cells in position-bit order (NE = 1, N = 2, ..., Center = 256): their member-value
// fields and their places in the 3 x 3 grid.
constexpr LONG ElementFields::*kMemberValues[9] = {
    &ElementFields::MemberValueNE,    &ElementFields::MemberValueN,
    &ElementFields::MemberValueNW,    &ElementFields::MemberValueW,
    &ElementFields::MemberValueSW,    &ElementFields::MemberValueS,
    &ElementFields::MemberValueSE,    &ElementFields::MemberValueE,
    &ElementFields::MemberValueCenter};
constexpr std::array<std::pair<int, int>, 9> kCells = {
    {{2, 0}, {1, 0}, {0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {1, 1}}};

// The don't-care cells of each type, from 3x3Square (1) to Custom (7).
constexpr LONG kTypeMasks[7] = {0, 0x55, 0x77, 0xEE, 0xDD, 0xBB, 0};

// The cell of a single position bit; E_INVALIDARG for anything else.
std::size_t cellOf(LONG position) {
  for (std::size_t cell = 0; cell < 9; ++cell)
    if (position == LONG{1} << cell) return cell;
  throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"Position"));
}

}  // namespace

// ---- LumIPOneImageGreyMorphology3x3Element ----

HRESULT CLumIPOneImageGreyMorphology3x3Element::get_Type(
    LumIPOneImageMorphology3x3ElementTypeConstants* type) {
  if (type == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *type = Type;
  return S_OK;
}

HRESULT CLumIPOneImageGreyMorphology3x3Element::put_Type(
    LumIPOneImageMorphology3x3ElementTypeConstants type) {
  return callBoundary(context(L"put_Type"), [&] {
    if (type < lumIPOneImageMorphology3x3ElementType3x3Square ||
        type > lumIPOneImageMorphology3x3ElementTypeCustom)
      throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"Type"));
    {
      lcLockGuard guard(core().lock());
      if (Type == type) return;
      Type = type;
    }
    core().fireChange(lumIPOneImageGreyMorphology3x3Element_Type, *lum::Variant(LONG{type}).ptr(),
                      lumChangeSetByClient);
    throwIfFailed(put_MemberMask(LumIPOneImageMorphologyPositionConstants(kTypeMasks[type - 1])));
  });
}

HRESULT CLumIPOneImageGreyMorphology3x3Element::get_MemberValue(
    LumIPOneImageMorphologyPositionConstants position, LONG* value) {
  if (value == nullptr) return E_POINTER;
  *value = 0;
  return callBoundary(context(L"get_MemberValue"), [&] {
    const std::size_t cell = cellOf(position);
    lcLockGuard guard(core().lock());
    *value = this->*kMemberValues[cell];
  });
}

HRESULT CLumIPOneImageGreyMorphology3x3Element::put_MemberValue(
    LumIPOneImageMorphologyPositionConstants position, LONG value) {
  return callBoundary(context(L"put_MemberValue"), [&] {
    const std::size_t cell = cellOf(position);
    if (value < -128 || value > 127)
      throwInvalidArgument(kMessageOutOfRange, lcMessageArgs(L"MemberValue", -128, 127));
    {
      lcLockGuard guard(core().lock());
      if (this->*kMemberValues[cell] == value) return;
      this->*kMemberValues[cell] = value;
    }
    core().fireChange(lumIPOneImageGreyMorphology3x3Element_MemberValue, *lum::Variant(value).ptr(),
                      lumChangeSetByClient);
  });
}

lcMorphElement CLumIPOneImageGreyMorphology3x3Element::element() {
  lcLockGuard guard(core().lock());
  lcMorphElement element;
  for (std::size_t cell = 0; cell < 9; ++cell) {
    const auto [x, y] = kCells[cell];
    const std::size_t at = static_cast<std::size_t>(3 * y + x);
    element.care[at] = (MemberMask >> cell & 1) != 0 ? 0 : 255;
    element.offsets[at] = static_cast<int16_t>(
        Type == lumIPOneImageMorphology3x3ElementTypeCustom ? this->*kMemberValues[cell] : 0);
  }
  return element;
}

// ---- LumIPOneImageGreyMorphology ----

namespace {

// An element read through its interface, so that any object answering it serves.
lcMorphElement readElement(ILumIPOneImageGreyMorphology3x3Element& item) {
  LumIPOneImageMorphology3x3ElementTypeConstants type{};
  LumIPOneImageMorphologyPositionConstants mask{};
  throwIfFailed(item.get_Type(&type));
  throwIfFailed(item.get_MemberMask(&mask));
  lcMorphElement element;
  for (std::size_t cell = 0; cell < 9; ++cell) {
    const auto [x, y] = kCells[cell];
    const std::size_t at = static_cast<std::size_t>(3 * y + x);
    LONG value = 0;
    if (type == lumIPOneImageMorphology3x3ElementTypeCustom)
      throwIfFailed(
          item.get_MemberValue(LumIPOneImageMorphologyPositionConstants(1 << cell), &value));
    element.care[at] = (mask >> cell & 1) != 0 ? 0 : 255;
    element.offsets[at] = static_cast<int16_t>(std::clamp<LONG>(value, -255, 255));
  }
  return element;
}

}  // namespace

HRESULT CLumIPOneImageGreyMorphology::FinalConstruct() {
  if (HRESULT hr = lcIPOneImageOperatorImpl::FinalConstruct(); FAILED(hr)) return hr;
  return callBoundary(context(L"FinalConstruct"), [&] {
    ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements;
    throwIfFailed(CLumIPOneImageGreyMorphology3x3Elements::createInstance(
        nullptr, iid_of<ILumIPOneImageGreyMorphology3x3Elements>, elements.putVoid()));
    ComPtr<ILumIPOneImageGreyMorphology3x3Element> square;
    throwIfFailed(CLumIPOneImageGreyMorphology3x3Element::createInstance(
        nullptr, iid_of<ILumIPOneImageGreyMorphology3x3Element>, square.putVoid()));
    throwIfFailed(elements->Add(square.get(), -1));
    listenToElements(elements.get());
    lcLockGuard guard(core().lock());
    elements_ = std::move(elements);
  });
}

void CLumIPOneImageGreyMorphology::listenToElements(
    ILumIPOneImageGreyMorphology3x3Elements* elements) {
  // The collection raises its items' changes (as state -2) and its own events through its
  // event interface; a sink passes on one event, so one sink serves each.
  static const lcSinkFilter kFilters[] = {{},
                                          {DISPID_LumCollectionInserted, 1, {0}},
                                          {DISPID_LumCollectionMoved, 2, {0, 1}},
                                          {DISPID_LumCollectionCleared, 0, {}},
                                          {DISPID_LumCollectionReplaced, 2, {0}},
                                          {DISPID_LumCollectionRemoved, 2, {0}}};
  static_assert(std::size(kFilters) == std::tuple_size_v<decltype(elementSinks_)>);
  for (std::size_t i = 0; i < elementSinks_.size(); ++i) {
    if (elements == nullptr) {
      elementSinks_[i].reset();
      continue;
    }
    auto sink = lum::makeComObject<lcAdviseSink>(this, static_cast<LONG>(i),
                                                 DIID_ILumCollectionEvents, kFilters[i]);
    throwIfFailed(sink->connect(elements));
    elementSinks_[i] = lcSinkConnection(std::move(sink));
  }
}

void CLumIPOneImageGreyMorphology::persistCustom(ILumArchive& archive, LONG mode) {
  lcIPOneImageOperatorImpl::persistCustom(archive, mode);
  if (mode & lumPersistWriting) return;
  ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements;
  {
    lcLockGuard guard(core().lock());
    elements = elements_;
  }
  listenToElements(elements.get());
}

void CLumIPOneImageGreyMorphology::onContainedEvent(LONG, DISPID,
                                                    const std::vector<lum::Variant>&) {
  try {
    core().fireChange(lumIPOneImageGreyMorphology_Elements, lumChangeSetByClient);
  } catch (...) {
    // An event handler has no caller to report to.
  }
}

LONG CLumIPOneImageGreyMorphology::elementSize() {
  ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements;
  {
    lcLockGuard guard(core().lock());
    elements = elements_;
  }
  LONG count = 0;
  if (elements) throwIfFailed(elements->get_Count(&count));
  return 2 * count + 1;
}

HRESULT CLumIPOneImageGreyMorphology::get_Width(LONG* width) {
  if (width == nullptr) return E_POINTER;
  *width = 0;
  return callBoundary(context(L"get_Width"), [&] { *width = elementSize(); });
}

HRESULT CLumIPOneImageGreyMorphology::get_Height(LONG* height) {
  if (height == nullptr) return E_POINTER;
  *height = 0;
  return callBoundary(context(L"get_Height"), [&] { *height = elementSize(); });
}

HRESULT CLumIPOneImageGreyMorphology::get_OriginX(LONG* x) {
  if (x == nullptr) return E_POINTER;
  *x = 0;
  return callBoundary(context(L"get_OriginX"), [&] {
    const LONG size = elementSize();
    lcLockGuard guard(core().lock());
    *x = OriginX < 0 ? size / 2 : OriginX;
  });
}

HRESULT CLumIPOneImageGreyMorphology::get_OriginY(LONG* y) {
  if (y == nullptr) return E_POINTER;
  *y = 0;
  return callBoundary(context(L"get_OriginY"), [&] {
    const LONG size = elementSize();
    lcLockGuard guard(core().lock());
    *y = OriginY < 0 ? size / 2 : OriginY;
  });
}

HRESULT CLumIPOneImageGreyMorphology::putOrigin(LONG value, LONG lcGreyMorphologyFields::*field,
                                                DISPID stateId, const wchar_t* method,
                                                const wchar_t* name, const wchar_t* sizeName) {
  return callBoundary(context(method), [&] {
    const LONG size = elementSize();
    if (value < 0 || value >= size)
      throwInvalidArgument(kMessageIndexOutside, lcMessageArgs::texts({name, sizeName}));
    {
      lcLockGuard guard(core().lock());
      const LONG current = this->*field < 0 ? size / 2 : this->*field;
      if (current == value) return;
      this->*field = value;
    }
    core().fireChange(stateId, *lum::Variant(value).ptr(), lumChangeSetByClient);
  });
}

HRESULT CLumIPOneImageGreyMorphology::put_OriginX(LONG x) {
  return putOrigin(x, &lcGreyMorphologyFields::OriginX, lumIPOneImageGreyMorphology_OriginX,
                   L"put_OriginX", L"OriginX", L"Width");
}

HRESULT CLumIPOneImageGreyMorphology::put_OriginY(LONG y) {
  return putOrigin(y, &lcGreyMorphologyFields::OriginY, lumIPOneImageGreyMorphology_OriginY,
                   L"put_OriginY", L"OriginY", L"Height");
}

CLumIPOneImageGreyMorphology::Snapshot CLumIPOneImageGreyMorphology::snapshot() {
  lcGreyMorphologyParams params;
  ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements;
  {
    lcLockGuard guard(core().lock());
    elements = elements_;
    params.operation = static_cast<lcMorphOperation>(Operation);
    params.originX = OriginX;
    params.originY = OriginY;
  }
  LONG count = 0;
  if (elements) throwIfFailed(elements->get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    ComPtr<ILumIPOneImageGreyMorphology3x3Element> item;
    throwIfFailed(elements->get_Item(i, item.put()));
    params.passes.push_back(readElement(*item));
  }
  params.border = lcMorphBorder::Fit;
  return params;
}

void CLumIPOneImageGreyMorphology::run(const lcPelBuffer<uint8_t>& source,
                                       lcPelBuffer<uint8_t>& result, const Snapshot& p, int) {
  lcGreyMorphology(source, result, p);
}

// ---- LumIPOneImageGreyMorphologyNxM ----

HRESULT CLumIPOneImageGreyMorphologyNxM::get_KernelWidth(LONG* width) {
  if (width == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *width = care_.width();
  return S_OK;
}

HRESULT CLumIPOneImageGreyMorphologyNxM::get_KernelHeight(LONG* height) {
  if (height == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *height = care_.height();
  return S_OK;
}

void CLumIPOneImageGreyMorphologyNxM::resize(LONG width, LONG height, DISPID stateId, LONG area) {
  {
    lcLockGuard guard(core().lock());
    width = width == 0 ? care_.width() : width;
    height = height == 0 ? care_.height() : height;
    offsets_.resize(width, height);
    if (!care_.resize(width, height)) return;
  }
  core().fireChange(stateId, lumChangeSetByClient | area);
}

HRESULT CLumIPOneImageGreyMorphologyNxM::put_KernelWidth(LONG width) {
  return callBoundary(context(L"put_KernelWidth"), [&] {
    lcCheckKernelSize(width);
    resize(width, 0, lumIPOneImageGreyMorphologyNxM_KernelWidth,
           lumFA_IPOneImageGreyMorphologyNxM_Width);
  });
}

HRESULT CLumIPOneImageGreyMorphologyNxM::put_KernelHeight(LONG height) {
  return callBoundary(context(L"put_KernelHeight"), [&] {
    lcCheckKernelSize(height);
    resize(0, height, lumIPOneImageGreyMorphologyNxM_KernelHeight,
           lumFA_IPOneImageGreyMorphologyNxM_Height);
  });
}

HRESULT CLumIPOneImageGreyMorphologyNxM::GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) {
  if (care == nullptr) return E_POINTER;
  *care = VARIANT_FALSE;
  return callBoundary(context(L"GetMaskValue"), [&] {
    lcLockGuard guard(core().lock());
    *care = care_.get(column, row) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

HRESULT CLumIPOneImageGreyMorphologyNxM::SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) {
  return callBoundary(context(L"SetMaskValue"), [&] {
    {
      lcLockGuard guard(core().lock());
      if (!care_.set(column, row, care != 0 ? 255 : 0)) return;
    }
    core().fireChange(lumIPOneImageGreyMorphologyNxM_GetMaskValue,
                      *lum::Variant(care != 0 ? VARIANT_TRUE : VARIANT_FALSE).ptr(),
                      lumChangeSetByClient);
  });
}

HRESULT CLumIPOneImageGreyMorphologyNxM::GetKernelValue(LONG column, LONG row, LONG* value) {
  if (value == nullptr) return E_POINTER;
  *value = 0;
  return callBoundary(context(L"GetKernelValue"), [&] {
    lcLockGuard guard(core().lock());
    *value = offsets_.get(column, row);
  });
}

HRESULT CLumIPOneImageGreyMorphologyNxM::SetKernelValue(LONG column, LONG row, LONG value) {
  return callBoundary(context(L"SetKernelValue"), [&] {
    {
      lcLockGuard guard(core().lock());
      offsets_.checkCell(column, row);
      if (value < -255 || value > 255)
        throwInvalidArgument(kMessageOutOfRange, lcMessageArgs(L"KernelValue", -255, 255));
      if (!offsets_.set(column, row, static_cast<int16_t>(value))) return;
    }
    core().fireChange(lumIPOneImageGreyMorphologyNxM_GetKernelValue, *lum::Variant(value).ptr(),
                      lumChangeSetByClient);
  });
}

void CLumIPOneImageGreyMorphologyNxM::persistCustom(ILumArchive& archive, LONG mode) {
  lcPelBuffer<uint8_t> care;
  lcPelBuffer<int16_t> offsets;
  {
    lcLockGuard guard(core().lock());
    care = care_.cells();
    offsets = offsets_.cells();
  }
  const bool careRead = lcKernelGrid<uint8_t>::persist(archive, mode, L"KernelMask", care);
  const bool offsetsRead = lcKernelGrid<int16_t>::persist(archive, mode, L"KernelValues", offsets);
  if (!careRead || !offsetsRead) return;
  if (care.width() != offsets.width() || care.height() != offsets.height()) {
    archive.AddProblem(lum::Bstr(L"KernelValues").get(), lum::Bstr(L"<not the mask's size>").get());
    return;
  }
  lcLockGuard guard(core().lock());
  care_.adopt(std::move(care));
  offsets_.adopt(std::move(offsets));
}

CLumIPOneImageGreyMorphologyNxM::Snapshot CLumIPOneImageGreyMorphologyNxM::snapshot() {
  lcLockGuard guard(core().lock());
  lcMorphElement element{care_.width(), care_.height(), {}, {}};
  const lcPelRows<const uint8_t> care = care_.cells().rows();
  const lcPelRows<const int16_t> offsets = offsets_.cells().rows();
  for (int32_t y = 0; y < care.height; ++y)
    for (int32_t x = 0; x < care.width; ++x) {
      element.care.push_back(care[y][x]);
      element.offsets.push_back(KernelEnabled.value ? offsets[y][x] : int16_t{0});
    }
  lcGreyMorphologyParams params;
  params.passes = {std::move(element)};
  params.operation = static_cast<lcMorphOperation>(Operation);
  params.border = lcMorphBorder::Clipped;
  params.imageMask =
      lcMaskImageBuffer(InputImageMask.get(), InputImageMaskOffsetX, InputImageMaskOffsetY);
  return params;
}

void CLumIPOneImageGreyMorphologyNxM::run(const lcPelBuffer<uint8_t>& source,
                                          lcPelBuffer<uint8_t>& result, const Snapshot& p, int) {
  lcGreyMorphology(source, result, p);
}
