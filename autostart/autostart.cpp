#include "autostart.h"

#include "../state/app_state.h"

static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const WCHAR kRunValue[] = WIDE(PROGRAM_NAME);
static const WCHAR kTempFolderQuestion[] =
    WIDE("检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。");
static const WCHAR kChangeFailedText[] = WIDE("修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。");

// Both builds share one value, in the 64-bit view that the x86_64 build and
// every 64-bit reader see; without the flag, the i686 build under WOW64
// would open the 32-bit view (WOW6432Node). Older i686 copies wrote there,
// so that view is still read, and its value goes whenever ours changes.
// 32-bit Windows has one view and ignores both flags.
static const REGSAM kSharedView = KEY_WOW64_64KEY;
static const REGSAM kOlderI686View = KEY_WOW64_32KEY;

// A key of our own, closed by the caller once it has used it.
static LSTATUS OpenRunKey(REGSAM view, REGSAM access, HKEY *key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, view | access, key);
}

// True when the Run value in that view holds exactly this executable's path.
static bool RunValueNamesThisProgram(REGSAM view)
{
    // Reading asks only to read, so a user who may not change the
    // per-machine key still sees whether the program is registered.
    HKEY key;
    if (OpenRunKey(view, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    // One character more than the query may fill: stored text need not end
    // in a zero, and the comparison must not run past the buffer. The size
    // counts bytes, and an odd one leaves half a character, which is dropped.
    WCHAR data[MAX_PATH + 1];
    DWORD size = MAX_PATH * sizeof(WCHAR);
    LSTATUS status = RegQueryValueExW(key, kRunValue, NULL, NULL, (LPBYTE)data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    data[size / sizeof(WCHAR)] = 0;
    return lstrcmpW(data, appState.modulePath) == 0;
}

void ReadAutostartState()
{
    appState.autostartEnabled =
        RunValueNamesThisProgram(kSharedView) || RunValueNamesThisProgram(kOlderI686View) ? 1 : 0;
}

// A copy in a temporary folder may vanish; only an explicit No cancels.
static bool UserDeclinesTempFolder()
{
    if (wcsstr(appState.modulePath, WIDE("Temp")) == NULL)
        return false;
    return MessageBoxW(NULL, kTempFolderQuestion, WIDE(PROGRAM_NAME), MB_YESNO | MB_ICONINFORMATION) == IDNO;
}

// A value that is already gone is as good as deleted.
static bool DeleteRunValue(HKEY key)
{
    LSTATUS status = RegDeleteValueW(key, kRunValue);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

static bool WriteRunValue(HKEY key)
{
    DWORD size = ((DWORD)lstrlenW(appState.modulePath) + 1) * sizeof(WCHAR);
    return RegSetValueExW(key, kRunValue, 0, REG_SZ, (const BYTE *)appState.modulePath, size) == ERROR_SUCCESS;
}

// Applies the change to one view and reports whether it now holds it. A
// view without the Run key (the 32-bit one need not have it) holds no value
// to delete.
static bool ChangeRunValueIn(REGSAM view, bool enable)
{
    HKEY key;
    LSTATUS opened = OpenRunKey(view, KEY_ALL_ACCESS, &key);
    if (opened != ERROR_SUCCESS)
        return !enable && opened == ERROR_FILE_NOT_FOUND;
    bool changed = enable ? WriteRunValue(key) : DeleteRunValue(key);
    RegCloseKey(key);
    return changed;
}

// The 32-bit view's value goes first, whatever path it names: it carries
// our name, and two values would start two copies at logon. First, because
// on 32-bit Windows both views are the one key that is then written.
static bool ChangeRunValue(bool enable)
{
    return ChangeRunValueIn(kOlderI686View, false) && ChangeRunValueIn(kSharedView, enable);
}

// The check mark follows the registry: when the change does not take (the
// per-machine key needs an administrator), the flag stays and the user learns why.
void ToggleAutostart()
{
    bool enable = appState.autostartEnabled == 0;
    if (enable && UserDeclinesTempFolder())
        return;
    if (!ChangeRunValue(enable)) {
        MessageBoxW(NULL, kChangeFailedText, WIDE(PROGRAM_NAME), MB_OK | MB_ICONWARNING);
        return;
    }
    appState.autostartEnabled = enable ? 1 : 0;
}
