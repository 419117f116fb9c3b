#include <gtest/gtest.h>

#include "components/sharpness/image_sharpness.h"
#include "components/sharpness/image_sharpness_tool.h"
#include "support/conformance.h"
#include "support/event_recorder.h"
#include "support/test_images.h"

using namespace lumtest;

using ImageSharpnessComponents = ::testing::Types<CLumImageSharpness, CLumImageSharpnessTool>;
INSTANTIATE_TYPED_TEST_SUITE_P(ImageSharpness, ComponentConformance, ImageSharpnessComponents);

namespace {

ComPtr<ILumImage> board(LONG w, LONG h) {
  return grey8Image(w, h, [](int x, int y) { return (x + y) % 2 ? 255 : 0; });
}

}  // namespace

TEST(ImageSharpness, ChecksTheWindowForTheMode) {
  auto sharpness = conformance::make<CLumImageSharpness>();
  double score = -1;
  EXPECT_EQ(sharpness->Execute(nullptr, nullptr, &score), hresultFrom(0x8004E400));
  EXPECT_EQ(score, 0.0);
  EXPECT_EQ(sharpness->Execute(board(4, 4).get(), nullptr, nullptr), E_POINTER);

  sharpness->put_Mode(lumImageSharpnessModeAbsDiff);
  sharpness->put_AbsDiffDistanceX(7);
  EXPECT_EQ(sharpness->Execute(board(8, 5).get(), nullptr, &score), S_OK);
  EXPECT_EQ(sharpness->Execute(board(7, 5).get(), nullptr, &score), E_INVALIDARG);
  sharpness->put_AbsDiffDistanceX(1);
  EXPECT_EQ(sharpness->Execute(board(7, 5).get(), nullptr, &score), S_OK);
  EXPECT_EQ(score, 255.0);

  sharpness->put_Mode(lumImageSharpnessModeAutoCorrelation);
  EXPECT_EQ(sharpness->Execute(board(2, 5).get(), nullptr, &score), E_INVALIDARG);
  sharpness->put_Mode(lumImageSharpnessModeBandPass);
  EXPECT_EQ(sharpness->Execute(board(2049, 2).get(), nullptr, &score), E_INVALIDARG);
  EXPECT_EQ(sharpness->put_Mode(static_cast<LumImageSharpnessModeConstants>(3)), E_INVALIDARG);
}

TEST(ImageSharpness, AFrequencyPutPastTheOtherTakesItAlong) {
  auto sharpness = conformance::make<CLumImageSharpness>();
  auto recorder = lum::makeComObject<EventRecorder>();
  adviseSink(static_cast<ILumImageSharpness*>(sharpness.get()), recorder.get());
  EXPECT_EQ(sharpness->put_BandPassMinFrequency(0.48), S_OK);
  double low = 0, high = 0;
  sharpness->get_BandPassMinFrequency(&low), sharpness->get_BandPassMaxFrequency(&high);
  EXPECT_EQ(low, 0.48);
  EXPECT_EQ(high, 0.48);
  const auto events = recorder->events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().stateId(), lumStateSeveralChanged);
  EXPECT_EQ(events.back().flags(), lumChangeSetByClient | lumFA_ImageSharpness_BandPassFrequencies);
  EXPECT_EQ(sharpness->put_BandPassMaxFrequency(0.1), S_OK);
  sharpness->get_BandPassMinFrequency(&low);
  EXPECT_EQ(low, 0.1);
}

TEST(ImageSharpnessTool, RunKeepsTheScore) {
  auto tool = conformance::make<CLumImageSharpnessTool>();
  ComPtr<ILumImageSharpness> params;
  tool->get_RunParams(params.put());
  params->put_Mode(lumImageSharpnessModeAbsDiff);
  tool->putref_InputImage(board(6, 6).get());
  ASSERT_EQ(tool->Run(), S_OK);
  double score = 0;
  tool->get_Score(&score);
  EXPECT_EQ(score, 255.0);
  tool->putref_InputImage(nullptr);
  ASSERT_EQ(tool->Run(), S_OK);
  tool->get_Score(&score);
  EXPECT_EQ(score, 0.0);
}
