// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/median/median.h"

std::vector<lcModuleClass> lcMedianClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageMedian3x3>(),
      lcModuleClass::of<CLumIPOneImageMedianNxM>(),
  };
}
