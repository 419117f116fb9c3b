#pragma once
// The system event log, by role: errors that the library reports outside any call
// (a resource that cannot load) go to syslog unless a host installs its own sink.

#include <memory>
#include <string_view>

#include "platform/export.h"

namespace lum {

enum class EventType { Error, Warning, Information };

class LUM_VISIBLE EventLogSink {
 public:
  virtual ~EventLogSink() = default;
  virtual void write(EventType type, std::wstring_view source, std::wstring_view message) = 0;
};

// Writes one entry: `message` under `source`.
LUM_PLATFORM_API void reportEvent(EventType type, std::wstring_view source,
                                  std::wstring_view message);
// Installs `sink` (null restores syslog) and returns the one it replaces.
LUM_PLATFORM_API std::shared_ptr<EventLogSink> setEventLogSink(std::shared_ptr<EventLogSink> sink);

}  // namespace lum
