// The classes this family adds to the library.

#include "components/copyregion/copy_region.h"
#include "components/copyregion/copy_region_tool.h"
#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcCopyRegionClasses() {
  return {
      lcModuleClass::of<CLumCopyRegion>(),
      lcModuleClass::of<CLumCopyRegionTool>(),
  };
}
