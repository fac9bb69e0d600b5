// GoogleTest from a Win32 translation unit.  Under Winelib, gtest's headers
// would take their Windows paths on seeing the _WIN32 family of macros,
// while libgtest is the Linux one: those are hidden while it is included,
// and only the narrow assertions may be used (libgtest is built with a
// 4-byte wchar_t).  A Windows build includes it as it is.
#pragma once
#ifdef __WINE__
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WINNT__")
#pragma push_macro("_MSC_VER")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#undef __WIN32__
#undef __WINNT__
#undef _MSC_VER
#include <gtest/gtest.h>
#pragma pop_macro("_MSC_VER")
#pragma pop_macro("__WINNT__")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")
#else
#include <gtest/gtest.h>
#endif
