#pragma once
// How deeply the objects and arrays that this thread is saving, loading or copying are
// nested, counted across every way one object reads or writes another. A streamed
// object's own Load or Save comes back through the persistence service on the same
// thread, and a deep copy may go through it too, so a count kept by one reader or writer
// could not bound the stack: the count belongs to the thread.

#include "persist/export.h"

// One level of nesting for as long as it lives. Entering more than kMaxLevels levels on
// one thread throws lcArchive::BadContent saying `what` is nested too deeply.
class LUM_VISIBLE lcNestingGuard {
 public:
  static constexpr int kMaxLevels = 64;

  explicit lcNestingGuard(const wchar_t* what);
  ~lcNestingGuard();
  lcNestingGuard(const lcNestingGuard&) = delete;
  lcNestingGuard& operator=(const lcNestingGuard&) = delete;
};
