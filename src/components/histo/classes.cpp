// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/histo/histogram.h"
#include "components/histo/histogram_tool.h"

std::vector<lcModuleClass> lcHistogramClasses() {
  return {
      lcModuleClass::of<CLumHistogram>(),
      lcModuleClass::of<CLumHistogramResult>(),
      lcModuleClass::of<CLumHistogramTool>(),
  };
}
