#include "fake_win32.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <strings.h>

#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_gamma.h"
#include "fake_hotkeys.h"
#include "fake_registry.h"
#include "fake_wow64.h"
#include "handle_ledger.h"

static FakeWin32 *activeFake = nullptr;

FakeWin32::FakeWin32() = default;
FakeWin32::~FakeWin32() = default;

void SetActiveFake(FakeWin32 *fake)
{
    activeFake = fake;
}

FakeWin32 &ActiveFake()
{
    if (activeFake == nullptr) {
        std::fprintf(stderr, "a Windows call was made outside a Win32Test\n");
        std::abort();
    }
    return *activeFake;
}

const char *FakeUtf8(LPCWSTR text)
{
    static std::string utf8;
    if (text == nullptr)
        return nullptr;
    utf8.clear();
    for (const WCHAR *c = text; *c != 0; ++c) {
        char32_t code = *c;
        if (code >= 0xD800 && code < 0xDC00 && c[1] >= 0xDC00 && c[1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (*++c - 0xDC00);
        if (code < 0x80) {
            utf8 += (char)code;
            continue;
        }
        int trailing = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        utf8 += (char)(((0xFF00 >> (trailing + 1)) & 0xFF) | (code >> (6 * trailing)));
        while (trailing-- > 0)
            utf8 += (char)(0x80 | ((code >> (6 * trailing)) & 0x3F));
    }
    return utf8.c_str();
}

// Windows looks for a bare DLL name beside the program first, unless the
// DLL is one the system always takes from its own directory (the KnownDLLs,
// and ntdll, which every process already has).
static void CheckNotSearchedBesideProgram(LPCSTR name)
{
    static const char *const kAlwaysFromSystem[] = {"advapi32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
                                                     "msvcrt.dll",   "ntdll.dll",    "ole32.dll", "shell32.dll",
                                                     "user32.dll"};
    if (std::strchr(name, '\\') != nullptr)
        return;
    for (const char *known : kAlwaysFromSystem) {
        if (strcasecmp(name, known) == 0)
            return;
    }
    ADD_FAILURE() << "LoadLibraryW(\"" << name << "\"): a planted copy beside the program would be loaded";
}

// ShellExecute and CreateProcess look for a file that is not named by its
// full path (a bare name, or one made of a folder that could not be read)
// from the current directory first.
static void CheckNotSearchedInCurrentDirectory(LPCSTR call, LPCSTR file)
{
    if (file == nullptr || std::strstr(file, "://") != nullptr || std::strncmp(file, "\\\\", 2) == 0 ||
        (std::isalpha((unsigned char)file[0]) && std::strncmp(file + 1, ":\\", 2) == 0))
        return;
    ADD_FAILURE() << call << "(\"" << file << "\"): not a full path: a planted copy in the current directory would run";
}

#define NO_TRACK
#define WIN32_API(ret, name, params, args, track) \
    ret WINAPI name params                        \
    {                                             \
        ret result = ActiveFake().name args;      \
        track;                                    \
        return result;                            \
    }
#define WIN32_API_VOID(name, params, args, track) \
    void WINAPI name params                       \
    {                                             \
        ActiveFake().name args;                   \
        track;                                    \
    }
#include "platform/host/win32_api.def"
