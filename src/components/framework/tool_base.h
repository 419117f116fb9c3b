#pragma once
// lcToolBase: what every tool shares. A tool owns its run parameters and inputs; Run
// executes its step inside the error boundary and never fails for the step's sake: the
// outcome goes into a new run status. The tool keeps the record-enable masks, its name
// and control ProgID, the exposed input and output properties, and builds the "Current"
// and "LastRun" records. Change events go through ILumToolEvents (with the tool events
// 7457 running, 7458 ran, 7459 terminate requested).
//
// A tool class declares, besides kClass and its own members:
//   static constexpr LONG kCurrentRecordDefault, kLastRunRecordDefault,
//                         kLastRunRecordDiagDefault;
//   static constexpr lcExposedProperty kExposedInputs[], kExposedOutputs[];
//   void constructTool();                      // makes its run parameters
//   void runStep();                            // the tool's own part of Run; throws
//   void addCurrentSubRecords(ILumRecord& record, LONG mask);
//   void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

#include <span>

#include "components/framework/component.h"
#include "components/framework/export.h"
#include "lumxip/ip/tool.h"
#include "persist/deep_copy.h"

// One entry of a tool's exposed properties: the key ("InputImage") and the descriptor
// ("name{InputImage} path{InputImage} type{ILumImage}").
struct lcExposedProperty {
  const wchar_t* key;
  const wchar_t* descriptor;
};

// The pieces of Run and of the records that need no template. Each throws on failure.
namespace lcTool {
LUM_FRAMEWORK_API ComPtr<ILumStringCollection> makeExposed(
    std::span<const lcExposedProperty> entries);
LUM_FRAMEWORK_API ComPtr<ILumRecord> makeRecord(const wchar_t* key);
// Appends a sub-record holding `content` (annotation: the key unless given).
LUM_FRAMEWORK_API ComPtr<ILumRecord> addSubRecord(ILumRecord& parent, const wchar_t* key,
                                                  LONG contentType, LONG usage, LONG integer,
                                                  IUnknown* content,
                                                  const wchar_t* annotation = nullptr);
LUM_FRAMEWORK_API double elapsed(ILumStopwatch& timer);
// Whether a record or diagnostic mask has any of `bits`.
inline bool hasAny(LONG mask, LONG bits) {
  return (mask & bits) != 0;
}
// A deep copy of `object`, as a tool keeps its last run's inputs (throws on failure).
template <class I>
ComPtr<I> deepCopy(I* object) {
  ComPtr<ILumObject> copy;
  lcDeepCopy(object, nullptr, copy.put());
  return copy.template as<I>();
}
// The run's message and source: the thread's error information for a reported failure
// (left in place), nothing for a core exception or success.
struct RunMessage {
  lum::Bstr message, source;
};
LUM_FRAMEWORK_API RunMessage messageOf(const lcBoundaryOutcome& outcome);
LUM_FRAMEWORK_API void setStatus(ILumRunStatus& status, HRESULT result, const RunMessage& text,
                                 double processing, double total);
}  // namespace lcTool

