#pragma once
// Functions of the component framework library (liblumxip_framework) that other
// libraries call.

#include "platform/export.h"

#define LUM_FRAMEWORK_API LUM_VISIBLE
