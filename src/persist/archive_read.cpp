#include "persist/archive_read.h"

#include <utility>

#include "components/framework/com_error.h"
#include "persist/property_archive.h"

namespace {
constexpr LONG kWriteEverything = lumPersistWriting | lumPersistAllGroups;
constexpr LONG kReadEverything = lumPersistAllGroups;
}  // namespace

lcArchiveRead::lcArchiveRead(ILumPersistArchive& component, bool existed)
    : component_(&component), events_(component_.as<ILumChangeEventConfiguration>()) {
  if (existed) {
    ComPtr<ILumArchive> before = lcCreatePropertyArchive(kWriteEverything);
    throwIfFailed(component.Persist(before.get(), kWriteEverything));
    before->put_Mode(kReadEverything);
    component.get_HasChanged(&changedBefore_);
    before_ = std::move(before);
  }
  if (events_) events_->SuspendEventDelivery();
}

lcArchiveRead::~lcArchiveRead() {
  if (finished_) return;
  if (before_) {
    // What it wrote a moment ago reads back; a failure here could not be reported.
    (void)component_->Persist(before_.get(), kReadEverything);
    component_->put_HasChanged(changedBefore_);
  }
  if (events_) events_->ResumeAndFireEvent();
}

void lcArchiveRead::finish(bool nested) {
  component_->put_HasChanged(VARIANT_TRUE);  // loaded: no longer what a new one would be
  finished_ = true;
  throwIfFailed(component_->PostLoad(nested ? VARIANT_TRUE : VARIANT_FALSE));
}
