// The classes this family adds to the library.

#include "components/arith/constant_arithmetic.h"
#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcArithClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageAddSubtractConstant>(),
      lcModuleClass::of<CLumIPOneImageMultiplyConstant>(),
  };
}
