#include <gtest/gtest.h>

#include "components/gmorph/grey_morphology.h"
#include "lumxip/HalvexImageProcessing.h"
#include "support/conformance.h"
#include "support/core_objects.h"
#include "support/test_images.h"

using namespace lumtest;

using MorphologyComponents =
    ::testing::Types<CLumIPOneImageGreyMorphology3x3Element,
                     CLumIPOneImageGreyMorphology3x3Elements, CLumIPOneImageGreyMorphology,
                     CLumIPOneImageGreyMorphologyNxM>;
INSTANTIATE_TYPED_TEST_SUITE_P(GreyMorphology, ComponentConformance, MorphologyComponents);

namespace {

ComPtr<ILumImage> execute(ILumIPOneImageOperator* op, ILumImage* input, HRESULT expected = S_OK) {
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input, lumRegionModePixelAlignedBoundingBox, nullptr, output.put()),
            expected);
  return output;
}

ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elementsOf(ILumIPOneImageGreyMorphology* op) {
  ComPtr<ILumIPOneImageGreyMorphology3x3Elements> elements;
  EXPECT_EQ(op->get_Elements(elements.put()), S_OK);
  return elements;
}

int spot(int x, int y) {
  return x == 3 && y == 3 ? 200 : 0;
}

}  // namespace

TEST(GreyMorphology3x3Element, TypeSetsTheMaskThroughItsPropertyAndValuesAreChecked) {
  auto element = conformance::make<CLumIPOneImageGreyMorphology3x3Element>();
  auto recorder = conformance::listenTo(*element);
  EXPECT_EQ(element->put_Type(lumIPOneImageMorphology3x3ElementType3x3Diamond), S_OK);
  LumIPOneImageMorphologyPositionConstants mask{};
  element->get_MemberMask(&mask);
  EXPECT_EQ(mask, 0x55);
  ASSERT_EQ(recorder->events().size(), 2u);
  EXPECT_EQ(recorder->events()[0].stateId(), lumIPOneImageGreyMorphology3x3Element_Type);
  EXPECT_EQ(recorder->events()[1].stateId(), lumIPOneImageGreyMorphology3x3Element_MemberMask);
  recorder->clear();
  EXPECT_EQ(element->put_Type(lumIPOneImageMorphology3x3ElementType3x3Diamond), S_OK);
  EXPECT_TRUE(recorder->events().empty());
  EXPECT_EQ(element->put_Type(LumIPOneImageMorphology3x3ElementTypeConstants(8)), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Au);

  EXPECT_EQ(element->put_MemberValue(lumIPOneImageMorphologyPositionE, 128), E_INVALIDARG);
  EXPECT_EQ(element->put_MemberValue(lumIPOneImageMorphologyPositionE, -128), S_OK);
  EXPECT_EQ(element->put_MemberValue(LumIPOneImageMorphologyPositionConstants(3), 1), E_INVALIDARG);
  LONG value = 0;
  EXPECT_EQ(element->get_MemberValue(lumIPOneImageMorphologyPositionE, &value), S_OK);
  EXPECT_EQ(value, -128);
  auto copy = saveAndLoad<ILumIPOneImageGreyMorphology3x3Element>(element.get());
  ASSERT_TRUE(copy);
  copy->get_MemberValue(lumIPOneImageMorphologyPositionE, &value);
  EXPECT_EQ(value, -128);
}

TEST(GreyMorphology3x3Element, CurrentAndOldProgIDsNameTheSameClasses) {
  const std::pair<const wchar_t*, CLSID> names[] = {
      {L"Halvex.LumIPOneImageGMorph3x3Element", CLSID_LumIPOneImageGreyMorphology3x3Element},
      {L"Halvex.LumIPOneImageGreyMorphology3x3Element.1",
       CLSID_LumIPOneImageGreyMorphology3x3Element},
      {L"Halvex.LumIPOneImageGMorph3x3Elements.1", CLSID_LumIPOneImageGreyMorphology3x3Elements},
      {L"Halvex.LumIPOneImageGreyMorphology3x3Elements",
       CLSID_LumIPOneImageGreyMorphology3x3Elements}};
  for (const auto& [progId, clsid] : names) {
    CLSID found{};
    EXPECT_EQ(CLSIDFromProgID(progId, &found), S_OK) << lum::toUtf8(progId);
    EXPECT_EQ(found, clsid) << lum::toUtf8(progId);
  }
}

TEST(GreyMorphology, ElementsMakeTheSizeTheOriginChecksAgainstIt) {
  auto op = conformance::make<CLumIPOneImageGreyMorphology>();
  auto elements = elementsOf(op.get());
  elements->Add(createObject<ILumIPOneImageGreyMorphology3x3Element>(
                    CLSID_LumIPOneImageGreyMorphology3x3Element)
                    .get(),
                -1);
  LONG width = 0, origin = 0;
  op->get_Width(&width);
  op->get_OriginX(&origin);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(origin, 2);
  EXPECT_EQ(op->put_OriginX(5), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Fu);
  EXPECT_EQ(op->put_OriginX(0), S_OK);
  auto copy = saveAndLoad<ILumIPOneImageGreyMorphology>(op.get());
  ASSERT_TRUE(copy);
  copy->get_Width(&width);
  copy->get_OriginX(&origin);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(origin, 0);
  elements->Clear();
  execute(op.get(), grey8Image(7, 7, spot).get(), E_FAIL);  // lcGMorphDefs::EmptyList
}

