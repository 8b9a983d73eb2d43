#include "fake_wow64.h"

#include <gtest/gtest.h>

#include <string>

#include <strings.h>

#include "handle_ledger.h"

static bool underWow64 = false;
static bool redirectionOff = false;
static int previousRedirection;

void FakeWow64Answered(BOOL wow64)
{
    underWow64 = wow64 != FALSE;
}

void FakeWow64Reset()
{
    underWow64 = redirectionOff = false;
}

// An .exe runs as the copy its path names; .msc and .cpl are opened by MMC
// and the control panel, whose native hosts start themselves. ShellExecute
// of regedit.exe is left alone: only an unelevated copy goes that way, and
// the elevation starts the native editor.
void CheckStartsNativeProgram(LPCSTR call, LPCSTR path)
{
    if (!underWow64 || redirectionOff || path == nullptr)
        return;
    std::string file(path);
    bool program = file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".exe") == 0;
    bool inSystem32 = strcasestr(path, "\\system32\\") != nullptr;
    bool editor = strcasestr(path, "\\regedit.exe") != nullptr && std::string(call) == "CreateProcessA";
    if ((program && inSystem32) || editor)
        ADD_FAILURE() << call << "(\"" << path << "\"): under WOW64 this starts the 32-bit copy";
}

// HKLM\Software is two keys on 64-bit Windows. Without a view flag the i686
// build opens the 32-bit one (WOW6432Node) and the x86_64 build the 64-bit
// one, so the two builds would read and write different values.
void CheckRegistryView(HKEY root, LPCSTR subKey, REGSAM access)
{
    if (root == HKEY_LOCAL_MACHINE && subKey != nullptr && strncasecmp(subKey, "Software\\", 9) == 0 &&
        (access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY)) == 0)
        ADD_FAILURE() << "RegOpenKeyExA(HKLM\\" << subKey << "): no view named, so each build opens another key";
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
