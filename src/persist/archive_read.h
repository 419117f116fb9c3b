#pragma once
// Reading one component from a property archive, so that a read that fails leaves no
// trace: the component's change delivery is suspended while it reads and always resumed,
// and a component that existed before the read has its persisted state written aside
// first and put back if the read does not finish. A new component that fails is
// dropped by its reader, so it needs no copy.
//
//   lcArchiveRead reading(*component, existed);
//   throwIfFailed(component->Persist(archive, mode));
//   reading.finish(nested);  // HasChanged set, PostLoad(nested)

#include "lumxip/HalvexCore.h"
#include "persist/export.h"

class LUM_VISIBLE lcArchiveRead {
 public:
  // Throws lcCOMError when the existing state cannot be written aside.
  lcArchiveRead(ILumPersistArchive& component, bool existed);
  // Without finish(): puts the state written aside back, and resumes change delivery.
  ~lcArchiveRead();
  lcArchiveRead(const lcArchiveRead&) = delete;
  lcArchiveRead& operator=(const lcArchiveRead&) = delete;

  // The read succeeded: the component counts as changed and is told PostLoad(nested),
  // which resumes its delivery (the top component then reports that everything changed).
  void finish(bool nested);

 private:
  ComPtr<ILumPersistArchive> component_;
  ComPtr<ILumChangeEventConfiguration> events_;
  ComPtr<ILumArchive> before_;  // the existing component's state; null for a new one
  VARIANT_BOOL changedBefore_ = VARIANT_FALSE;
  bool finished_ = false;
};
