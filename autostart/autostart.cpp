#include "autostart.h"

#include "../state/app_state.h"

static const WCHAR kRunKey[] = WIDE("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
static const WCHAR kRunValue[] = WIDE(PROGRAM_NAME);
static const WCHAR kTempFolderQuestion[] =
    WIDE("检测到程序正在临时文件夹中运行，不建议执行此操作。\r\n选择否可以取消本次选择。");
static const WCHAR kChangeFailedText[] = WIDE("修改开机启动设置失败，请退出本程序，再以管理员身份运行后重试。");
static const WCHAR kPathTooLongText[] =
    WIDE("本程序的完整路径超过了 Windows 允许的 260 个字符，无法设置开机启动。\r\n请把本程序移到路径较短的文件夹中，重新运行后再试。");

// Windows runs a Run value as a command line, which an unquoted path with a
// space in it is cut at: the path goes in quotes. In characters, the
// terminating zero included: the longest path and its two quotes.
static const DWORD kQuotedPathLength = MAX_PATH + 2;

// Where a Run value of ours may be. Both builds share one per-machine value,
// in the 64-bit view that the x86_64 build and every 64-bit reader see;
// without the flag, the i686 build under WOW64 would open the 32-bit view
// (WOW6432Node), where older i686 copies wrote, so that view is still read
// and its value goes whenever ours changes. 32-bit Windows has one view and
// ignores both flags. The per-user key, for a copy that may not write the
// per-machine one, is the same key in both builds. A profile need not have
// it (a new one, or one a cleaning tool emptied), so writing there creates
// it; the per-machine key is Windows' own, and never created by us.
struct RunKey {
    HKEY root;
    REGSAM view;
    bool createdToWrite;
};
static const RunKey kMachine = {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, false};
static const RunKey kMachineOlderI686 = {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, false};
static const RunKey kUser = {HKEY_CURRENT_USER, 0, true};

// A key of our own, closed by the caller once it has used it.
static LSTATUS OpenRunKey(const RunKey &run, REGSAM access, HKEY *key)
{
    return RegOpenKeyExW(run.root, kRunKey, 0, run.view | access, key);
}

// Setting and deleting a value need KEY_SET_VALUE and nothing more. A key
// whose ACL grants just that, as policies and hardening guides leave the
// Run keys, refuses a request for any further right (KEY_ALL_ACCESS
// carries WRITE_DAC and WRITE_OWNER).
static LSTATUS OpenRunKeyToChange(const RunKey &run, bool write, HKEY *key)
{
    if (write && run.createdToWrite)
        return RegCreateKeyExW(run.root, kRunKey, 0, NULL, 0, run.view | KEY_SET_VALUE, NULL, key, NULL);
    return OpenRunKey(run, KEY_SET_VALUE, key);
}

// The path in double quotes, as it is written.
static void QuoteModulePath(WCHAR (&quoted)[kQuotedPathLength])
{
    quoted[0] = '"';
    lstrcpyW(quoted + 1, appState.modulePath);
    lstrcatW(quoted, WIDE("\""));
}

// The quoted path, or the bare one earlier versions wrote; nothing else, not
// another letter case nor any argument.
static bool NamesThisProgram(const WCHAR *data)
{
    WCHAR quoted[kQuotedPathLength];
    QuoteModulePath(quoted);
    return lstrcmpW(data, quoted) == 0 || lstrcmpW(data, appState.modulePath) == 0;
}

// What a value of our name in a Run key starts at logon.
enum RunValue { kNoValue, kValueOfThisProgram, kValueOfAnotherPath };

// Reading asks only to read, so a user who may not change the per-machine
// key still sees what it holds. A value longer than our buffer, whose
// content the query then leaves undefined, or one that is not plain text,
// cannot be this program's quoted path, but it is a value all the same.
static RunValue ReadRunValue(const RunKey &run)
{
    HKEY key;
    if (OpenRunKey(run, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return kNoValue;
    // One character more than the query may fill: stored text need not end
    // in a zero, and the comparison must not run past the buffer. The size
    // counts bytes, and an odd one leaves half a character, which is dropped.
    WCHAR data[kQuotedPathLength + 1];
    DWORD type;
    DWORD size = kQuotedPathLength * sizeof(WCHAR);
    LSTATUS status = RegQueryValueExW(key, kRunValue, NULL, &type, (LPBYTE)data, &size);
    RegCloseKey(key);
    if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && type != REG_SZ))
        return kValueOfAnotherPath;
    if (status != ERROR_SUCCESS)
        return kNoValue;
    data[size / sizeof(WCHAR)] = 0;
    return NamesThisProgram(data) ? kValueOfThisProgram : kValueOfAnotherPath;
}

// An empty path is one Windows could not give whole (see AppState): no
// value can name it.
static bool ModulePathKnown()
{
    return appState.modulePath[0] != 0;
}

void ReadAutostartState()
{
    appState.autostartEnabled = ModulePathKnown() && (ReadRunValue(kMachine) == kValueOfThisProgram ||
                                                      ReadRunValue(kMachineOlderI686) == kValueOfThisProgram ||
                                                      ReadRunValue(kUser) == kValueOfThisProgram)
                                    ? 1
                                    : 0;
}

// A copy in a temporary folder may vanish; of the answers a user gives, only
// an explicit No cancels. A box that returned 0 was never seen, and once the
// program is leaving no answer leads to a write.
static bool UserDeclinesTempFolder()
{
    if (wcsstr(appState.modulePath, WIDE("Temp")) == NULL)
        return false;
    int answer = MessageBoxW(NULL, kTempFolderQuestion, WIDE(PROGRAM_NAME), MB_YESNO | MB_ICONINFORMATION);
    return answer == IDNO || answer == 0 || appState.leaving != 0;
}

// A value that is already gone is as good as deleted.
static LSTATUS DeleteRunValue(HKEY key)
{
    LSTATUS status = RegDeleteValueW(key, kRunValue);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

static LSTATUS WriteRunValue(HKEY key)
{
    WCHAR quoted[kQuotedPathLength];
    QuoteModulePath(quoted);
    DWORD size = ((DWORD)lstrlenW(quoted) + 1) * sizeof(WCHAR);
    return RegSetValueExW(key, kRunValue, 0, REG_SZ, (const BYTE *)quoted, size);
}

// Writes our value into that key, or deletes it whatever path it names.
// A key that does not exist (the 32-bit view need not have it) holds no
// value to delete. ERROR_ACCESS_DENIED: this copy may not change the key.
static LSTATUS ChangeRunValueIn(const RunKey &run, bool write)
{
    HKEY key;
    LSTATUS status = OpenRunKeyToChange(run, write, &key);
    if (status == ERROR_FILE_NOT_FOUND && !write)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    status = write ? WriteRunValue(key) : DeleteRunValue(key);
    RegCloseKey(key);
    return status;
}

// The per-machine value, in either view, that this copy may not remove.
static RunValue RemainingMachineValue()
{
    static const RunKey *const kMachineKeys[] = {&kMachine, &kMachineOlderI686};
    for (const RunKey *run : kMachineKeys) {
        RunValue value = ReadRunValue(*run);
        if (value != kNoValue)
            return value;
    }
    return kNoValue;
}

// The per-machine keys, where they may be changed; ERROR_ACCESS_DENIED for a
// copy that runs without an administrator's rights. The 32-bit view's value
// goes first, whatever path it names: it carries our name, and two values
// would start two copies at logon. First, because on 32-bit Windows both
// views are the one key that is then written.
static LSTATUS ChangeMachineValue(bool enable)
{
    LSTATUS status = ChangeRunValueIn(kMachineOlderI686, false);
    return status == ERROR_SUCCESS ? ChangeRunValueIn(kMachine, enable) : status;
}

// One value at a time, or the second copy started at logon would show its
// refusal box. True when the program now starts at logon.
static bool Enable()
{
    LSTATUS machine = ChangeMachineValue(true);
    if (machine == ERROR_SUCCESS)
        return ChangeRunValueIn(kUser, false) == ERROR_SUCCESS;
    if (machine != ERROR_ACCESS_DENIED)
        return false;
    // A per-machine value this copy may not remove already starts a copy at
    // logon: a per-user one would start a second. Only when it names this
    // program is that what the user asked for.
    RunValue remaining = RemainingMachineValue();
    if (remaining != kNoValue)
        return remaining == kValueOfThisProgram;
    return ChangeRunValueIn(kUser, true) == ERROR_SUCCESS;
}

// True when nothing starts the program at logon any more.
static bool Disable()
{
    LSTATUS machine = ChangeMachineValue(false);
    if (machine == ERROR_ACCESS_DENIED && RemainingMachineValue() == kNoValue)
        machine = ERROR_SUCCESS;
    LSTATUS user = ChangeRunValueIn(kUser, false);
    return machine == ERROR_SUCCESS && user == ERROR_SUCCESS;
}

static void Warn(const WCHAR *text)
{
    MessageBoxW(NULL, text, WIDE(PROGRAM_NAME), MB_OK | MB_ICONWARNING);
}

// The check mark follows the registry: when the change does not take (a
// per-machine value needs an administrator to go), the flag stays and the
// user learns why. A path Windows cut would start nothing at logon.
void ToggleAutostart()
{
    bool enable = appState.autostartEnabled == 0;
    if (enable && !ModulePathKnown())
        return Warn(kPathTooLongText);
    if (enable && UserDeclinesTempFolder())
        return;
    if (!(enable ? Enable() : Disable()))
        return Warn(kChangeFailedText);
    appState.autostartEnabled = enable ? 1 : 0;
}
