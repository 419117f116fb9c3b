// The classes this family adds to the library.

#include "components/conv/convolution.h"
#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcConvolutionClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageConvolve3x3>(),
      lcModuleClass::of<CLumIPOneImageConvolveNxM>(),
      lcModuleClass::of<CLumIPOneImageHighPassFilter>(),
  };
}