TEST(GreyMorphology, ChangesOfTheCollectionAndItsElementsRaiseTheElementsChange) {
  auto op = conformance::make<CLumIPOneImageGreyMorphology>();
  auto clone = cloneOf(static_cast<ILumIPOneImageGreyMorphology*>(op.get()));
  ASSERT_TRUE(clone);
  for (auto* target : {op.get(), static_cast<CLumIPOneImageGreyMorphology*>(clone.get())}) {
    auto recorder = conformance::listenTo(*target);
    auto elements = elementsOf(target);
    ComPtr<ILumIPOneImageGreyMorphology3x3Element> first;
    ASSERT_EQ(elements->get_Item(0, first.put()), S_OK);
    first->put_Type(lumIPOneImageMorphology3x3ElementType3x3Diamond);  // Type and MemberMask
    elements->Add(createObject<ILumIPOneImageGreyMorphology3x3Element>(
                      CLSID_LumIPOneImageGreyMorphology3x3Element)
                      .get(),
                  -1);
    elements->Move(0, 1);
    elements->Remove(0);
    elements->Clear();
    ASSERT_EQ(recorder->events().size(), 6u);
    for (const auto& event : recorder->events())
      EXPECT_EQ(event.stateId(), lumIPOneImageGreyMorphology_Elements);
  }
}

TEST(GreyMorphology, ASquareErodesASpotAwayAndDilatesItToThreeByThree) {
  auto op = conformance::make<CLumIPOneImageGreyMorphology>();
  auto input = grey8Image(7, 7, spot);
  const auto eroded = pixels8(execute(op.get(), input.get()).get());
  EXPECT_EQ(eroded, Pixels<BYTE>(5, std::vector<BYTE>(5, 0)));
  op->put_Operation(lumIPOneImageMorphologyOperationDilate);
  const auto dilated = pixels8(execute(op.get(), input.get()).get());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(dilated[y][x], x >= 1 && x <= 3 && y >= 1 && y <= 3 ? 200 : 0) << x << "," << y;
  execute(op.get(), grey16Image(7, 7, spot).get(), HRESULT(0x8004E105));
  execute(op.get(), grey8Image(2, 7, spot).get(), E_FAIL);  // lcGMorphDefs::BadImage
}

TEST(GreyMorphologyNxM, OffsetsAreCheckedAndSwitchedByKernelEnabled) {
  auto op = conformance::make<CLumIPOneImageGreyMorphologyNxM>();
  EXPECT_EQ(op->SetKernelValue(1, 1, 256), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048100u);
  EXPECT_EQ(op->SetKernelValue(3, 1, 1), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Fu);
  op->put_KernelHeight(1);
  op->SetKernelValue(1, 0, 10);
  auto input = grey8Image(3, 1, [](int x, int) { return x == 1 ? 5 : 250; });
  EXPECT_EQ(pixels8(execute(op.get(), input.get()).get()), (Pixels<BYTE>{{5, 0, 5}}));
  op->put_KernelEnabled(VARIANT_FALSE);
  EXPECT_EQ(pixels8(execute(op.get(), input.get()).get()), (Pixels<BYTE>{{5, 5, 5}}));
  op->put_KernelEnabled(VARIANT_TRUE);
  auto copy = saveAndLoad<ILumIPOneImageGreyMorphologyNxM>(op.get());
  ASSERT_TRUE(copy);
  EXPECT_EQ(pixels8(execute(copy.get(), input.get()).get()), (Pixels<BYTE>{{5, 0, 5}}));
}

TEST(GreyMorphologyNxM, OriginalMinusOpenOfAnAsymmetricElementIsClampedAtZero) {
  auto op = conformance::make<CLumIPOneImageGreyMorphologyNxM>();
  op->put_KernelHeight(1);
  op->SetMaskValue(0, 0, VARIANT_FALSE);  // the centre and its east neighbour
  op->put_Operation(lumIPOneImageMorphologyOperationOriginalMinusOpen);
  auto input = grey8Image(4, 1, [](int x, int) { return std::array{0, 5, 5, 2}[x]; });
  // The opening is [5 5 2 2]: above the input at x = 0.
  EXPECT_EQ(pixels8(execute(op.get(), input.get()).get()), (Pixels<BYTE>{{0, 0, 3, 0}}));
}

TEST(NeighbourhoodFilters, MedianAndMorphologyOperatorsChainInATool) {
  std::vector<ComPtr<ILumIPOneImageOperator>> ops;
  for (const CLSID& clsid :
       {CLSID_LumIPOneImageMedian3x3, CLSID_LumIPOneImageMedianNxM,
        CLSID_LumIPOneImageGreyMorphology, CLSID_LumIPOneImageGreyMorphologyNxM})
    ops.push_back(createObject<ILumIPOneImageOperator>(clsid));
  auto input = grey8Image(12, 11, [](int x, int y) { return (x * 37 + y * 11) % 97; });
  ComPtr<ILumImage> expected = input;
  for (const auto& op : ops)
    expected = execute(op.get(), expected.get());

  auto tool = createObject<ILumIPOneImageTool>(CLSID_LumIPOneImageTool);
  ComPtr<ILumIPOneImageOperators> chain;
  tool->get_Operators(chain.put());
  for (const auto& op : ops)
    ASSERT_EQ(chain->Add(op.get(), -1), S_OK);
  tool->putref_InputImage(input.get());
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  ASSERT_TRUE(output);
  EXPECT_EQ(pixels8(output.get()), pixels8(expected.get()));
}