template <class T, class Itf>
class lcToolBase : public lcStdPersistAndChangeImpl<T, Itf, DIID_ILumToolEvents> {
  using Base = lcStdPersistAndChangeImpl<T, Itf, DIID_ILumToolEvents>;
  using This = lcToolBase;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(
            prop<&This::runStatus_>(L"RunStatus", lumIPTool_RunStatus).readOnly(),
            prop<&This::exposedOutputs_>(L"ExposedOutputProperties",
                                         DISPID_LumIPTool_ExposedOutputProperties)
                .readOnly(),
            prop<&This::exposedInputs_>(L"ExposedInputProperties",
                                        DISPID_LumIPTool_ExposedInputProperties)
                .readOnly(),
            prop<&This::toolName_>(L"ToolName", lumIPTool_ToolName),
            prop<&This::controlProgId_>(L"ControlProgID", DISPID_LumIPTool_ControlProgID)
                .byDefault(T::kClass.controlProgId),
            prop<&This::lastRunRecordEnable_>(L"LastRunRecordEnable", lumIPTool_LastRunRecordEnable)
                .byDefault(T::kLastRunRecordDefault)
                .flags(lumChangeSetByClient | lumChangeLastRunRecord),
            prop<&This::lastRunRecordDiagEnable_>(L"LastRunRecordDiagEnable",
                                                  lumIPTool_LastRunRecordDiagEnable)
                .byDefault(T::kLastRunRecordDiagDefault),
            prop<&This::currentRecordEnable_>(L"CurrentRecordEnable", lumIPTool_CurrentRecordEnable)
                .byDefault(T::kCurrentRecordDefault)
                .flags(lumChangeSetByClient | lumChangeCurrentRecord),
            // The mask of the last run; only written with bit 0 of the persistence mode.
            persisted<&This::lastRunDiagMask_>(L"LastRun_LastRunRecordDiagEnable")
                .byDefault(T::kLastRunRecordDiagDefault)
                .inGroups(1),
            method<&This::Run>(L"Run", DISPID_LumIPTool_Run),
            method<&This::Terminate>(L"Terminate", DISPID_LumIPTool_Terminate),
            method<&This::CreateCurrentRecord>(L"CreateCurrentRecord",
                                               DISPID_LumIPTool_CreateCurrentRecord),
            method<&This::CreateLastRunRecord>(L"CreateLastRunRecord",
                                               DISPID_LumIPTool_CreateLastRunRecord),
            indexedProp<&This::get_LastRunRecordEnable, &This::put_LastRunRecordEnable>(
                L"LastRunRecordEnableBase", DISPID_LumIPTool_LastRunRecordEnableBase),
            indexedProp<&This::get_LastRunRecordDiagEnable, &This::put_LastRunRecordDiagEnable>(
                L"LastRunRecordDiagEnableBase", DISPID_LumIPTool_LastRunRecordDiagEnableBase),
            indexedProp<&This::get_CurrentRecordEnable, &This::put_CurrentRecordEnable>(
                L"CurrentRecordEnableBase", DISPID_LumIPTool_CurrentRecordEnableBase)));
  }

  // Defaults, then the run status, the exposed properties, the timer and the tool's own
  // run parameters.
  HRESULT FinalConstruct() {
    if (HRESULT hr = Base::FinalConstruct(); FAILED(hr)) return hr;
    return callBoundary(this->context(L"FinalConstruct"), [&] {
      runStatus_ = create<ILumRunStatus>(CLSID_LumRunStatus);
      exposedInputs_ = lcTool::makeExposed(T::kExposedInputs);
      exposedOutputs_ = lcTool::makeExposed(T::kExposedOutputs);
      timer_ = create<ILumStopwatch>(CLSID_LumStopwatch);
      this->self().constructTool();
    });
  }

  HRESULT Run() override {
    const lcErrorContext context = this->context(L"Run");
    lcComponentCore& core = this->core();
    core.suspendDelivery();
    core.deliver(DISPID_LumToolRunning, nullptr, 0);
    ComPtr<ILumStopwatch> timer;
    core.editPending([&](lcComponentCore::PendingChange& pending, LONG&) {
      pending.flags |= lumChangeLastRunRecord;
      lastRunDiagMask_ = lastRunRecordDiagEnable_;
      timer = timer_;
    });
    timer->Reset();
    timer->Start();
    const lcBoundaryOutcome outcome = runInBoundary(context, [&] { this->self().runStep(); });
    const lcTool::RunMessage text = lcTool::messageOf(outcome);

    ComPtr<ILumRunStatus> status;
    if (HRESULT hr = CoCreateInstance(CLSID_LumRunStatus, nullptr, CLSCTX_ALL,
                                      iid_of<ILumRunStatus>, status.putVoid());
        FAILED(hr)) {
      core.resumeDelivery();
      return callBoundary(context, [&] { throw lcCOMError(hr, 2); });
    }
    return callBoundary(context, [&] {
      const double processing = lcTool::elapsed(*timer);
      lcTool::setStatus(*status, outcome.result, text, processing, 0);
      {
        lcLockGuard guard(core.lock());
        runStatus_ = status;
      }
      core.fireChange(lumIPTool_RunStatus,
                      *lum::Variant(static_cast<IDispatch*>(status.get())).ptr(),
                      lumChangeProducedByRun);
      core.resumeDelivery();
      lcTool::setStatus(*status, outcome.result, text, processing, lcTool::elapsed(*timer));
      core.deliver(DISPID_LumToolRan, nullptr, 0);
    });
  }

  HRESULT Terminate() override {
    return callBoundary(this->context(L"Terminate"), [&] {
      this->core().deliver(DISPID_LumToolTerminateRequested, nullptr, 0);
    });
  }

  HRESULT CreateCurrentRecord(ILumRecord** record) override {
    if (HRESULT hr = lcClearOutPointers(record); FAILED(hr)) return hr;
    return callBoundary(this->context(L"CreateCurrentRecord"), [&] {
      ComPtr<ILumRecord> made = lcTool::makeRecord(L"Current");
      this->self().addCurrentSubRecords(*made, read(currentRecordEnable_));
      *record = made.detach();
    });
  }

  HRESULT CreateLastRunRecord(ILumRecord** record) override {
    if (HRESULT hr = lcClearOutPointers(record); FAILED(hr)) return hr;
    return callBoundary(this->context(L"CreateLastRunRecord"), [&] {
      ComPtr<ILumRecord> made = lcTool::makeRecord(L"LastRun");
      this->self().addLastRunSubRecords(*made, read(lastRunRecordEnable_), read(lastRunDiagMask_));
      *record = made.detach();
    });
  }

  HRESULT get_RunStatus(ILumRunStatus** status) override {
    return this->template getProperty<&This::runStatus_>(status);
  }
  HRESULT get_ExposedInputProperties(ILumStringCollection** properties) override {
    return this->template getProperty<&This::exposedInputs_>(properties);
  }
  HRESULT get_ExposedOutputProperties(ILumStringCollection** properties) override {
    return this->template getProperty<&This::exposedOutputs_>(properties);
  }
  HRESULT get_ToolName(BSTR* name) override {
    return this->template getProperty<&This::toolName_>(name);
  }
  HRESULT put_ToolName(BSTR name) override {
    return this->template putProperty<&This::toolName_>(name);
  }
  HRESULT get_ControlProgID(BSTR* progId) override {
    return this->template getProperty<&This::controlProgId_>(progId);
  }
  HRESULT put_ControlProgID(BSTR progId) override {
    return this->template putProperty<&This::controlProgId_>(progId);
  }
  HRESULT get_LastRunRecordEnable(LONG* mask) override {
    return this->template getProperty<&This::lastRunRecordEnable_>(mask);
  }
  HRESULT put_LastRunRecordEnable(LONG mask) override {
    return this->template putProperty<&This::lastRunRecordEnable_>(mask);
  }
  HRESULT get_LastRunRecordDiagEnable(LONG* mask) override {
    return this->template getProperty<&This::lastRunRecordDiagEnable_>(mask);
  }
  HRESULT put_LastRunRecordDiagEnable(LONG mask) override {
    return this->template putProperty<&This::lastRunRecordDiagEnable_>(mask);
  }
  HRESULT get_CurrentRecordEnable(LONG* mask) override {
    return this->template getProperty<&This::currentRecordEnable_>(mask);
  }
  HRESULT put_CurrentRecordEnable(LONG mask) override {
    return this->template putProperty<&This::currentRecordEnable_>(mask);
  }

  // After reading: a stream without a run status leaves a new one.
  void persistCustom(ILumArchive&, LONG mode) {
    if (mode & lumPersistWriting) return;
    lcLockGuard guard(this->core().lock());
    if (!runStatus_) runStatus_ = create<ILumRunStatus>(CLSID_LumRunStatus);
  }

 protected:
  lcToolBase() = default;

  template <class I>
  static ComPtr<I> create(const CLSID& clsid) {
    ComPtr<I> object;
    throwIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid()));
    return object;
  }
  // The LastRunRecordDiagEnable in force for the run under way (or the last one).
  LONG lastRunDiagnosticMask() { return read(lastRunDiagMask_); }
  // The LastRunRecordEnable property.
  LONG lastRunRecordMask() { return read(lastRunRecordEnable_); }
  // A field's value copied under the lock.
  template <class F>
  F read(const F& field) {
    lcLockGuard guard(this->core().lock());
    return field;
  }

 private:
  ComPtr<ILumRunStatus> runStatus_;
  ComPtr<ILumStringCollection> exposedOutputs_;
  ComPtr<ILumStringCollection> exposedInputs_;
  lum::Bstr toolName_;
  lum::Bstr controlProgId_;
  LONG lastRunRecordEnable_ = 0;
  LONG lastRunRecordDiagEnable_ = 0;
  LONG currentRecordEnable_ = 0;
  LONG lastRunDiagMask_ = 0;
  ComPtr<ILumStopwatch> timer_;
};
