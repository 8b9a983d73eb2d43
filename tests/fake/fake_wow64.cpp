#include "fake_wow64.h"

#include <gtest/gtest.h>

#include <string>

#include <strings.h>

#include "handle_ledger.h"

static bool underWow64 = false;
static bool redirectionOff = false;
static DWORD windowsVersion;
static bool elevationPrompts = false;
static int previousRedirection;

void FakeWow64Answered(BOOL wow64)
{
    underWow64 = wow64 != FALSE;
}

void FakeWow64Reset()
{
    underWow64 = redirectionOff = elevationPrompts = false;
    windowsVersion = kFakeWindows7;
}

void FakeWow64Windows(DWORD version, bool prompts)
{
    windowsVersion = version;
    elevationPrompts = prompts;
}

DWORD FakeWow64Version()
{
    return windowsVersion;
}

// Programs whose manifest asks for the highest rights available.
static bool AsksForElevation(LPCSTR path)
{
    return strcasestr(path, "\\taskmgr.exe") != nullptr || strcasestr(path, "\\regedit.exe") != nullptr;
}

// Before Vista there is no Sysnative; the elevation that UAC's prompt starts
// is done by a 64-bit service, and 64-bit programs cannot use the alias.
static void CheckSysnative(LPCSTR call, LPCSTR path)
{
    if ((windowsVersion & 0xFF) < 6)
        ADD_FAILURE() << call << "(\"" << path << "\"): no Sysnative alias before Vista, so nothing starts";
    else if (elevationPrompts && AsksForElevation(path) && std::string(call) == "ShellExecuteW")
        ADD_FAILURE() << call << "(\"" << path << "\"): the 64-bit elevation service cannot use the Sysnative alias";
}

// An .exe runs as the copy its path names; .msc and .cpl are opened by MMC
// and the control panel, whose native hosts start themselves. When the start
// shows the UAC prompt, Windows does not redirect it and starts the native
// program: that is how ShellExecute of such a program's own path is native.
void CheckStartsNativeProgram(LPCSTR call, LPCSTR path)
{
    if (!underWow64 || path == nullptr)
        return;
    if (strcasestr(path, "\\Sysnative\\") != nullptr)
        return CheckSysnative(call, path);
    if (redirectionOff)
        return;
    std::string file(path);
    bool program = file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".exe") == 0;
    bool redirected = (program && strcasestr(path, "\\system32\\") != nullptr) ||
                      strcasestr(path, "\\regedit.exe") != nullptr;
    bool prompted = elevationPrompts && AsksForElevation(path) && std::string(call) == "ShellExecuteW";
    if (redirected && !prompted)
        ADD_FAILURE() << call << "(\"" << path << "\"): under WOW64 this starts the 32-bit copy";
}

// HKLM\Software is two keys on 64-bit Windows. Without a view flag the i686
// build opens the 32-bit one (WOW6432Node) and the x86_64 build the 64-bit
// one, so the two builds would read and write different values.
void CheckRegistryView(HKEY root, LPCSTR subKey, REGSAM access)
{
    if (root == HKEY_LOCAL_MACHINE && subKey != nullptr && strncasecmp(subKey, "Software\\", 9) == 0 &&
        (access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY)) == 0)
        ADD_FAILURE() << "RegOpenKeyEx(HKLM\\" << subKey << "): no view named, so each build opens another key";
}

BOOL WINAPI FakeWow64DisableRedirection(PVOID *previous)
{
    *previous = &previousRedirection;
    redirectionOff = true;
    LedgerAcquire(*previous);
    return TRUE;
}

BOOL WINAPI FakeWow64RevertRedirection(PVOID previous)
{
    redirectionOff = false;
    LedgerRelease(previous);
    return TRUE;
}
