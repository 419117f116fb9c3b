#include <gtest/gtest.h>

#include "components/framework/module_registration.h"
#include "components/oneimage/one_image_tool.h"
#include "components/oneimage/operators_collection.h"
#include "probe_operator.h"
#include "support/conformance.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_images.h"

using namespace lumtest;

INSTANTIATE_TYPED_TEST_SUITE_P(OneImageTool, ComponentConformance, CLumIPOneImageTool);

namespace {

// Loading a saved chain makes its operators by class identifier.
const lcModule gProbeClass({lcModuleClass::of<CProbeOperator>()});

struct Chain {
  ComPtr<CLumIPOneImageTool> tool = conformance::make<CLumIPOneImageTool>();
  std::vector<ComPtr<CProbeOperator>> probes;

  explicit Chain(int count = 0) {
    for (int i = 0; i < count; ++i)
      add();
  }
  CProbeOperator& add(const wchar_t* name = L"probe") {
    probes.push_back(conformance::make<CProbeOperator>());
    probes.back()->put_OperatorName(lum::Bstr(name).get());
    EXPECT_EQ(operators()->Add(probes.back().get(), -1), S_OK);
    return *probes.back();
  }
  ComPtr<ILumIPOneImageOperators> operators() {
    ComPtr<ILumIPOneImageOperators> ops;
    tool->get_Operators(ops.put());
    return ops;
  }
  ComPtr<ILumRunStatus> run() {
    EXPECT_EQ(tool->Run(), S_OK);
    ComPtr<ILumRunStatus> status;
    tool->get_RunStatus(status.put());
    return status;
  }
  ComPtr<ILumImage> output() {
    ComPtr<ILumImage> image;
    tool->get_OutputImage(image.put());
    return image;
  }
};

LONG resultOf(ILumRunStatus* status) {
  LONG result = 0;
  status->get_ResultCode(&result);
  return result;
}

std::wstring messageOf(ILumRunStatus* status) {
  lum::Bstr message;
  status->get_Message(message.put());
  return message.str();
}

ComPtr<ILumRegion> rectangle(double x, double y, double w, double h) {
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(x), region->put_Y(y), region->put_Width(w), region->put_Height(h);
  return region.as<ILumRegion>();
}

int xy(int x, int y) {
  return 10 * y + x;
}

// The sub-record keys of a record, in order.
std::vector<std::wstring> keysOf(ILumRecord* record) {
  std::vector<std::wstring> keys;
  LONG count = 0;
  record->get_SubRecordCount(&count);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<ILumRecord> sub;
    record->get_SubRecord(*lum::Variant(int32_t(i)).ptr(), sub.put());
    lum::Bstr key;
    sub->get_Key(key.put());
    keys.push_back(key.str());
  }
  return keys;
}

}  // namespace

TEST(OneImageTool, RunReportsItsOutcomeInTheRunStatusAndNeverFails) {
  Chain chain(1);
  auto failed = chain.run();
  EXPECT_EQ(resultOf(failed.get()), LONG(0x8004E400));  // no input image

  chain.tool->putref_InputImage(grey8Image(4, 3, xy).get());
  auto status = chain.run();
  EXPECT_NE(status.get(), failed.get());
  EXPECT_EQ(resultOf(status.get()), 0);
  EXPECT_EQ(messageOf(status.get()), L"");
  double processing = -1, total = -1;
  status->get_ProcessingTime(&processing);
  status->get_TotalTime(&total);
  EXPECT_GE(processing, 0);
  EXPECT_GE(total, processing);
}

TEST(OneImageTool, ListenersSeeRunningThenOneAccumulatedChangeThenRan) {
  Chain chain(1);
  chain.tool->putref_InputImage(grey8Image(4, 3, xy).get());
  auto recorder = conformance::listenTo(*chain.tool);
  chain.run();
  const auto events = recorder->events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].dispid, DISPID_LumToolRunning);
  EXPECT_EQ(events[1].dispid, DISPID_LumChangeEvent);
  EXPECT_EQ(events[1].stateId(), lumStateSeveralChanged);
  EXPECT_EQ(events[1].flags() & 12, 12);
  EXPECT_EQ(events[2].dispid, DISPID_LumToolRan);

  recorder->clear();
  EXPECT_EQ(chain.tool->Terminate(), S_OK);
  ASSERT_EQ(recorder->events().size(), 1u);
  EXPECT_EQ(recorder->events()[0].dispid, DISPID_LumToolTerminateRequested);
}

