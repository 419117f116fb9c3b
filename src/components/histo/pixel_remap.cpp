#include "components/histo/pixel_remap.h"

#include <cstring>
#include <string>
#include <vector>

#include "components/framework/core_bytes.h"
#include "components/framework/member_checks.h"
#include "components/histo/plot_graphics.h"
#include "ip/arith/table_map.h"
#include "ip/histo/histo_count.h"
#include "ip/histo/remap_tables.h"
#include "platform/safearray.h"

namespace {

constexpr uint32_t kMessageNotOneDimensional = 0x8004810C;  // "%1 must be a one-dimensional array."

constexpr DISPID kTableStates[] = {lumIPOneImagePixelMap_Map, lumIPOneImagePixelMap_Plane0Map,
                                   lumIPOneImagePixelMap_Plane1Map,
                                   lumIPOneImagePixelMap_Plane2Map};
constexpr const wchar_t* kTableKeys[] = {L"Map", L"Plane0Map", L"Plane1Map", L"Plane2Map"};

// Element i of a one-dimensional array of any element type, as a byte; E_INVALIDARG when
// it is no number from 0 to 255.
uint8_t byteAt(SAFEARRAY* array, VARTYPE type, LONG i) {
  lum::Variant element;
  VARIANT* raw = element.ptr();
  const HRESULT hr = type == VT_VARIANT ? SafeArrayGetElement(array, &i, raw)
                                        : SafeArrayGetElement(array, &i, &raw->bVal);
  if (type != VT_VARIANT && SUCCEEDED(hr)) raw->vt = type;
  if (FAILED(hr) || FAILED(element.changeType(VT_UI1)))
    throwInvalidArgument(kMessageOutOfRange, lcMessageArgs(L"Map", 0, 255));
  return element.get().bVal;
}

// A table from a one-dimensional array bounded 0 .. 255; bytes are copied as they are,
// other element types converted one by one.
lcPixelMapTables::Table tableFromArray(const VARIANT& given) {
  lum::Variant value;
  if (FAILED(VariantCopyInd(value.ptr(), &given)) || (value.type() & VT_ARRAY) == 0 ||
      value.get().parray == nullptr || SafeArrayGetDim(value.get().parray) != 1)
    throwInvalidArgument(kMessageNotOneDimensional, lcMessageArgs(L"Map"));
  SAFEARRAY* array = value.get().parray;
  LONG lower = 0, upper = 0;
  throwIfFailed(SafeArrayGetLBound(array, 1, &lower));
  throwIfFailed(SafeArrayGetUBound(array, 1, &upper));
  if (lower != 0 || upper != 255)
    throwInvalidArgument(kMessageBounds, lcMessageArgs(L"Map", lower, upper));
  lcPixelMapTables::Table table{};
  const auto type = static_cast<VARTYPE>(value.type() & VT_TYPEMASK);
  if (type == VT_UI1) {
    std::memcpy(table.data(), array->pvData, table.size());
    return table;
  }
  for (LONG i = 0; i < 256; ++i)
    table[i] = byteAt(array, type, i);
  return table;
}

}  // namespace

lcPixelMapTables::Table CLumIPOneImagePixelMap::tableCopy(int which) {
  lcLockGuard guard(core().lock());
  return tables[which];
}

HRESULT CLumIPOneImagePixelMap::getTable(int which, const wchar_t* method, VARIANT* table) {
  if (HRESULT hr = lcClearOutPointers(table); FAILED(hr)) return hr;
  return callBoundary(context(method), [&] { bytesToVariant(tableCopy(which)).detachTo(table); });
}

HRESULT CLumIPOneImagePixelMap::putTable(int which, const wchar_t* method, const VARIANT& table) {
  return callBoundary(context(method), [&] {
    const Table read = tableFromArray(table);
    {
      lcLockGuard guard(core().lock());
      tables[which] = read;
    }
    // Raised even when the contents did not change: a whole table was set.
    core().fireChange(kTableStates[which], *lum::Variant().ptr(), lumChangeSetByClient);
  });
}

