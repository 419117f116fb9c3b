#include "std/archive/persistent.h"

// An object with nothing of its own to save archives nothing.
void lcPersistent::archive(lcArchive&) {}