TEST(OneImageTool, EmptyChainCopiesTheInputWithinTheRegionForEveryFormat) {
  const ComPtr<ILumImage> inputs[] = {grey8Image(6, 5, xy), grey16Image(6, 5, xy),
                                      planarImage(6, 5, xy),
                                      range16Image(6, 5, xy, [](int x, int) { return x & 1; })};
  for (const auto& input : inputs) {
    Chain chain;
    chain.tool->putref_InputImage(input.get());
    chain.tool->putref_Region(rectangle(1, 2, 3, 2).get());
    EXPECT_EQ(resultOf(chain.run().get()), 0);
    auto output = chain.output();
    ASSERT_TRUE(output);
    EXPECT_NE(output.get(), input.get());
    LONG w = 0, h = 0;
    output->get_Width(&w), output->get_Height(&h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    if (output.as<ILumImage8Grey>()) {
      EXPECT_EQ(pixels8(output.get())[1][2], xy(3, 3));
    }
    if (output.as<ILumImage16Grey>()) {
      EXPECT_EQ(pixels16(output.get())[1][2], xy(3, 3));
    }
    if (output.as<ILumImage24PlanarColor>()) {
      EXPECT_EQ(planePixels(output.get(), 2)[1][2], xy(3, 3) + 2);
    }
    if (output.as<ILumImage16Range>()) {
      ComPtr<ILumImage16PixelMemory> pels;
      ComPtr<ILumImage8PixelMemory> mask;
      output.as<ILumImage16RangePixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0, pels.put(),
                                                               mask.put());
      EXPECT_EQ((read<ILumImage16PixelMemory, USHORT>(pels.get())[1][2]), xy(3, 3));
      EXPECT_EQ((read<ILumImage8PixelMemory, BYTE>(mask.get())[1][2]), 1);
    }
  }
}

TEST(OneImageTool, OnlyTheFirstEnabledOperatorGetsTheRegion) {
  Chain chain(3);
  chain.probes[0]->put_Enabled(VARIANT_FALSE);
  chain.tool->putref_InputImage(grey8Image(6, 5, xy).get());
  chain.tool->putref_Region(rectangle(1, 1, 3, 3).get());
  EXPECT_EQ(resultOf(chain.run().get()), 0);
  EXPECT_TRUE(chain.probes[0]->sawRegion.empty());
  EXPECT_EQ(chain.probes[1]->sawRegion, std::vector<bool>{true});
  EXPECT_EQ(chain.probes[2]->sawRegion, std::vector<bool>{false});
  EXPECT_EQ(pixels8(chain.output().get())[0][0], xy(1, 1) + 2);
}

TEST(OneImageTool, AllDisabledChainGivesTheInputObjectItself) {
  Chain chain(2);
  for (auto& probe : chain.probes)
    probe->put_Enabled(VARIANT_FALSE);
  auto input = grey8Image(3, 3, xy);
  chain.tool->putref_InputImage(input.get());
  chain.run();
  EXPECT_EQ(chain.output().get(), input.get());
}

TEST(OneImageTool, AFailingOperatorStopsTheChainAndIsNamedWithItsPosition) {
  Chain chain;
  chain.add(L"first");
  chain.add(L"second").failWith = E_ACCESSDENIED;
  chain.add(L"third");
  chain.tool->putref_InputImage(grey8Image(3, 3, xy).get());
  auto status = chain.run();
  EXPECT_EQ(resultOf(status.get()), E_ACCESSDENIED);
  const std::wstring message = messageOf(status.get());
  EXPECT_NE(message.find(L"second"), std::wstring::npos) << lum::toUtf8(message);
  EXPECT_NE(message.find(L"2"), std::wstring::npos) << lum::toUtf8(message);
  EXPECT_NE(message.find(L"the probe was told to fail"), std::wstring::npos);
  EXPECT_TRUE(chain.probes[2]->sawRegion.empty());
  EXPECT_EQ(pixels8(chain.output().get())[2][2], xy(2, 2) + 1);  // the first one's output
}

TEST(OneImageTool, LastRunRecordHoldsIntermediatesAndKeepsTheMaskOfItsRun) {
  Chain chain(3);
  chain.tool->putref_InputImage(grey8Image(3, 3, xy).get());
  chain.tool->put_LastRunRecordDiagEnable(lumIPOneImageLastRunRecordDiagIntermediateImages |
                                          lumIPOneImageLastRunRecordDiagInputImageByReference);
  chain.run();
  chain.tool->put_LastRunRecordDiagEnable(lumIPOneImageLastRunRecordDiagNone);
  ComPtr<ILumRecord> record;
  ASSERT_EQ(chain.tool->CreateLastRunRecord(record.put()), S_OK);
  EXPECT_EQ(keysOf(record.get()),
            (std::vector<std::wstring>{L"InputImage", L"IntermediateImage - 1",
                                       L"IntermediateImage - 2", L"OutputImage"}));
  ComPtr<ILumRecord> second;
  record->get_SubRecord(*lum::Variant(L"IntermediateImage - 2").ptr(), second.put());
  lum::Bstr annotation;
  second->get_Annotation(annotation.put());
  EXPECT_EQ(annotation.str(), L"probe - 2");
}

