// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/orient/flip_rotate.h"
#include "components/orient/missing_pixel.h"

std::vector<lcModuleClass> lcOrientClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageFlipRotate>(),
      lcModuleClass::of<CLumIPOneImageMissingPixel>(),
  };
}
