// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/oneimage/one_image_tool.h"
#include "components/oneimage/operators_collection.h"

std::vector<lcModuleClass> lcOneImageClasses() {
  return {
      lcModuleClass::of<CLumIPOneImageOperators>(),
      lcModuleClass::of<CLumIPOneImageTool>(),
  };
}
