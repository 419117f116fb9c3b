#include <gtest/gtest.h>

#include "components/framework/module_registration.h"
#include "lumxstd/images.h"
#include "lumxstd/regions.h"
#include "lumxstd/transform_objects.h"
#include "std/math/xform_linear_object.h"
#include "support/error_info_probe.h"
#include "support/test_images.h"
#include "test_operator.h"

namespace {

constexpr LONG kW = 6, kH = 4;

using lumtest::createObject;

int zero(int, int) {
  return 0;
}

ComPtr<ILumImage> grey8() {
  return lumtest::grey8Image(kW, kH, zero);
}

ComPtr<ILumImage> grey16(LONG depth = lumPixelDepth16Bits) {
  return lumtest::grey16Image(kW, kH, zero, depth);
}

ComPtr<ILumImage> planar(LONG colorSpace) {
  auto image = createObject<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
  image->SetPlanePixelMemories(lumtest::memory8(kW, kH, zero).get(),
                               lumtest::memory8(kW, kH, zero).get(),
                               lumtest::memory8(kW, kH, zero).get(), colorSpace);
  return image.as<ILumImage>();
}

ComPtr<ILumImage> range16() {
  return lumtest::range16Image(kW, kH, zero, zero);
}

ComPtr<CTestIdentity> makeOperator() {
  auto op = lum::makeComObject<CTestIdentity>();
  EXPECT_EQ(op->FinalConstruct(), S_OK);
  return op;
}

// The address of pixel (0, 0) of an 8-bit or 16-bit image, whatever its format.
const void* firstPixel(ILumImage* image) {
  if (auto access = ComPtr<ILumImage>(image).as<ILumImage8PixelAccess>()) {
    ComPtr<ILumImage8PixelMemory> memory;
    access->GetPixelMemory(1, 0, 0, 0, 0, memory.put());
    BYTE* address = nullptr;
    memory->get_Address(&address);
    return address;
  }
  ComPtr<ILumImage16PixelMemory> memory;
  if (auto access = ComPtr<ILumImage>(image).as<ILumImage16PixelAccess>()) {
    access->GetPixelMemory(1, 0, 0, 0, 0, memory.put());
  } else {
    ComPtr<ILumImage8PixelMemory> mask;
    ComPtr<ILumImage>(image).as<ILumImage16RangePixelAccess>()->GetPixelMemory(
        1, 0, 0, 0, 0, memory.put(), mask.put());
  }
  USHORT* address = nullptr;
  memory->get_Address(&address);
  return address;
}

// Where a point of the image's selected space lands in its pixels.
lc2Vector pixelOf(ILumImage* image, lc2Vector client) {
  ComPtr<ILumTransform2D> t;
  EXPECT_EQ(image->GetTransform(lum::Bstr(L"#").get(), lum::Bstr(L".").get(), t.put()), S_OK);
  lc2Vector p;
  if (t) t->MapPoint(client.x, client.y, &p.x, &p.y);
  return p;
}

// Gives an image a selected user space turned by 30 degrees and moved by (5, -2), and a
// pixel-from-root transform scaling by 2: any mistake in the order of composition shows.
void placeRotated(ILumImage* image) {
  auto tree = createObject<ILumCoordSpaceTree>(CLSID_LumCoordSpaceTree);
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  tree->AddSpace(
      lum::Bstr(L"@").get(), lum::Bstr(L"Turned").get(),
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(c, -s, s, c), {5, -2})).get());
  image->put_CoordSpaceTree(tree.get());
  image->put_SelectedSpaceName(lum::Bstr(L"Turned").get());
  image->put_PixelFromRootTransform(
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(2, 0, 0, 2), {0, 0})).get());
}

