#pragma once
// Functions of persistence that other libraries call. Persistence is compiled into
// liblumxip_framework, so it exports from that library.

#include "platform/export.h"

#define LUM_PERSIST_API LUM_VISIBLE