namespace {

// The table over the plot area: entry i at x = i * 256 / 255, y = 256 - entry * 256 / 255,
// so that the identity is the diagonal and the table fills the axes the histogram has.
ComPtr<ILumGraphicCollection> drawTable(const lcPixelMapTables::Table& table, LONG color) {
  colorRange()(L"Color", color);
  constexpr double kStep = kPlotSize / 255;
  std::vector<double> xy;
  xy.reserve(2 * table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    xy.push_back(static_cast<double>(i) * kStep);
    xy.push_back(kPlotSize - table[i] * kStep);
  }
  lcPlotGraphics plot(false);
  plot.addPolyline(L"Map", xy, color, L"Map");
  plot.addAxes(L"Axes");
  return plot.collection();
}

}  // namespace

HRESULT CLumIPOneImagePixelMap::CreateGraphics(LONG color, IDispatch** graphic) {
  if (HRESULT hr = lcClearOutPointers(graphic); FAILED(hr)) return hr;
  return callBoundary(context(L"CreateGraphics"),
                      [&] { *graphic = drawTable(tableCopy(0), color).detach(); });
}

HRESULT CLumIPOneImagePixelMap::CreatePlanarGraphics(LONG color, LONG plane, IDispatch** graphic) {
  if (HRESULT hr = lcClearOutPointers(graphic); FAILED(hr)) return hr;
  return callBoundary(context(L"CreatePlanarGraphics"), [&] {
    if (plane < 0 || plane > 2)
      throwInvalidArgument(kMessageOutOfRange, lcMessageArgs(L"Plane", 0, 2));
    *graphic = drawTable(tableCopy(plane + 1), color).detach();
  });
}

void CLumIPOneImagePixelMap::persistCustom(ILumArchive& archive, LONG mode) {
  lcIPOneImageOperatorImpl::persistCustom(archive, mode);
  std::array<Table, 4> held;
  {
    lcLockGuard guard(core().lock());
    held = tables;
  }
  for (int which = 0; which < 4; ++which)
    for (int i = 0; i < 256; ++i) {
      const lum::Bstr key((kTableKeys[which] + std::to_wstring(i)).c_str());
      BYTE entry = held[which][i];
      throwIfFailed(archive.PersistUI1(key.get(), &entry));
      held[which][i] = entry;  // unchanged when writing or when the archive lacks it
    }
  if (mode & lumPersistWriting) return;
  lcLockGuard guard(core().lock());
  tables = held;
}

void CLumIPOneImagePixelMap::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                 const Parameters& p, int plane) {
  lcTableMap(source, result, {p.tables[plane < 0 ? 0 : plane + 1]});
}

namespace {

// Counts the window's own histogram, makes a table of it and applies the table.
template <class T, class MakeTable>
void remapByOwnHistogram(const lcPelBuffer<T>& source, lcPelBuffer<T>& result,
                         const MakeTable& makeTable) {
  std::vector<uint64_t> bins(std::size_t{1} << (8 * sizeof(T)));
  lcCountHistogram(source, {}, bins);
  const std::vector<T> table = makeTable(std::span<const uint64_t>(bins));
  lcTableMap(source, result, {table});
}

}  // namespace

void CLumIPOneImageEqualize::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                 const Parameters&, int) {
  remapByOwnHistogram(source, result, lcEqualizeTable<uint8_t>);
}

void CLumIPOneImageEqualize::run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                                 const Parameters&) {
  remapByOwnHistogram(source, result, lcEqualizeTable<uint16_t>);
}

void CLumIPOneImageQuantize::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                 const Parameters& p, int) {
  remapByOwnHistogram(source, result, [&](std::span<const uint64_t> bins) {
    return lcQuantizeTable<uint8_t>(bins, p.Levels + 1);
  });
}

void CLumIPOneImageQuantize::run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                                 const Parameters& p) {
  remapByOwnHistogram(source, result, [&](std::span<const uint64_t> bins) {
    return lcQuantizeTable<uint16_t>(bins, p.Levels + 1);
  });
}
