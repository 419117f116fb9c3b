// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/sampling/sample_convolve.h"
#include "components/sampling/sampling.h"

std::vector<lcModuleClass> lcSamplingClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageSubSampler>(),
      lcModuleClass::of<CLumIPOneImageExpand>(),
      lcModuleClass::of<CLumIPOneImageGaussSampler>(),
      lcModuleClass::of<CLumIPOneImageSampleConvolve>(),
  };
}
