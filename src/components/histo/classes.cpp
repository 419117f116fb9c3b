// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/histo/histogram.h"
#include "components/histo/histogram_tool.h"
#include "components/histo/pixel_remap.h"

std::vector<lcModuleClass> lcHistogramClasses() {
  return {
      lcModuleClass::of<CLumHistogram>(),          lcModuleClass::of<CLumHistogramResult>(),
      lcModuleClass::of<CLumHistogramTool>(),      lcModuleClass::of<CLumIPOneImagePixelMap>(),
      lcModuleClass::of<CLumIPOneImageEqualize>(), lcModuleClass::of<CLumIPOneImageQuantize>(),
  };
}
