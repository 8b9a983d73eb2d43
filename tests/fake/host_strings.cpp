// The ANSI string routines, for real: tests check the texts they produce.
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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

// The wide forms, over UTF-16 text (the host's WCHAR is char16_t).
int WINAPI lstrlenW(LPCWSTR text)
{
    return text == nullptr ? 0 : (int)std::char_traits<WCHAR>::length(text);
}

LPWSTR WINAPI lstrcpyW(LPWSTR destination, LPCWSTR source)
{
    std::char_traits<WCHAR>::copy(destination, source, lstrlenW(source) + 1);
    return destination;
}

LPWSTR WINAPI lstrcatW(LPWSTR destination, LPCWSTR source)
{
    lstrcpyW(destination + lstrlenW(destination), source);
    return destination;
}

int WINAPI lstrcmpW(LPCWSTR first, LPCWSTR second)
{
    return std::u16string_view(first).compare(second);
}

const WCHAR *wcsstr(const WCHAR *text, const WCHAR *part)
{
    std::u16string_view whole(text);
    size_t found = whole.find(part);
    return found == std::u16string_view::npos ? nullptr : text + found;
}

// One conversion of a wsprintfW format: the narrow form of its flags and
// width with "%" in front, and the letter that ends it.
static std::u16string FormatOne(const std::string &spec, char letter, va_list &arguments)
{
    if (letter == 's')
        return va_arg(arguments, const WCHAR *);
    char digits[64];
    std::snprintf(digits, sizeof digits, (spec + letter).c_str(), va_arg(arguments, unsigned int));
    return std::u16string(digits, digits + std::strlen(digits));
}

// Numbers (d, u, x with flags and width; Windows' "l" is 32 bits too) and
// wide strings (s), as the program formats them; at most 1024 characters
// stored, the terminating zero included.
int WINAPI wsprintfW(LPWSTR buffer, LPCWSTR format, ...)
{
    static const size_t kLimit = 1024;
    va_list arguments;
    va_start(arguments, format);
    std::u16string out;
    for (const WCHAR *c = format; *c != 0; ++c) {
        if (*c != u'%' || c[1] == u'%') {
            out += *c;
            c += *c == u'%';
            continue;
        }
        std::string spec = "%";
        while (*++c != 0 && std::strchr("0123456789-+ #", (char)*c) != nullptr)
            spec += (char)*c;
        while (*c == u'l')
            ++c;
        out += FormatOne(spec, (char)*c, arguments);
    }
    va_end(arguments);
    if (out.size() >= kLimit)
        out.resize(kLimit - 1);
    std::char_traits<WCHAR>::copy(buffer, out.c_str(), out.size() + 1);
    return (int)out.size();
}
