#include "module/class_table.h"

#include "components/arith/constant_arithmetic.h"
#include "components/oneimage/operators_collection.h"

std::vector<lcModuleClass> lumxipClasses() {
  return {
      // The component families add their classes here as they arrive.
      lcModuleClass::of<CLumIPOneImageOperators>(),
      lcModuleClass::of<CLumIPOneImageAddSubtractConstant>(),
      lcModuleClass::of<CLumIPOneImageMultiplyConstant>(),
  };
}
