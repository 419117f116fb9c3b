#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "lumxstd/round_regions.h"
#include "platform/safearray.h"
#include "std/rlebuf/region_encoding.h"
#include "support/conformance.h"
#include "support/core_objects.h"
#include "support/event_recorder.h"

using RoundRegions = ::testing::Types<lumxstd::CLumCircle, lumxstd::CLumEllipse,
                                      lumxstd::CLumCircularAnnulus, lumxstd::CLumEllipticalAnnulus,
                                      lumxstd::CLumEllipticalAnnulusSection, lumxstd::CLumPolygon>;
INSTANTIATE_TYPED_TEST_SUITE_P(Regions, ComponentConformance, RoundRegions);

namespace {

using lumtest::create;

ComPtr<ILumTransform2D> linear(double a, double b, double c, double d, double tx, double ty) {
  auto t = create<ILumTransform2DLinear>(CLSID_LumTransform2DLinear);
  t->SetValues(a, b, c, d, tx, ty);
  return t.as<ILumTransform2D>();
}

// The region's encoding as bytes with its window.
struct Encoding {
  LONG x = 0, y = 0, width = 0, height = 0;
  std::vector<uint8_t> bytes;
  friend bool operator==(const Encoding&, const Encoding&) = default;
};

Encoding encodingOf(ILumRegion* region) {
  Encoding e;
  lum::Variant rows;
  VARIANT_BOOL valid = VARIANT_FALSE;
  EXPECT_EQ(
      region->GetRunLengthEncoding(255, 0, &e.x, &e.y, &e.width, &e.height, rows.put(), &valid),
      S_OK);
  EXPECT_EQ(valid, VARIANT_TRUE);
  const SAFEARRAY* array = rows.get().parray;
  const auto* data = static_cast<const uint8_t*>(array->pvData);
  e.bytes.assign(data, data + array->rgsabound[0].cElements);
  return e;
}

Encoding encodingOf(const lcShape& shape) {
  const lcRLEBuffer rle = lcEncodeRegion(shape, 255, 0);
  return {rle.offsetX(), rle.offsetY(), rle.width(), rle.height(),
          std::vector<uint8_t>(rle.bytes().begin(), rle.bytes().end())};
}

TEST(RoundRegions, CircleMapsToItselfOrToAnEllipse) {
  auto circle = create<ILumCircle>(CLSID_LumCircle);
  circle->put_CenterX(10), circle->put_CenterY(20), circle->put_Radius(5);
  circle->put_SelectedSpaceName(lum::Bstr(L"Stage").get());
  ComPtr<ILumRegion> same, stretched;
  ASSERT_EQ(circle->Map(linear(1, 0, 0, 1, 0, 0).get(), same.put()), S_OK);
  EXPECT_TRUE(same.as<ILumCircle>());
  ASSERT_EQ(circle->Map(linear(0, -2, 1, 0, 3, 0).get(), stretched.put()), S_OK);
  auto ellipse = stretched.as<ILumEllipse>();
  ASSERT_TRUE(ellipse);
  double cx = 0, cy = 0, rx = 0, ry = 0;
  ellipse->get_CenterX(&cx), ellipse->get_CenterY(&cy);
  ellipse->get_RadiusX(&rx), ellipse->get_RadiusY(&ry);
  EXPECT_DOUBLE_EQ(cx, -37);
  EXPECT_DOUBLE_EQ(cy, 10);
  EXPECT_DOUBLE_EQ(rx, 10);
  EXPECT_DOUBLE_EQ(ry, 5);
  lum::Bstr space;
  stretched->get_SelectedSpaceName(space.put());
  EXPECT_EQ(space.view(), L"Stage");
}

TEST(RoundRegions, MappedSectionsKeepTheirPixelsThroughTurnsAndMirrors) {
  auto section = create<ILumEllipticalAnnulusSection>(CLSID_LumEllipticalAnnulusSection);
  section->put_CenterX(30), section->put_CenterY(25), section->put_RadiusX(12);
  section->put_RadiusY(7), section->put_Rotation(0.3), section->put_RadialScale(1.6);
  section->put_StartAngle(-0.5), section->put_EndAngle(2.5);
  const lcShapeHandle original = lcMakeHandle<lcEllipseAnnulusSection>(
      lcEllipseFromAxes({{30, 25}, 12, 7, 0.3}), 1.6, -0.5, 2.5);
  // A quarter turn and a mirror in x, both exact.
  for (const auto& [a, b, c, d] : {std::array{0., -1., 1., 0.}, std::array{-1., 0., 0., 1.}}) {
    ComPtr<ILumRegion> mapped;
    ASSERT_EQ(section->Map(linear(a, b, c, d, 100, 0).get(), mapped.put()), S_OK);
    ASSERT_TRUE(mapped.as<ILumEllipticalAnnulusSection>());
    const lc2XformLinear t(lc2Matrix(a, b, c, d), {100, 0});
    EXPECT_EQ(encodingOf(mapped.get()), encodingOf(*original->map(t)));
  }
}

TEST(RoundRegions, RingRegionsEncodeTheirShapes) {
  auto ring = create<ILumCircularAnnulus>(CLSID_LumCircularAnnulus);
  ring->put_CenterX(8), ring->put_Radius(6), ring->put_SecondRadius(3);
  EXPECT_EQ(encodingOf(ring.as<ILumRegion>().get()), encodingOf(lcAnnulus({8, 0}, 3, 6)));
  ComPtr<ILumRegion> mapped;
  ASSERT_EQ(ring->Map(linear(2, 0, 0, 1, 0, 0).get(), mapped.put()), S_OK);
  EXPECT_TRUE(mapped.as<ILumEllipticalAnnulus>());
}

TEST(LumPolygon, VerticesRoundTripRaiseOneChangeAndSurviveCopies) {
  auto polygon = create<ILumPolygon>(CLSID_LumPolygon);
  auto recorder = lum::makeComObject<EventRecorder>();
  adviseSink(polygon.get(), recorder.get());
  const double xy[] = {0, 0, 10, 0, 5, 8};
  lum::Variant values;
  values.ptr()->vt = VT_ARRAY | VT_R8;
  values.ptr()->parray = SafeArrayCreateVector(VT_R8, 0, 6);
  std::memcpy(values.ptr()->parray->pvData, xy, sizeof xy);
  ASSERT_EQ(polygon->SetVertices(values.get()), S_OK);
  ASSERT_EQ(polygon->SetVertices(values.get()), S_OK);  // unchanged: no event
  ASSERT_EQ(polygon->AddVertex(1, 7), S_OK);
  ASSERT_EQ(recorder->events().size(), 2u);
  EXPECT_EQ(recorder->events()[0].stateId(), lumPolygon_Vertices);
  for (const ComPtr<ILumPolygon>& copy :
       {lumtest::saveAndLoad(polygon.get()), lumtest::cloneOf(polygon.get())}) {
    ASSERT_TRUE(copy);
    LONG count = 0;
    double x = 0, y = 0;
    copy->get_VertexCount(&count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(copy->GetVertex(3, &x, &y), S_OK);
    EXPECT_EQ(std::pair(x, y), std::pair(1.0, 7.0));
  }
  double x = 0, y = 0;
  EXPECT_EQ(polygon->GetVertex(4, &x, &y), hresultFrom(0x8004C180));
  lum::Variant odd;
  odd.ptr()->vt = VT_ARRAY | VT_R8;
  odd.ptr()->parray = SafeArrayCreateVector(VT_R8, 0, 3);
  EXPECT_EQ(polygon->SetVertices(odd.get()), E_INVALIDARG);
  EXPECT_EQ(polygon->SetVertices(lum::Variant(1.0).get()), E_INVALIDARG);
}

}  // namespace