TEST(ExecuteFrame, EveryFormatGoesThroughWithoutCopyingPixels) {
  struct Case {
    const char* name;
    ComPtr<ILumImage> input;
    int path;
  };
  const Case cases[] = {{"grey 8", grey8(), 8},
                        {"grey 16", grey16(), 16},
                        {"planar", planar(lumColorSpaceHSI), 24},
                        {"range", range16(), 17}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto op = makeOperator();
    placeRotated(c.input.get());
    ComPtr<ILumImage> output;
    ASSERT_EQ(
        op->Execute(c.input.get(), lumRegionModePixelAlignedBoundingBox, nullptr, output.put()),
        S_OK);
    EXPECT_EQ(op->options.lastPath, c.path);
    if (c.path != 24) {
      EXPECT_EQ(firstPixel(output.get()), firstPixel(c.input.get()));
    }
    // The output keeps the input's spaces: a client point lands on the same pixel.
    const lc2Vector client{1.25, -0.5};
    const lc2Vector in = pixelOf(c.input.get(), client), out = pixelOf(output.get(), client);
    EXPECT_NEAR(in.x, out.x, 1e-12);
    EXPECT_NEAR(in.y, out.y, 1e-12);
    if (c.path == 24) {
      LONG space = 0;
      output.as<ILumImage24PlanarColor>()->get_ColorSpace(&space);
      EXPECT_EQ(space, lumColorSpaceHSI) << "colour in, colour out, same colour space";
    }
  }
}

TEST(ExecuteFrame, ACroppedResultIsPlacedOnePixelFurther) {
  auto op = makeOperator();
  op->options.crop = true;
  auto input = grey8();
  placeRotated(input.get());
  ComPtr<ILumImage> output;
  ASSERT_EQ(op->Execute(input.get(), 1, nullptr, output.put()), S_OK);
  LONG width = 0;
  output->get_Width(&width);
  EXPECT_EQ(width, kW - 2);
  const lc2Vector client{0.75, 2.5};
  const lc2Vector in = pixelOf(input.get(), client), out = pixelOf(output.get(), client);
  EXPECT_NEAR(out.x, in.x - 1, 1e-12) << "output pixel (0, 0) is input pixel (1, 1)";
  EXPECT_NEAR(out.y, in.y - 1, 1e-12);
  ComPtr<ILumImage8PixelMemory> memory;
  input.as<ILumImage8PixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0, memory.put());
  LONG stride = 0;
  memory->get_Stride(&stride);
  EXPECT_EQ(static_cast<const BYTE*>(firstPixel(output.get())),
            static_cast<const BYTE*>(firstPixel(input.get())) + stride + 1)
      << "the output shows the result buffer's first pixel";
}

TEST(ExecuteFrame, TheFirstAcceptedFormatWinsAndDepthIsCopiedOnRequest) {
  auto op = makeOperator();
  auto dual = lum::makeComObject<ComposedImage>();
  auto eight = grey8(), sixteen = grey16(lumPixelDepth10Bits);
  dual->inner = eight;
  dual->answers = {{iid_of<ILumImage8Grey>, eight},
                   {iid_of<ILumImage8PixelAccess>, eight},
                   {iid_of<ILumImage16Grey>, sixteen},
                   {iid_of<ILumImage16PixelAccess>, sixteen}};
  ComPtr<ILumImage> output;
  ASSERT_EQ(op->Execute(dual.get(), 1, nullptr, output.put()), S_OK);
  EXPECT_EQ(op->options.lastPath, 8);

  op->options.copyDepth = true;
  ASSERT_EQ(op->Execute(sixteen.get(), 1, nullptr, output.put()), S_OK);
  LONG depth = 0;
  output.as<ILumImage16Grey>()->get_PixelDepth(&depth);
  EXPECT_EQ(depth, lumPixelDepth10Bits);
  auto range = range16();
  range.as<ILumImage16Range>()->put_PixelDepth(lumPixelDepth14Bits);
  ASSERT_EQ(op->Execute(range.get(), 1, nullptr, output.put()), S_OK);
  output.as<ILumImage16Range>()->get_PixelDepth(&depth);
  EXPECT_EQ(depth, lumPixelDepth14Bits) << "range images carry a depth code too";
  op->options.copyDepth = false;
  ASSERT_EQ(op->Execute(sixteen.get(), 1, nullptr, output.put()), S_OK);
  output.as<ILumImage16Grey>()->get_PixelDepth(&depth);
  EXPECT_EQ(depth, lumPixelDepth16Bits) << "new 16-bit images say 16 bits";
}

