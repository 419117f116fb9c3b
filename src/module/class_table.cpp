#include "module/class_table.h"

std::vector<lcModuleClass> lumxipClasses() {
  std::vector<lcModuleClass> classes;
  for (auto family :
       {&lcOneImageClasses, &lcArithClasses, &lcConvolutionClasses, &lcTwoImageClasses,
        &lcOrientClasses, &lcSamplingClasses, &lcMedianClasses, &lcGreyMorphologyClasses,
        &lcSobelClasses, &lcHistogramClasses, &lcAffineClasses, &lcImageAverageClasses,
        &lcImageSharpnessClasses, &lcCopyRegionClasses})
    for (lcModuleClass& entry : family())
      classes.push_back(std::move(entry));
  return classes;
}
