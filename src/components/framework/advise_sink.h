#pragma once
// lcAdviseSink: how a container listens to an object it holds (a collection to its
// items, a tool to its run parameters and region). The sink connects to the object's
// event connection point and hands each well-formed event to its owner together with
// its own identifier. The owner is held by a plain pointer, never counted: the object
// holds the sink, the sink must not hold the container, so that a container is freed
// when its last outside reference goes. The owner detaches its sinks before it dies.
//
// Locking: the sink's mutex guards only its own fields and is never held while it calls
// anything else. An event is handed to the owner without it; detaching waits until the
// events other threads are handing over have returned.

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"

// Receives the events of the objects a container listens to.
class LUM_VISIBLE lcSinkOwner {
 public:
  virtual ~lcSinkOwner() = default;
  // `args` in declaration order. Called on the thread that raised the event, with no
  // lock of the sink held.
  virtual void onContainedEvent(LONG sinkId, DISPID dispid,
                                const std::vector<lum::Variant>& args) = 0;
};

// The events a sink passes on: a dispatch ID and argument count, and which argument
// (in declaration order) must be a 32-bit integer.
struct lcSinkFilter {
  DISPID dispid = DISPID_LumChangeEvent;
  UINT argumentCount = 3;
  std::vector<UINT> integerArguments = {0, 2};  // state ID and flags of a change event
};

class LUM_VISIBLE lcAdviseSink final : public lum::ComObject<IDispatch> {
 public:
  // A sink for the change event also connects to objects that raise it through a
  // collection's event interface, which carries the change event too.
  lcAdviseSink(lcSinkOwner* owner, LONG id, const IID& eventIid = DIID_ILumChangeEvent,
               lcSinkFilter filter = {});
  ~lcAdviseSink() override;

  // Connects to `source`; S_FALSE (and no connection) when it has no connection point
  // for the event; the connection point's failure when it refuses the sink. A sink
  // connects to one object at a time: connecting again moves it.
  HRESULT connect(IUnknown* source);
  void disconnect();
  // The owner is going away: no event reaches it after this returns. Waits for events
  // other threads are handing to it; one this thread is handing over (this call comes
  // from inside it) is not waited for.
  void detachOwner();

  LONG id() const;
  void setId(LONG id);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override;

 private:
  bool accepts(DISPID dispid, const DISPPARAMS& params) const;
  bool servesInterface(const IID& iid) const;
  void handOver(DISPID dispid, const std::vector<lum::Variant>& args);

  mutable std::mutex mutex_;  // guards every field below but the constant ones
  std::condition_variable handedOver_;
  lcSinkOwner* owner_;
  LONG id_;
  const IID eventIid_;
  const lcSinkFilter filter_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  std::vector<std::thread::id> handingOver_;  // threads inside the owner's callback now
};

// Owns one sink's connection on behalf of its owner: letting go of it (destruction,
// reset, assigning another) detaches the owner and disconnects, so no event reaches the
// owner afterwards. Containers keep these in their entries and let go of them only
// outside their lock, since disconnecting calls into the object listened to.
class LUM_VISIBLE lcSinkConnection {
 public:
  lcSinkConnection() = default;
  explicit lcSinkConnection(ComPtr<lcAdviseSink> sink) : sink_(std::move(sink)) {}
  lcSinkConnection(lcSinkConnection&& other) noexcept = default;
  lcSinkConnection& operator=(lcSinkConnection&& other) noexcept;
  ~lcSinkConnection() { reset(); }

  void reset() noexcept;
  lcAdviseSink* get() const { return sink_.get(); }
  explicit operator bool() const { return static_cast<bool>(sink_); }

 private:
  ComPtr<lcAdviseSink> sink_;
};
