#include "module/class_table.h"

#include "components/arith/constant_arithmetic.h"
#include "components/conv/convolution.h"
#include "components/oneimage/one_image_tool.h"
#include "components/oneimage/operators_collection.h"
#include "components/sobel/sobel_edge.h"
#include "components/sobel/sobel_edge_tool.h"

std::vector<lcModuleClass> lumxipClasses() {
  return {
      // The component families add their classes here as they arrive.
      lcModuleClass::of<CLumIPOneImageOperators>(),
      lcModuleClass::of<CLumIPOneImageTool>(),
      lcModuleClass::of<CLumIPOneImageAddSubtractConstant>(),
      lcModuleClass::of<CLumIPOneImageMultiplyConstant>(),
      lcModuleClass::of<CLumIPOneImageConvolve3x3>(),
      lcModuleClass::of<CLumIPOneImageConvolveNxM>(),
      lcModuleClass::of<CLumIPOneImageHighPassFilter>(),
      lcModuleClass::of<CLumSobelEdge>(),
      lcModuleClass::of<CLumSobelEdgeResult>(),
      lcModuleClass::of<CLumSobelEdgeTool>(),
  };
}
