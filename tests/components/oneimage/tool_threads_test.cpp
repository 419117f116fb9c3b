// One tool run, cloned, saved and loaded on several threads while another edits its chain
// and listeners come and go. Bounded in time; under ThreadSanitizer any race fails it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "components/oneimage/one_image_tool.h"
#include "support/conformance.h"
#include "support/event_recorder.h"
#include "support/run_threads.h"
#include "support/test_images.h"

using namespace lumtest;
using namespace std::chrono_literals;

namespace {

int xy(int x, int y) {
  return (x + 3 * y) & 0xFF;
}

ComPtr<ILumIPOneImageOperators> operatorsOf(ILumIPOneImageTool* tool) {
  ComPtr<ILumIPOneImageOperators> ops;
  tool->get_Operators(ops.put());
  return ops;
}

LONG lastResult(ILumIPOneImageTool* tool) {
  ComPtr<ILumRunStatus> status;
  tool->get_RunStatus(status.put());
  LONG result = -1;
  if (status) status->get_ResultCode(&result);
  return result;
}

// Every run sees the chain as it was at one moment: operators removed and added by
// another thread never make a run fail half-way. Clones, saves and loads made meanwhile
// come back whole; listeners subscribe and leave while the tool changes.
TEST(OneImageToolUnderThreads, RunsCopiesAndEditsOfOneToolNeverFailOrRace) {
  const auto tool = conformance::make<CLumIPOneImageTool>().as<ILumIPOneImageTool>();
  tool->putref_InputImage(grey8Image(8, 6, xy).get());
  const auto ops = operatorsOf(tool.get());
  std::vector<ComPtr<ILumIPOneImageOperator>> added;
  for (int i = 0; i < 4; ++i) {
    added.emplace_back();
    ASSERT_EQ(CoCreateInstance(CLSID_LumIPOneImageAddSubtractConstant, nullptr, CLSCTX_ALL,
                               iid_of<ILumIPOneImageOperator>, added.back().putVoid()),
              S_OK);
    ASSERT_EQ(ops->Add(added.back().get(), -1), S_OK);
  }
  std::atomic<int> failures{0}, runs{0};
  runFor(5, 300ms, [&](int role) {
    switch (role) {
      case 0: {  // edits the chain: the last operator leaves and comes back first
        LONG count = 0;
        ops->get_Count(&count);
        ComPtr<ILumIPOneImageOperatorParams> last;
        if (count > 0 && ops->get_Item(count - 1, last.put()) == S_OK &&
            ops->Remove(count - 1) == S_OK)
          ops->Add(last.get(), 0);
        break;
      }
      case 1: {  // listens for a moment while properties change
        const auto point = changePointOf(tool.get());
        IID events{};
        point->GetConnectionInterface(&events);
        auto sink = lum::makeComObject<EventRecorder>(events);
        DWORD cookie = 0;
        if (point->Advise(sink.get(), &cookie) != S_OK) ++failures;
        added[0]->put_Enabled(VARIANT_TRUE);
        point->Unadvise(cookie);
        break;
      }
      case 2: {  // clones and round-trips through a stream
        ComPtr<ILumObject> cloned;
        ComPtr<IStream> stream;
        lum::createMemoryStream(stream.put());
        auto loaded = conformance::make<CLumIPOneImageTool>();
        if (tool.as<ILumObject>()->Clone(cloned.put()) != S_OK ||
            tool.as<IPersistStream>()->Save(stream.get(), FALSE) != S_OK ||
            stream->Seek({}, STREAM_SEEK_SET, nullptr) != S_OK ||
            loaded->Load(stream.get()) != S_OK)
          ++failures;
        break;
      }
      default:  // runs
        if (tool->Run() != S_OK || lastResult(tool.get()) != 0) ++failures;
        ++runs;
    }
  });
  EXPECT_EQ(failures, 0);
  EXPECT_GT(runs, 0);
  LONG count = 0;
  ops->get_Count(&count);
  EXPECT_EQ(count, 4);
}

}  // namespace
