// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/sharpness/image_sharpness.h"
#include "components/sharpness/image_sharpness_tool.h"

std::vector<lcModuleClass> lcImageSharpnessClasses() {
  return {
      lcModuleClass::of<CLumImageSharpness>(),
      lcModuleClass::of<CLumImageSharpnessTool>(),
  };
}
