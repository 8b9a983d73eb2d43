// The ANSI string routines, for real: tests check the texts they produce.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/win32.h"

int WINAPI wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    // wsprintfA writes at most 1024 characters and the terminating zero.
    int written = std::vsnprintf(buffer, 1025, format, arguments);
    va_end(arguments);
    return written;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source)
{
    return std::strcpy(destination, source);
}

LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source)
{
    return std::strcat(destination, source);
}

int WINAPI lstrcmpA(LPCSTR first, LPCSTR second)
{
    return std::strcmp(first, second);
}

int WINAPI lstrlenA(LPCSTR text)
{
    return text == nullptr ? 0 : (int)std::strlen(text);
}
