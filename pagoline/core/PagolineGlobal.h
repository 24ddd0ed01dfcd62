#pragma once

#include <QtCore/qglobal.h>

// Symbols of libpagoline that hosts and the library's tests link against.
#if defined(PAGOLINE_BUILDING_LIBRARY)
#define PAGOLINE_EXPORT Q_DECL_EXPORT
#else
#define PAGOLINE_EXPORT Q_DECL_IMPORT
#endif