TEST(OneImageTool, CurrentRecordShowsTheInputWithTheRegionUnderIt) {
  Chain chain;
  chain.tool->putref_InputImage(grey8Image(3, 3, xy).get());
  chain.tool->putref_Region(rectangle(0, 0, 2, 2).get());
  ComPtr<ILumRecord> record;
  ASSERT_EQ(chain.tool->CreateCurrentRecord(record.put()), S_OK);
  ComPtr<ILumRecord> input;
  record->get_SubRecord(*lum::Variant(L"InputImage").ptr(), input.put());
  ASSERT_TRUE(input);
  EXPECT_EQ(keysOf(input.get()), std::vector<std::wstring>{L"Region"});
  EXPECT_EQ(chain.tool->CreateCurrentRecord(nullptr), E_POINTER);
}

TEST(OneImageOperators, RefusesDuplicatesAndBadIndexesAndForwardsItemChanges) {
  Chain chain(2);
  auto ops = chain.operators();
  EXPECT_EQ(ops->Add(chain.probes[0].get(), -1), LONG(0x8004C184));
  auto third = conformance::make<CProbeOperator>();
  EXPECT_EQ(ops->Add(third.get(), 3), LONG(0x8004C180));
  EXPECT_EQ(ops->Add(third.get(), 2), S_OK);
  auto recorder = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
  adviseSink(ops.get(), recorder.get(), DIID_ILumCollectionEvents);
  chain.probes[1]->put_OperatorName(lum::Bstr(L"renamed").get());
  ASSERT_EQ(recorder->events().size(), 1u);
  EXPECT_EQ(recorder->events()[0].stateId(), lumStateItemChanged);
  auto info = recorder->events()[0].value().get().pdispVal;
  LONG index = -1;
  ComPtr<IDispatch>(info).as<ILumEventInfo>()->get_SenderIndex(&index);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(ops->Move(0, 2), S_OK);
  ComPtr<ILumIPOneImageOperatorParams> last;
  ops->get_Item(2, last.put());
  EXPECT_EQ(static_cast<void*>(last.get()),
            static_cast<void*>(static_cast<ILumIPOneImageOperatorParams*>(chain.probes[0].get())));
}

TEST(OneImageTool, ChainSurvivesCloneAndStreamAndTheCloneSharesNothing) {
  Chain chain(2);
  chain.probes[1]->put_Enabled(VARIANT_FALSE);
  chain.add(L"third");
  auto input = grey8Image(4, 4, xy);
  chain.tool->putref_InputImage(input.get());
  chain.run();
  const auto expected = pixels8(chain.output().get());

  ComPtr<ILumObject> cloned;
  ASSERT_EQ(chain.tool->Clone(cloned.put()), S_OK);
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ASSERT_EQ(chain.tool->Save(stream.get(), FALSE), S_OK);
  stream->Seek({}, STREAM_SEEK_SET, nullptr);
  auto loaded = conformance::make<CLumIPOneImageTool>();
  ASSERT_EQ(loaded->Load(stream.get()), S_OK);

  for (auto copy : {cloned.as<ILumIPOneImageTool>(), loaded.as<ILumIPOneImageTool>()}) {
    ComPtr<ILumIPOneImageOperators> ops;
    copy->get_Operators(ops.put());
    LONG count = 0;
    ops->get_Count(&count);
    ASSERT_EQ(count, 3);
    ComPtr<ILumIPOneImageOperatorParams> first;
    ops->get_Item(0, first.put());
    EXPECT_NE(
        static_cast<void*>(first.get()),
        static_cast<void*>(static_cast<ILumIPOneImageOperatorParams*>(chain.probes[0].get())));
    copy->putref_InputImage(input.get());
    EXPECT_EQ(copy->Run(), S_OK);
    ComPtr<ILumImage> output;
    copy->get_OutputImage(output.put());
    ASSERT_TRUE(output);
    EXPECT_EQ(pixels8(output.get()), expected);
  }
}
