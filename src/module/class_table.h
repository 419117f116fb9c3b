#pragma once
// Every component class of the lumxip library, in one list. Each family lists its own
// classes in its `classes.cpp`, so that the templates behind them compile in parallel and
// only where the family changed.

#include <vector>

#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lcOneImageClasses();
std::vector<lcModuleClass> lcArithClasses();
std::vector<lcModuleClass> lcConvolutionClasses();
std::vector<lcModuleClass> lcTwoImageClasses();
std::vector<lcModuleClass> lcOrientClasses();
std::vector<lcModuleClass> lcSamplingClasses();
std::vector<lcModuleClass> lcMedianClasses();
std::vector<lcModuleClass> lcGreyMorphologyClasses();
std::vector<lcModuleClass> lcSobelClasses();
std::vector<lcModuleClass> lcHistogramClasses();
std::vector<lcModuleClass> lcAffineClasses();
std::vector<lcModuleClass> lcImageAverageClasses();
std::vector<lcModuleClass> lcImageSharpnessClasses();
std::vector<lcModuleClass> lcCopyRegionClasses();

std::vector<lcModuleClass> lumxipClasses();
