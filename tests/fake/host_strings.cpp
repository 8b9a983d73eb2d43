// The ANSI string routines, for real: tests check the texts they produce.
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"

// Windows' long is 32 bits and the host's is 64, so "%lu" would read the
// wrong width here: the length modifier is dropped before formatting.
static std::string WithoutLongModifiers(LPCSTR format)
{
    std::string plain;
    bool inConversion = false;
    for (const char *c = format; *c != '\0'; ++c) {
        if (inConversion && *c == 'l')
            continue;
        if (*c == '%')
            inConversion = !inConversion;
        else if (inConversion && std::isalpha((unsigned char)*c))
            inConversion = false;
        plain += *c;
    }
    return plain;
}

int WINAPI wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    // wsprintfA stores at most 1024 bytes, the terminating zero included,
    // and returns how many characters it stored.
    static const int kLimit = 1024;
    va_list arguments;
    va_start(arguments, format);
    int wanted = std::vsnprintf(buffer, kLimit, WithoutLongModifiers(format).c_str(), arguments);
    va_end(arguments);
    return wanted < kLimit ? wanted : kLimit - 1;
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
