// The classes this family adds to the library.

#include "components/affine/affine_transform.h"
#include "components/affine/affine_transform_tool.h"
#include "components/affine/polar_unwrap.h"
#include "components/affine/polar_unwrap_tool.h"
#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcAffineClasses() {
  return {
      lcModuleClass::of<CLumAffineTransform>(),
      lcModuleClass::of<CLumAffineTransformTool>(),
      lcModuleClass::of<CLumPolarUnwrap>(),
      lcModuleClass::of<CLumPolarUnwrapTool>(),
  };
}
