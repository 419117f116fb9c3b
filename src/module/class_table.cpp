#include "module/class_table.h"

std::vector<lcModuleClass> lumxipClasses() {
  return {
      // The component families add their classes here as they arrive.
  };
}
