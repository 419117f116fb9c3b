#include "platform/event_log.h"

#include <syslog.h>

#include <mutex>
#include <string>

#include "platform/bstr.h"

namespace lum {
namespace {

class SyslogSink final : public EventLogSink {
 public:
  void write(EventType type, std::wstring_view source, std::wstring_view message) override {
    const int priority = type == EventType::Error     ? LOG_ERR
                         : type == EventType::Warning ? LOG_WARNING
                                                      : LOG_INFO;
    syslog(LOG_USER | priority, "%s: %s", toUtf8(source).c_str(), toUtf8(message).c_str());
  }
};

std::mutex gSinkMutex;
std::shared_ptr<EventLogSink> gSink;  // null: syslog

std::shared_ptr<EventLogSink> currentSink() {
  std::lock_guard lock(gSinkMutex);
  if (!gSink) gSink = std::make_shared<SyslogSink>();
  return gSink;
}

}  // namespace

void reportEvent(EventType type, std::wstring_view source, std::wstring_view message) {
  currentSink()->write(type, source, message);
}

std::shared_ptr<EventLogSink> setEventLogSink(std::shared_ptr<EventLogSink> sink) {
  std::lock_guard lock(gSinkMutex);
  std::shared_ptr<EventLogSink> previous = std::move(gSink);
  gSink = std::move(sink);
  return previous;
}

}  // namespace lum
