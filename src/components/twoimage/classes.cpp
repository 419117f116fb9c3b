// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/twoimage/two_image_arithmetic.h"
#include "components/twoimage/two_image_tools.h"

std::vector<lcModuleClass> lcTwoImageClasses() {
  return {
      lcModuleClass::of<CLumIPTwoImageAdd>(),
      lcModuleClass::of<CLumIPTwoImageSubtract>(),
      lcModuleClass::of<CLumIPTwoImageMinMax>(),
      lcModuleClass::of<CLumIPTwoImageAddTool>(),
      lcModuleClass::of<CLumIPTwoImageSubtractTool>(),
      lcModuleClass::of<CLumIPTwoImageMinMaxTool>(),
  };
}
