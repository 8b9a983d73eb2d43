#include "power.h"

#include "../platform/system_files.h"
#include "../state/app_state.h"

static const WCHAR kForcedShutdownQuestion[] = WIDE("你确认已经把所有工作都保存了吗？　　　\r\n\r\n取消操作请点击否。");
static const char kShutdownPrivilegeName[] = "SeShutdownPrivilege";

// Session end and power changes need the shutdown privilege, which a token
// holds disabled until asked. The token is closed before the action: after a
// successful session end there is no later moment to do it.
static BOOL EnableShutdownPrivilege()
{
    HANDLE token = NULL;
    BOOL opened = OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    TOKEN_PRIVILEGES request = {};
    LookupPrivilegeValueA(NULL, kShutdownPrivilegeName, &request.Privileges[0].Luid);
    request.PrivilegeCount = 1;
    request.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &request, 0, NULL, NULL);
    if (opened)
        CloseHandle(token);
    return adjusted;
}

typedef BOOLEAN(WINAPI *PowerCapabilitiesCall)(void *capabilities);

// SYSTEM_POWER_CAPABILITIES as far as the program reads it, with the names
// of the Windows 8 SDK; older headers, MinGW's among them, call AoAc a spare
// byte. GetPwrCapabilities fills all 76 bytes.
struct PowerCapabilities {
    BOOLEAN buttonsLidS1S2[5];
    BOOLEAN systemS3;
    BOOLEAN unread[14];
    BOOLEAN aoAc;
    BYTE rest[55];
};
static_assert(sizeof(PowerCapabilities) == 76, "the size of SYSTEM_POWER_CAPABILITIES");

// A machine with Modern Standby (S0 low-power idle: AoAc) and no S3 has no
// sleep that SetSystemPowerState could ask for: it hibernates there, or does
// nothing when hibernation is off. See "SYSTEM_POWER_CAPABILITIES" and
// "Modern Standby" on Microsoft Learn. powrprof.dll is no KnownDLL and is
// loaded by its full path.
static bool HasModernStandbyOnly()
{
    HMODULE powrprof = LoadSystemLibrary(WIDE("powrprof.dll"));
    if (powrprof == NULL)
        return false;
    PowerCapabilitiesCall getCapabilities;
    PowerCapabilities capabilities = {};
    bool modernOnly = FindEntry(powrprof, "GetPwrCapabilities", getCapabilities) && getCapabilities(&capabilities) &&
                      capabilities.aoAc && !capabilities.systemS3;
    FreeLibrary(powrprof);
    return modernOnly;
}

// Turning the display off puts a Modern Standby machine to sleep, as the
// monitor-off command does: users' reports and Microsoft's answers to them
// agree, though no documentation page says so. The click or key that chose
// sleep would wake it at once, so this waits for them as monitor off does.
static BOOL SleepMachine()
{
    if (!HasModernStandbyOnly())
        return SetSystemPowerState(TRUE, FALSE);
    return TurnDisplayOff(appState.trayIcon.hWnd);
}

// Every session end is forced: open programs are closed without being asked.
BOOL PerformPowerAction(PowerAction action)
{
    BOOL result = EnableShutdownPrivilege();
    switch (action) {
    case POWER_SHUTDOWN: return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
    case POWER_RESTART: return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0);
    case POWER_LOGOFF: return ExitWindowsEx(EWX_LOGOFF | EWX_FORCE, 0);
    case POWER_SLEEP: return SleepMachine();
    case POWER_HIBERNATE: return SetSystemPowerState(FALSE, TRUE);
    }
    return result;
}

// Any function pointer type will do for the trip from GetProcAddress; the
// caller casts to the entry's real signature, which only it knows.
typedef void (*AnyFunction)();

static AnyFunction FindNativeEntry(HMODULE module, LPCSTR name)
{
    return reinterpret_cast<AnyFunction>(GetProcAddress(module, name));
}

// A thread that is not impersonating has no token of its own; the process
// token is the one to change then.
static void EnableShutdownPrivilegeNatively(RtlAdjustPrivilegeFunction adjustPrivilege)
{
    BOOLEAN wasEnabled = FALSE;
    if (adjustPrivilege(SE_SHUTDOWN_PRIVILEGE, TRUE, TRUE, &wasEnabled) == STATUS_NO_TOKEN)
        adjustPrivilege(SE_SHUTDOWN_PRIVILEGE, TRUE, FALSE, &wasEnabled);
}

// Only an answer can send the machine down: a box that could not be shown
// (0) cancels like No, since nothing would have warned about unsaved work,
// and once the program is leaving no answer does.
static bool ConfirmForcedShutdown()
{
    int answer = MessageBoxW(NULL, kForcedShutdownQuestion, WIDE(PROGRAM_NAME), MB_YESNO | MB_ICONINFORMATION);
    return answer != IDNO && answer != 0 && appState.leaving == 0;
}

// Bypasses the session's orderly end: the native service stops the system at
// once. The module is freed whenever the call comes back, which means the
// system refused.
void ForcedShutdown(ForcedPowerAction action)
{
    if (!ConfirmForcedShutdown())
        return;
    HMODULE ntdll = LoadLibraryW(WIDE("NtDll.dll"));
    if (ntdll == NULL)
        return;
    ZwShutdownSystemFunction shutdownSystem =
        reinterpret_cast<ZwShutdownSystemFunction>(FindNativeEntry(ntdll, "ZwShutdownSystem"));
    RtlAdjustPrivilegeFunction adjustPrivilege =
        reinterpret_cast<RtlAdjustPrivilegeFunction>(FindNativeEntry(ntdll, "RtlAdjustPrivilege"));
    if (shutdownSystem != NULL && adjustPrivilege != NULL) {
        EnableShutdownPrivilegeNatively(adjustPrivilege);
        shutdownSystem(action);
    }
    FreeLibrary(ntdll);
}
