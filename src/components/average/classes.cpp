// The classes this family adds to the library.

#include "components/average/image_average.h"
#include "components/average/image_average_tool.h"
#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcImageAverageClasses() {
  return {
      lcModuleClass::of<CLumImageAverage>(),
      lcModuleClass::of<CLumImageAverageTool>(),
  };
}
