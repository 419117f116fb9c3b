// Every class the library registers, used from several threads at once: one shared object
// per class cloned, saved, loaded and (tools) run while its Tag changes and listeners come
// and go, and sinks that call back into the object that raised their event. Bounded in
// time; under ThreadSanitizer any race fails it, and a deadlock ends it with a message.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "lumxip/HalvexImageProcessing.h"
#include "support/core_objects.h"
#include "support/dispatch_call.h"
#include "support/event_recorder.h"
#include "support/run_threads.h"
#include "support/test_images.h"

namespace {

using namespace lumtest;
using namespace std::chrono_literals;

// One object of every persistable class; tools get an input image where they take one.
std::vector<RegisteredObject> oneOfEveryClass() {
  std::vector<RegisteredObject> shared;
  const auto image = grey8Image(40, 30, [](int x, int y) { return (x * 5 + y * 3) & 0xFF; });
  for (auto& made : oneOfEveryRegisteredClass()) {
    if (!made.object.as<IPersistStream>()) continue;  // services
    if (auto dispatch = made.object.as<IDispatch>(); dispatch && made.object.as<ILumTool>())
      call(dispatch.get(), L"InputImage", DISPATCH_PROPERTYPUTREF, {lum::Variant(image.get())});
    shared.push_back(std::move(made));
  }
  return shared;
}

TEST(SharedObjectsUnderThreads, EveryClassIsCopiedSavedAndRunWhileItChanges) {
  const std::vector<RegisteredObject> objects = oneOfEveryClass();
  ASSERT_GE(objects.size(), 20u);
  std::atomic<size_t> next{0};
  std::atomic<int> copies{0};
  std::vector<std::string> failed(objects.size());
  std::atomic<bool> anyFailed{false};
  const auto fail = [&](size_t i, const char* what) {
    if (!anyFailed.exchange(true)) failed[i] = what;
  };
  finishWithin(60s, [&] {
    runFor(4, 1500ms, [&](int role) {
      const size_t i = next++ % objects.size();
      const RegisteredObject& s = objects[i];
      switch (role) {
        case 0: {  // changes the Tag, which every object saves
          if (s.object.as<ILumObject>()->put_Tag(*lum::Variant(int32_t(next)).ptr()) != S_OK)
            fail(i, "put_Tag");
          break;
        }
        case 1: {  // listens for a moment, and makes a new object of the class meanwhile
          auto sink = lum::makeComObject<EventRecorder>();
          const DWORD cookie = adviseSink(s.object.get(), sink.get());
          ComPtr<IUnknown> fresh;
          if (CoCreateInstance(s.clsid, nullptr, CLSCTX_ALL, iid_of<IUnknown>, fresh.putVoid()) !=
              S_OK)
            fail(i, "create");
          if (cookie != 0) changePointOf(s.object.get())->Unadvise(cookie);
          break;
        }
        default: {  // copies both ways, and runs tools
          if (!cloneOf(s.object.get())) fail(i, "Clone");
          if (!saveAndLoad(s.object.get())) fail(i, "save and load");
          if (auto tool = s.object.as<ILumTool>(); tool && tool->Run() != S_OK) fail(i, "Run");
          ++copies;
        }
      }
    });
  });
  for (size_t i = 0; i < objects.size(); ++i)
    EXPECT_EQ(failed[i], "") << objects[i].name;
  EXPECT_GT(copies, 0);
}

// A sink that reads the object back, sets a second property (a change event of its own,
// raised on the same thread inside the first) and now and then leaves and comes back,
// while two threads change the first property and a third advises more sinks.
TEST(SharedObjectsUnderThreads, SinksThatCallBackIntoTheObjectNeitherHangNorRace) {
  const auto op = create<IDispatch>(CLSID_LumIPOneImageAddSubtractConstant);
  const auto point = changePointOf(op.get());
  std::atomic<int> reentries{0}, failures{0};
  auto reentrant = lum::makeComObject<EventRecorder>();
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(reentrant.get(), &cookie), S_OK);
  DWORD current = cookie;
  std::mutex leaving;  // two events on two threads may both want to leave
  reentrant->onEvent = [&](const EventRecorder::Event&) {
    lum::Variant value;
    if (call(op.get(), L"ConstantValue", DISPATCH_PROPERTYGET, {}, &value) != S_OK) ++failures;
    if (call(op.get(), L"OperatorName", DISPATCH_PROPERTYPUT, {lum::Variant(L"seen")}) != S_OK)
      ++failures;
    if (++reentries % 16 == 0) {  // leave and come back from inside the event
      std::lock_guard lock(leaving);
      DWORD again = 0;
      if (point->Unadvise(current) != S_OK || point->Advise(reentrant.get(), &again) != S_OK)
        ++failures;
      current = again;
    }
  };
  finishWithin(60s, [&] {
    runFor(3, 1000ms, [&](int role) {
      if (role == 2) {
        auto sink = lum::makeComObject<EventRecorder>();
        DWORD other = 0;
        if (point->Advise(sink.get(), &other) != S_OK || point->Unadvise(other) != S_OK) ++failures;
        return;
      }
      const int32_t value = role == 0 ? 7 : -7;
      if (call(op.get(), L"ConstantValue", DISPATCH_PROPERTYPUT, {lum::Variant(value)}) != S_OK)
        ++failures;
    });
  });
  point->Unadvise(current);
  EXPECT_EQ(failures, 0);
  EXPECT_GT(reentries, 0);
}

}  // namespace