TEST(ExecuteFrame, FailuresReturnTheirCodeAndNothingElse) {
  auto withoutAccess = lum::makeComObject<ComposedImage>();
  withoutAccess->inner = grey8();
  withoutAccess->answers = {{iid_of<ILumImage8Grey>, withoutAccess->inner}};

  // Selected space "#" with a non-linear pixel-from-root: its root-to-selected transform
  // exists but is not linear.
  auto nonLinear = grey8();
  nonLinear->put_PixelFromRootTransform(lum::makeComObject<WavyTransform>().get());
  nonLinear->put_SelectedSpaceName(lum::Bstr(L"#").get());
  auto noPixels = createObject<ILumImage8Grey>(CLSID_LumImage8Grey).as<ILumImage>();
  // Selected space "@": the transform to the pixels is the non-linear pixel-from-root, so
  // the input's buffer could only carry an approximation of it.
  auto nonLinearInput = grey8();
  nonLinearInput->put_PixelFromRootTransform(lum::makeComObject<WavyTransform>().get());

  struct Case {
    const char* name;
    ILumImage* input;
    LONG regionMode;
    IdentityOptions options;
    HRESULT expected;
    uint32_t helpContext;  // 0: not checked
  };
  IdentityOptions colourOnly;
  colourOnly.formats = lcImageFormatGrey16;
  auto plain = grey8();
  const Case cases[] = {
      {"null input", nullptr, 1, {}, hresultFrom(0x8004E400), 0},
      {"region mode 0", plain.get(), 0, {}, E_INVALIDARG, 0x80048101},
      {"format not accepted", plain.get(), 1, colourOnly, hresultFrom(0x8004E105), 0},
      {"non-linear template", nonLinear.get(), 1, {}, hresultFrom(0x8004E200), 0},
      {"non-linear input", nonLinearInput.get(), 1, {}, hresultFrom(0x8004E200), 0},
      {"no pixel access", withoutAccess.get(), 1, {}, E_INVALIDARG, 0},
      {"no pixels", noPixels.get(), 1, {}, hresultFrom(0x8004E102), 0},
  };
  const long componentsBefore = liveComponentCount();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto op = makeOperator();
    op->options = c.options;
    ComPtr<ILumImage> output;
    EXPECT_EQ(op->Execute(c.input, c.regionMode, nullptr, output.put()), c.expected);
    EXPECT_FALSE(output);
    const auto info = lumtest::takeErrorInfo();
    EXPECT_TRUE(info.present);
    if (c.helpContext) {
      EXPECT_EQ(info.helpContext, c.helpContext);
    }
  }
  EXPECT_EQ(liveComponentCount(), componentsBefore) << "nothing made on the way is kept";
  ComPtr<ILumImage> output;
  EXPECT_EQ(makeOperator()->Execute(grey8().get(), 1, nullptr, nullptr), E_POINTER);
}

TEST(ImageBridge, APlanarResultOfAnUnknownColourSpaceIsRefused) {
  auto input = planar(lumColorSpaceRGB);
  const lcErrorContext context{CLSID_NULL, IID_NULL, L"Execute", L"Halvex.Test"};
  ComPtr<ILumImage> output;
  const HRESULT hr = callBoundary(context, [&] {
    lc3PlanePelBuffer buffer = lcInputBuffer24({input.get()});
    buffer.setColorSpace(3);
    output = lcOutputImage24(buffer, input.get());
  });
  EXPECT_EQ(hr, E_INVALIDARG);
  EXPECT_FALSE(output);
  EXPECT_EQ(lumtest::takeErrorInfo().helpContext, 0x8004810Au);
}

}  // namespace

