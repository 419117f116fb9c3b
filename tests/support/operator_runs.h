#pragma once
// Running one-image operators in the tests: one Execute, and a chain of operators in a
// one-image tool.

#include <gtest/gtest.h>

#include <initializer_list>

#include "lumxip/HalvexImageProcessing.h"
#include "support/test_images.h"

namespace lumtest {

// The output of op->Execute(input, pixel-aligned bounding box, region), expecting `expected`.
inline ComPtr<ILumImage> execute(ILumIPOneImageOperator* op, ILumImage* input,
                                 ILumRegion* region = nullptr, HRESULT expected = S_OK) {
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input, lumRegionModePixelAlignedBoundingBox, region, output.put()),
            expected);
  return output;
}

// The output of a one-image tool running `operators` in order on `input`.
inline ComPtr<ILumImage> runInTool(std::initializer_list<ILumIPOneImageOperatorParams*> operators,
                                   ILumImage* input) {
  auto tool = createObject<ILumIPOneImageTool>(CLSID_LumIPOneImageTool);
  ComPtr<ILumIPOneImageOperators> chain;
  tool->get_Operators(chain.put());
  for (ILumIPOneImageOperatorParams* op : operators)
    EXPECT_EQ(chain->Add(op, -1), S_OK);
  tool->putref_InputImage(input);
  EXPECT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  return output;
}

}  // namespace lumtest
