#include "py_events.h"

#include "py_component.h"
#include "py_values.h"

namespace lumxip::python {
namespace {

// Delivers the events of one connection point to a Python callable. Events it does not
// pass on (the change event on the tool-event interface, say) are accepted and dropped.
class Sink final : public lum::ComObject<IDispatch> {
 public:
  enum class Kind { change, tool };

  Sink(Kind kind, py::function callback) : kind_(kind), callback_(callback.release().ptr()) {}
  ~Sink() override {
    if (!Py_IsInitialized()) return;
    py::gil_scoped_acquire gil;
    Py_XDECREF(callback_);
  }

  // The event interface the sink answers: the one of the connection point it joins.
  void setEventIid(const IID& iid) { eventIid_ = iid; }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object != nullptr && iid == eventIid_) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return ComObject::QueryInterface(iid, object);
  }
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  HRESULT Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override {
    if (params == nullptr) return E_POINTER;
    const char* toolEvent = dispid == DISPID_LumToolRunning              ? "running"
                            : dispid == DISPID_LumToolRan                ? "ran"
                            : dispid == DISPID_LumToolTerminateRequested ? "terminate_requested"
                                                                         : nullptr;
    const bool change = dispid == DISPID_LumChangeEvent && params->cArgs == 3;
    if ((kind_ == Kind::change && !change) || (kind_ == Kind::tool && toolEvent == nullptr))
      return S_OK;
    py::gil_scoped_acquire gil;
    try {
      auto callback = py::reinterpret_borrow<py::function>(callback_);
      if (change)  // DISPPARAMS holds flags, value, state ID
        callback(fromVariant(params->rgvarg[2]), fromVariant(params->rgvarg[1]),
                 fromVariant(params->rgvarg[0]));
      else
        callback(toolEvent);
    } catch (py::error_already_set& e) {
      e.discard_as_unraisable("lumxip event callback");
    } catch (...) {
      // An event sink never throws into the component that raised the event.
    }
    return S_OK;
  }

 private:
  Kind kind_;
  PyObject* callback_;
  IID eventIid_ = DIID_ILumChangeEvent;
};

// An advised sink; close() (or leaving a with-block) unadvises it.
class Connection {
 public:
  Connection(ComPtr<IConnectionPoint> point, DWORD cookie)
      : point_(std::move(point)), cookie_(cookie) {}
  void close() {
    if (!point_) return;
    ComPtr<IConnectionPoint> point = std::move(point_);
    py::gil_scoped_release release;  // the sink may be freed, which takes the GIL
    point->Unadvise(cookie_);
  }

 private:
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_;
};

Connection advise(Object& source, Sink::Kind kind, py::function callback) {
  auto sink = lum::makeComObject<Sink>(kind, std::move(callback));
  ComPtr<IConnectionPointContainer> container;
  check(source.dispatch()->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid()),
        L"finding the object's events");
  // A tool raises its change events on its tool-event interface.
  ComPtr<IConnectionPoint> point;
  HRESULT hr = E_NOINTERFACE;
  if (kind == Sink::Kind::change) {
    hr = container->FindConnectionPoint(DIID_ILumChangeEvent, point.put());
    if (SUCCEEDED(hr)) sink->setEventIid(DIID_ILumChangeEvent);
  }
  if (FAILED(hr)) {
    hr = container->FindConnectionPoint(DIID_ILumToolEvents, point.put());
    sink->setEventIid(DIID_ILumToolEvents);
  }
  check(hr, kind == Sink::Kind::change ? L"finding the change event" : L"finding the tool events");
  DWORD cookie = 0;
  check(point->Advise(static_cast<IDispatch*>(sink.get()), &cookie), L"advising the sink");
  return Connection(std::move(point), cookie);
}

}  // namespace

void bindEvents(py::module_& module) {
  py::class_<Connection>(module, "Connection",
                         "An event subscription; close() ends it (so does a with-block).")
      .def("close", &Connection::close)
      .def("__enter__", [](Connection& c) -> Connection& { return c; })
      .def("__exit__", [](Connection& c, py::args) { c.close(); });
  module.def(
      "_on_change",
      [](Object& source, py::function callback) {
        return advise(source, Sink::Kind::change, std::move(callback));
      },
      py::arg("source"), py::arg("callback"));
  module.def(
      "_on_tool_event",
      [](Object& source, py::function callback) {
        return advise(source, Sink::Kind::tool, std::move(callback));
      },
      py::arg("source"), py::arg("callback"));
}

}  // namespace lumxip::python
