// The one header every source file includes for Windows declarations.
// On Windows it is the SDK; on the Linux host it is our own declaration of
// the subset the program uses, linked against the test fake.
#ifndef OMBRIVALE_PLATFORM_WIN32_H
#define OMBRIVALE_PLATFORM_WIN32_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <string.h>
#else
#include "host/win32_host.h"
#endif

// A wide text literal, spelt once for both builds from the UTF-8 source: the
// SDK's WCHAR is wchar_t (L"..."), the host's is char16_t (u"..."), both
// UTF-16. The second step lets the argument be a macro or several literals.
#ifdef _WIN32
#define WIDE_LITERAL(text) L##text
#else
#define WIDE_LITERAL(text) u##text
#endif
#define WIDE(text) WIDE_LITERAL(text)

#include "gdiplus_flat.h"
#include "nt_native.h"

#endif
