// Linux host stand-in for the Windows SDK: the same names, types, layouts and
// constants as the SDK, for the subset of the API the program uses. The
// functions are implemented by the test fake (tests/fake).
#ifndef OMBRIVALE_PLATFORM_HOST_WIN32_HOST_H
#define OMBRIVALE_PLATFORM_HOST_WIN32_HOST_H

#include "win32_types.h"
#include "win32_constants.h"
// The GDI+ types, needed by the GDI+ lines of the call list below.
#include "../gdiplus_flat.h"

#define WIN32_API(ret, name, params, args, track) ret WINAPI name params;
#define WIN32_API_VOID(name, params, args, track) void WINAPI name params;
#include "win32_api.def"
#undef WIN32_API
#undef WIN32_API_VOID

// Plain string routines, not mocked: the fake implements them for real so a
// test checks the resulting text rather than restating the calls.
int WINAPI wsprintfA(LPSTR buffer, LPCSTR format, ...);
LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source);
LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source);
int WINAPI lstrcmpA(LPCSTR first, LPCSTR second);
int WINAPI lstrlenA(LPCSTR text);
int WINAPI wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source);
LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source);
int WINAPI lstrcmpW(LPCWSTR first, LPCWSTR second);
int WINAPI lstrlenW(LPCWSTR text);
// msvcrt's, for UTF-16 text; the host C library's takes 32-bit wchar_t.
const WCHAR *wcsstr(const WCHAR *text, const WCHAR *part);

#endif
