#pragma once
// Every component class of the lumxip library, in one list.

#include <vector>

#include "components/framework/module_registration.h"

std::vector<lcModuleClass> lumxipClasses();