namespace {

ComPtr<ILumRegion> rectangle(double x, double y, double w, double h, const wchar_t* space = L"@") {
  auto r = createObject<ILumRectangle>(CLSID_LumRectangle);
  r->put_X(x), r->put_Y(y), r->put_Width(w), r->put_Height(h);
  r->put_SelectedSpaceName(lum::Bstr(space).get());
  return r.as<ILumRegion>();
}

TEST(ExecuteFrame, ARegionCutsTheWindowToItsPixelAlignedBox) {
  auto op = makeOperator();
  auto input = grey8();
  struct Case {
    const char* name;
    ComPtr<ILumRegion> region;
    LONG width, height;
  };
  const Case cases[] = {
      // Pixel centres inside x in [1.5, 4.5) are columns 1..3; in y in [0.5, 2.5), rows 0..1.
      {"inside", rectangle(1.5, 0.5, 3, 2), 3, 2},
      {"around the image", rectangle(-1, -1, 8, 6), kW, kH},
      {"beyond the 32-bit range", rectangle(-1e10, -1e10, 2e10, 2e10), kW, kH},
      {"wider than the 32-bit range", rectangle(-3e9, 0, 3e9 + 10, 4), kW, kH},
  };
  ComPtr<ILumImage> output;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(op->Execute(input.get(), 1, c.region.get(), output.put()), S_OK);
    LONG width = 0, height = 0;
    output->get_Width(&width), output->get_Height(&height);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
  }
  ASSERT_EQ(op->Execute(input.get(), 1, rectangle(1.5, 0.5, 3, 2).get(), output.put()), S_OK);
  const lc2Vector p = pixelOf(output.get(), {1.5, 0.5});
  EXPECT_EQ(p.x, 0.5) << "root (1.5, 0.5) lies on output pixel (0.5, 0.5)";
  EXPECT_EQ(p.y, 0.5);

  // The affine mode without a region takes the whole image, as every mode does.
  ASSERT_EQ(op->Execute(input.get(), lumRegionModeAffineTransform, nullptr, output.put()), S_OK);
  LONG width = 0;
  output->get_Width(&width);
  EXPECT_EQ(width, kW);
}

TEST(ExecuteFrame, AffineModeStraightensTheRegionIntoNewPixels) {
  auto input = lumtest::grey8Image(kW, kH, [](int x, int y) { return 10 * x + y; });
  // Side X runs down column 4 from row 1, side Y leftwards along row 1: a quarter turn.
  auto region = createObject<ILumRectangleAffine>(CLSID_LumRectangleAffine);
  region->SetUnitSquareTransform(
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(0, -3, 3, 0), {5, 1})).get());
  ComPtr<ILumImage> output;
  ASSERT_EQ(makeOperator()->Execute(input.get(), lumRegionModeAffineTransform,
                                    region.as<ILumRegion>().get(), output.put()),
            S_OK);
  EXPECT_NE(firstPixel(output.get()), firstPixel(input.get()));
  const auto pels = lumtest::pixels8(output.get());
  ASSERT_EQ(pels.size(), 3u);
  ASSERT_EQ(pels[0].size(), 3u);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(pels[j][i], 10 * (4 - j) + 1 + i) << i << "," << j;
  // Every output pixel keeps the client position of the input pixel it came from.
  const lc2Vector p = pixelOf(output.get(), {4.5, 2.5});
  EXPECT_NEAR(p.x, 1.5, 1e-12);
  EXPECT_NEAR(p.y, 0.5, 1e-12);
}

