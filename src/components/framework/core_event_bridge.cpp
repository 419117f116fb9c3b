// Routes the core library's event reports to the platform's event log, for as long as
// this library is loaded.

#include "platform/event_log.h"
#include "std/except/string_resources.h"

namespace {

void toPlatformEventLog(std::wstring_view source, std::wstring_view message) {
  lum::reportEvent(lum::EventType::Error, source, message);
}

struct CoreEventBridge {
  CoreEventBridge() { setEventReporter(&toPlatformEventLog); }
  ~CoreEventBridge() { setEventReporter(nullptr); }
};

const CoreEventBridge gBridge;

}  // namespace
