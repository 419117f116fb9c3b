// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/gmorph/grey_morphology.h"

std::vector<lcModuleClass> lcGreyMorphologyClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageGreyMorphology3x3Element>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphology3x3Elements>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphology>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphologyNxM>(),
  };
}
