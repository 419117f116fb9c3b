// Collections edited on one thread while the objects they hold change on others.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <random>
#include <thread>

#include "components/framework/module_registration.h"
#include "support/collections.h"
#include "support/event_recorder.h"
#include "support/run_threads.h"
#include "support/test_widget.h"

namespace {

using lumtest::finishWithin;
using namespace std::chrono_literals;
using Widgets = std::vector<ComPtr<ITestWidget>>;

HRESULT add(ILumCollection* c, ITestWidget* w, LONG index) {
  return c->Add(*asItem(w).ptr(), nullptr, index);
}

HRESULT removeAt(ILumCollection* c, LONG index) {
  return c->Remove(*lum::Variant(index).ptr());
}

// How many sinks listen to the widget's change events.
int listenersOf(ITestWidget* widget) {
  ComPtr<IConnectionPointContainer> container;
  widget->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
  ComPtr<IConnectionPoint> point;
  container->FindConnectionPoint(DIID_ILumChangeEvent, point.put());
  ComPtr<IEnumConnections> connections;
  point->EnumConnections(connections.put());
  int count = 0;
  CONNECTDATA data;
  while (connections->Next(1, &data, nullptr) == S_OK) {
    data.pUnk->Release();
    ++count;
  }
  return count;
}

// One kind of edit, done on the collection and on a plain list that models it. Every
// edit leaves the count as it found it.
struct Edit {
  const char* name;
  std::function<void(ILumCollection*, Widgets& model, Widgets& spare)> apply;
};

const Edit kEdits[] = {
    {"AddAtTheEnd",
     [](ILumCollection* c, Widgets& model, Widgets&) {
       ASSERT_EQ(removeAt(c, 0), S_OK);
       ASSERT_EQ(add(c, model.front().get(), -1), S_OK);
       std::rotate(model.begin(), model.begin() + 1, model.end());
     }},
    {"InsertAtTheFront",
     [](ILumCollection* c, Widgets& model, Widgets&) {
       const auto last = static_cast<LONG>(model.size() - 1);
       ASSERT_EQ(removeAt(c, last), S_OK);
       ASSERT_EQ(add(c, model.back().get(), 0), S_OK);
       std::rotate(model.begin(), model.end() - 1, model.end());
     }},
    {"Move",
     [](ILumCollection* c, Widgets& model, Widgets&) {
       ASSERT_EQ(c->Move(0, static_cast<LONG>(model.size() - 1)), S_OK);
       std::rotate(model.begin(), model.begin() + 1, model.end());
     }},
    {"RemoveAndAddElsewhere",
     [](ILumCollection* c, Widgets& model, Widgets& spare) {
       ASSERT_EQ(removeAt(c, 1), S_OK);
       spare.push_back(model[1]);
       model.erase(model.begin() + 1);
       ASSERT_EQ(add(c, spare.front().get(), 2), S_OK);
       model.insert(model.begin() + 2, spare.front());
       spare.erase(spare.begin());
     }},
    {"Replace",
     [](ILumCollection* c, Widgets& model, Widgets& spare) {
       ASSERT_EQ(c->putref_Item(2, *asItem(spare.front().get()).ptr()), S_OK);
       std::swap(model[2], spare.front());
       std::rotate(spare.begin(), spare.begin() + 1, spare.end());
     }},
    {"ClearAndRefill",
     [](ILumCollection* c, Widgets& model, Widgets& spare) {
       ASSERT_EQ(c->Clear(), S_OK);
       std::swap(model.front(), spare.front());
       for (const auto& w : model)
         ASSERT_EQ(add(c, w.get(), -1), S_OK);
     }},
};

void PrintTo(const Edit& edit, std::ostream* out) {
  *out << edit.name;
}

class CollectionUnderThreads : public ::testing::TestWithParam<Edit> {};

// One thread edits while two others change every widget, held or not. Afterwards the
// collection holds what the model holds, in its order; each held widget has exactly one
// listener and its change arrives with its index; the others have none.
TEST_P(CollectionUnderThreads, EditsWhileItemsChangeNeitherHangNorLoseTrack) {
  const Edit& edit = GetParam();
  auto collection = makeCollection();
  Widgets model, spare;
  for (int i = 0; i < 4; ++i) {
    model.push_back(makeTestWidget());
    ASSERT_EQ(add(collection.get(), model.back().get(), -1), S_OK);
  }
  for (int i = 0; i < 2; ++i)
    spare.push_back(makeTestWidget());
  Widgets all = model;
  all.insert(all.end(), spare.begin(), spare.end());
  // A sink that calls back into the collection, keeping only the latest event.
  auto events = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
  events->onEvent = [&, recorder = events.get()](const EventRecorder::Event&) {
    recorder->clear();
    countOf(collection.get());
  };
  adviseSink(collection.get(), events.get(), DIID_ILumCollectionEvents);

  std::atomic<bool> stop{false};
  int edits = 0;
  finishWithin(20s, [&] {
    auto change = [&](LONG first) {
      for (LONG n = first; !stop; n += 2)
        for (const auto& w : all)
          w->put_Count(n);
    };
    std::jthread changerA(change, 0), changerB(change, 1);
    const auto end = std::chrono::steady_clock::now() + 300ms;
    for (; std::chrono::steady_clock::now() < end && !HasFatalFailure(); ++edits)
      edit.apply(collection.get(), model, spare);
    stop = true;
  });
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  EXPECT_GT(edits, 0);
  events->onEvent = nullptr;

  ASSERT_EQ(countOf(collection.get()), static_cast<LONG>(model.size()));
  for (std::size_t i = 0; i < model.size(); ++i)
    EXPECT_TRUE(lum::sameObject(itemAt(collection.get(), static_cast<LONG>(i)).get().punkVal,
                                model[i].get()))
        << edit.name << ": order differs at " << i;
  for (const auto& w : spare)
    EXPECT_EQ(listenersOf(w.get()), 0) << edit.name << ": a removed item is still listened to";

  for (std::size_t i = 0; i < model.size(); ++i) {
    EXPECT_EQ(listenersOf(model[i].get()), 1) << edit.name << ": item " << i;
    events->clear();
    model[i]->put_Count(-1 - static_cast<LONG>(i));
    const auto seen = events->events();
    ASSERT_EQ(seen.size(), 1u) << edit.name << ": item " << i;
    auto info = infoOf(seen[0].value());
    ASSERT_TRUE(info);
    EXPECT_EQ(senderIndexOf(info.get()), static_cast<LONG>(i)) << edit.name;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryEdit, CollectionUnderThreads, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

// Threads that add one object at once: exactly one gets it in, the others are told it is
// there, and it is listened to once.
TEST(CollectionUnderThreads, ConcurrentAddsOfOneObjectLetExactlyOneIn) {
  constexpr int kThreads = 4, kRounds = 200;
  std::vector<ComPtr<ILumCollection>> collections;
  Widgets widgets;
  for (int r = 0; r < kRounds; ++r) {
    collections.push_back(makeCollection());
    widgets.push_back(makeTestWidget());
  }
  std::vector<std::atomic<int>> admitted(kRounds), refused(kRounds);
  std::barrier sync(kThreads);
  finishWithin(20s, [&] {
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&] {
        for (int r = 0; r < kRounds; ++r) {
          sync.arrive_and_wait();
          const HRESULT hr = add(collections[r].get(), widgets[r].get(), -1);
          ++(hr == S_OK ? admitted : refused)[r];
          EXPECT_TRUE(hr == S_OK || hr == hresultFrom(0x8004C184)) << hr;
        }
      });
  });
  for (int r = 0; r < kRounds; ++r) {
    ASSERT_EQ(admitted[r], 1) << "round " << r;
    EXPECT_EQ(refused[r], kThreads - 1);
    EXPECT_EQ(countOf(collections[r].get()), 1);
    EXPECT_EQ(listenersOf(widgets[r].get()), 1);
  }
}

// Several threads edit one collection at once while a fourth changes the items and
// listeners come and go, one of them re-entering the collection from its event. However
// the edits interleave, every item is held at most once and listened to exactly while it
// is held.
TEST(CollectionUnderThreads, SeveralEditorsKeepEachItemListenedToExactlyWhileHeld) {
  auto collection = makeCollection();
  Widgets widgets;
  for (int i = 0; i < 6; ++i)
    widgets.push_back(makeTestWidget());
  std::atomic<bool> stop{false};
  finishWithin(20s, [&] {
    auto editor = [&](unsigned seed) {
      std::mt19937 random(seed);
      auto pick = [&](int n) { return static_cast<LONG>(random() % static_cast<unsigned>(n)); };
      while (!stop) {
        ITestWidget* w = widgets[static_cast<std::size_t>(pick(6))].get();
        switch (pick(12)) {
          case 0:
            collection->Clear();
            break;
          case 1:
          case 2:
            collection->Move(pick(4), pick(4));
            break;
          case 3:
          case 4:
            collection->putref_Item(pick(5), *asItem(w).ptr());
            break;
          case 5:
          case 6:
          case 7:
            removeAt(collection.get(), pick(5));
            break;
          default:
            add(collection.get(), w, pick(3) - 1);
        }
      }
    };
    auto listener = [&] {
      for (LONG n = 0; !stop; ++n) {
        auto events = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
        events->onEvent = [&](const EventRecorder::Event&) { countOf(collection.get()); };
        const DWORD cookie = adviseSink(collection.get(), events.get(), DIID_ILumCollectionEvents);
        for (const auto& w : widgets)
          w->put_Count(n);
        ComPtr<IConnectionPointContainer> container;
        collection->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
        ComPtr<IConnectionPoint> point;
        container->FindConnectionPoint(DIID_ILumCollectionEvents, point.put());
        // An event raised before Unadvise may still reach the sink on an editor's
        // thread, so its callback stays set.
        point->Unadvise(cookie);
      }
    };
    std::jthread first(editor, 1u), second(editor, 2u), third(editor, 3u), fourth(listener);
    std::this_thread::sleep_for(300ms);
    stop = true;
  });
  LONG held = 0;
  for (const auto& w : widgets) {
    LONG index = -1;
    collection->FindItem(*asItem(w.get()).ptr(), &index);
    held += index >= 0;
    EXPECT_EQ(listenersOf(w.get()), index >= 0 ? 1 : 0);
  }
  EXPECT_EQ(countOf(collection.get()), held);
}

// The sink a collection puts on an item holds the collection by a plain pointer, so a
// collection listening to its items (and to a collection among them that holds one of
// them too) is freed with its last outside reference: no cycle keeps anything alive.
TEST(CollectionSinks, ListeningToItemsMakesNoCycle) {
  const long before = liveComponentCount();
  {
    auto outer = makeCollection(), inner = makeCollection();
    auto widget = makeTestWidget();
    ASSERT_EQ(add(inner.get(), widget.get(), -1), S_OK);
    ASSERT_EQ(add(outer.get(), widget.get(), -1), S_OK);
    ASSERT_EQ(outer->Add(*asItem(inner.get()).ptr(), nullptr, -1), S_OK);
    auto events = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
    adviseSink(outer.get(), events.get(), DIID_ILumCollectionEvents);
    widget->put_Count(-12345);
    EXPECT_FALSE(events->events().empty());
    EXPECT_EQ(listenersOf(widget.get()), 2);
  }
  EXPECT_EQ(liveComponentCount(), before);
}

}  // namespace
