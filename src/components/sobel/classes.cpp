// The classes this family adds to the library.

#include "components/framework/module_registration.h"
#include "components/sobel/sobel_edge.h"
#include "components/sobel/sobel_edge_tool.h"

std::vector<lcModuleClass> lcSobelClasses() {
  return {
      lcModuleClass::of<CLumSobelEdge>(),
      lcModuleClass::of<CLumSobelEdgeResult>(),
      lcModuleClass::of<CLumSobelEdgeTool>(),
  };
}
