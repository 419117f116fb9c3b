#pragma once
// Symbol visibility of the core C++ library (liblumxip_core). It is built with hidden
// visibility; exception types and polymorphic classes that other libraries catch,
// cast or derive from are marked LC_VISIBLE, functions they call LC_CORE_API.

#define LC_VISIBLE __attribute__((visibility("default")))
#define LC_CORE_API LC_VISIBLE
