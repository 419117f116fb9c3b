#pragma once
// The component platform as a host sees it: result codes, identifiers, counted
// interfaces, strings, VARIANTs, dispatch, connection points, persistence, streams,
// error information, class creation and the system services the library uses.

#include "platform/bstr.h"
#include "platform/class_factory.h"
#include "platform/class_registry.h"
#include "platform/com_object.h"
#include "platform/connection_points.h"
#include "platform/dispatch.h"
#include "platform/error_info.h"
#include "platform/event_log.h"
#include "platform/file_stream.h"
#include "platform/guid.h"
#include "platform/locale.h"
#include "platform/managed_bridge.h"
#include "platform/persist.h"
#include "platform/safearray.h"
#include "platform/stream.h"
#include "platform/system_info.h"
#include "platform/type_info.h"
#include "platform/types.h"
#include "platform/unknown.h"
#include "platform/variant.h"
