#pragma once
// Everything a component file needs.

#include "components/framework/change_event_impl.h"
#include "components/framework/component_base.h"
#include "components/framework/object_impl.h"
#include "components/framework/persist_impl.h"
