#include "module/class_table.h"

#include "components/affine/affine_transform.h"
#include "components/affine/affine_transform_tool.h"
#include "components/affine/polar_unwrap.h"
#include "components/affine/polar_unwrap_tool.h"
#include "components/arith/constant_arithmetic.h"
#include "components/conv/convolution.h"
#include "components/gmorph/grey_morphology.h"
#include "components/histo/histogram.h"
#include "components/histo/histogram_tool.h"
#include "components/median/median.h"
#include "components/oneimage/one_image_tool.h"
#include "components/oneimage/operators_collection.h"
#include "components/orient/flip_rotate.h"
#include "components/orient/missing_pixel.h"
#include "components/sampling/sample_convolve.h"
#include "components/sampling/sampling.h"
#include "components/sobel/sobel_edge.h"
#include "components/sobel/sobel_edge_tool.h"
#include "components/twoimage/two_image_arithmetic.h"
#include "components/twoimage/two_image_tools.h"

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
      lcModuleClass::of<CLumIPTwoImageAdd>(),
      lcModuleClass::of<CLumIPTwoImageSubtract>(),
      lcModuleClass::of<CLumIPTwoImageMinMax>(),
      lcModuleClass::of<CLumIPTwoImageAddTool>(),
      lcModuleClass::of<CLumIPTwoImageSubtractTool>(),
      lcModuleClass::of<CLumIPTwoImageMinMaxTool>(),
      lcModuleClass::of<CLumIPOneImageFlipRotate>(),
      lcModuleClass::of<CLumIPOneImageMissingPixel>(),
      lcModuleClass::of<CLumIPOneImageSubSampler>(),
      lcModuleClass::of<CLumIPOneImageExpand>(),
      lcModuleClass::of<CLumIPOneImageGaussSampler>(),
      lcModuleClass::of<CLumIPOneImageMedian3x3>(),
      lcModuleClass::of<CLumIPOneImageMedianNxM>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphology3x3Element>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphology3x3Elements>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphology>(),
      lcModuleClass::of<CLumIPOneImageGreyMorphologyNxM>(),
      lcModuleClass::of<CLumSobelEdge>(),
      lcModuleClass::of<CLumSobelEdgeResult>(),
      lcModuleClass::of<CLumSobelEdgeTool>(),
      lcModuleClass::of<CLumHistogram>(),
      lcModuleClass::of<CLumHistogramResult>(),
      lcModuleClass::of<CLumHistogramTool>(),
      lcModuleClass::of<CLumIPOneImageSampleConvolve>(),
      lcModuleClass::of<CLumAffineTransform>(),
      lcModuleClass::of<CLumAffineTransformTool>(),
      lcModuleClass::of<CLumPolarUnwrap>(),
      lcModuleClass::of<CLumPolarUnwrapTool>(),
  };
}