TEST(ExecuteFrame, RegionFailures) {
  auto input = grey8();
  auto affine = createObject<ILumRectangleAffine>(CLSID_LumRectangleAffine).as<ILumRegion>();
  struct Case {
    const char* name;
    ComPtr<ILumRegion> region;
    LONG mode;
    HRESULT expected;
    uint32_t helpContext;
  };
  const Case cases[] = {
      {"unknown space", rectangle(0, 0, 2, 2, L"Nowhere"), 1, hresultFrom(0x8004E402), 0},
      {"affine mode, not affine", rectangle(0, 0, 2, 2), 2, hresultFrom(0x8004E402), 0x8004E301},
      {"wholly outside", rectangle(50, 50, 2, 2), 1, hresultFrom(0x8004E103), 0},
      {"outside, beyond the 32-bit range", rectangle(-1e10, 0, 1e9, 4), 1, hresultFrom(0x8004E103),
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComPtr<ILumImage> output;
    EXPECT_EQ(makeOperator()->Execute(input.get(), c.mode, c.region.get(), output.put()),
              c.expected);
    EXPECT_FALSE(output);
    const auto info = lumtest::takeErrorInfo();
    if (c.helpContext) {
      EXPECT_EQ(info.helpContext, c.helpContext);
    }
  }
}

TEST(Regions, AnAffineRectangleMappedByARotationKeepsItsCorners) {
  const lcAffineRectangle corners({1, 2}, {0, 5}, {4, 3});  // origin, corner Y, corner X
  auto region = createObject<ILumRectangleAffine>(CLSID_LumRectangleAffine);
  region->SetUnitSquareTransform(lumxstd::makeLinearTransformObject(corners.unitSquare()).get());
  const lc2XformLinear quarterTurn(lc2Matrix(0, -1, 1, 0), {7, -3});
  ComPtr<ILumRegion> mapped;
  ASSERT_EQ(region->Map(lumxstd::makeLinearTransformObject(quarterTurn).get(), mapped.put()), S_OK);
  ComPtr<ILumTransform2DLinear> u;
  ASSERT_EQ(mapped.as<ILumRectangleAffine>()->GetUnitSquareTransform(u.put()), S_OK);
  const lcAffineRectangle after(lumxstd::xformOf(u.get())->linearApprox({0, 0}));
  EXPECT_EQ(after.corner0(), quarterTurn.mapPoint(corners.corner0()));
  EXPECT_EQ(after.cornerX(), quarterTurn.mapPoint(corners.cornerX()));
  EXPECT_EQ(after.cornerY(), quarterTurn.mapPoint(corners.cornerY()));
  EXPECT_EQ(after.oppositeCorner(), quarterTurn.mapPoint(corners.oppositeCorner()));

  // Regions clone (and so save) with their shape and space.
  region->put_SelectedSpaceName(lum::Bstr(L"Calib").get());
  ComPtr<ILumObject> copy;
  ASSERT_EQ(region.as<ILumObject>()->Clone(copy.put()), S_OK);
  ComPtr<ILumTransform2DLinear> copiedU;
  copy.as<ILumRectangleAffine>()->GetUnitSquareTransform(copiedU.put());
  EXPECT_EQ(lumxstd::xformOf(copiedU.get())->linearApprox({0, 0}), corners.unitSquare());
  lum::Bstr space;
  copy.as<ILumRegion>()->get_SelectedSpaceName(space.put());
  EXPECT_EQ(space.view(), L"Calib");

  // An axis-aligned rectangle turned becomes an affine one; scaled, it stays itself.
  ComPtr<ILumRegion> turned, scaled;
  rectangle(0, 0, 2, 1)->Map(lumxstd::makeLinearTransformObject(quarterTurn).get(), turned.put());
  EXPECT_TRUE(turned.as<ILumRectangleAffine>());
  rectangle(0, 0, 2, 1)
      ->Map(lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(2, 0, 0, 3), {1, 1})).get(),
            scaled.put());
  EXPECT_TRUE(scaled.as<ILumRectangle>());
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  scaled->GetBoundingRect(&x0, &y0, &x1, &y1);
  EXPECT_EQ(x1, 5);
  EXPECT_EQ(y1, 4);
}

}  // namespace
