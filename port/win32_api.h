// <windows.h> for the Win32 port. The Windows headers define macros for
// names that the port's Platform operations also use (GetProfileString,
// WriteProfileString, ReplaceFile); they are undone here so that the
// operations keep their names. The port calls the Win32 functions by their A
// or W name.

#ifndef VELKARO_PORT_WIN32_API_H_
#define VELKARO_PORT_WIN32_API_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#include <windows.h>

#undef GetProfileString
#undef WriteProfileString
#undef ReplaceFile

#endif  // VELKARO_PORT_WIN32_API_H_
