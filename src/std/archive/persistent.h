#pragma once
// The base of every object of the core library that archives itself: it writes its
// version first, then its values in a fixed order, base part before its own.

#include "std/export.h"

class lcArchive;

class LC_VISIBLE lcPersistent {
 public:
  virtual ~lcPersistent() = default;

  // Writes this object into `archive` or reads it back, as the archive's direction says.
  virtual void archive(lcArchive& archive);
  // Hooks run before and after an object is read.
  virtual void preLoad() {}
  virtual void postLoad() {}

 protected:
  lcPersistent() = default;
  lcPersistent(const lcPersistent&) = default;
  lcPersistent& operator=(const lcPersistent&) = default;
};
