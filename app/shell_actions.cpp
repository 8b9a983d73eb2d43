#include "shell_actions.h"

#include "../capture/capture_overlay.h"
#include "../platform/broadcast.h"
#include "../reminder/reminder_dialog.h"
#include "../resources/resource_ids.h"
#include "../system/display.h"
#include "../system/power.h"
#include "../state/app_state.h"

// WM_APPCOMMAND carries the command in the high word of lParam. The wParam
// values are fixed numbers the shell ignores, kept as they always were.
static const WPARAM kVolumeWParam = 0x30292;
static const WPARAM kMuteWParam = 0x200EB0;

static const WCHAR kExitQuestion[] = WIDE("您确认退出程序？　　");
static const WCHAR kAboutText[] =
    WIDE("版本：v1.5\r\n时间：2009年10月16日\r\n在随后打开的网页里，您可以检查更新情况。　　　");
// A reserved domain (RFC 2606, RFC 6761): nobody can register it and serve
// an "update" to whoever follows the about box. Its page offers no updates,
// so the box's invitation to check for them is not kept until the program
// has a site of its own.
static const WCHAR kProductPage[] = WIDE("https://www.example.com/?page_id=425");

// Lets the key that triggered the action come up before the system reacts.
static const DWORD kKeyReleasePause = 200;
// Lets the menu or the hotkey's screen state settle before the screen is frozen.
static const DWORD kScreenshotPause = 300;

void SendVolumeCommand(HWND window, UINT appCommand)
{
    SendMessageA(window, WM_APPCOMMAND, kVolumeWParam, (LPARAM)appCommand << 16);
}

void ToggleMute(HWND window)
{
    appState.muted = appState.muted == 0 ? 1 : 0;
    SendMessageA(window, WM_APPCOMMAND, kMuteWParam, (LPARAM)APPCOMMAND_VOLUME_MUTE << 16);
}

// The level follows the screen: a ramp the display refuses leaves both as
// they were, so the menu's check mark and the next step stay true.
void ChangeBrightness(LONG newLevel)
{
    if (ApplyBrightness(newLevel))
        appState.brightnessLevel = newLevel;
}

// At the normal level there is nothing to set again, and another program's
// ramp (a night-light tool) is left alone.
void RestoreBrightness()
{
    if (appState.brightnessLevel != kNormalBrightness)
        ApplyBrightness(appState.brightnessLevel);
}

void ConfirmExit(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (MessageBoxW(NULL, kExitQuestion, WIDE(PROGRAM_NAME), MB_YESNO | MB_ICONQUESTION) == IDYES)
        SendMessageA(window, WM_DESTROY, wParam, lParam);
}

// A 32-bit program on 64-bit Windows runs under WOW64, where the system
// directory it is shown is the 32-bit SysWOW64.
static bool RunsUnderWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The Sysnative alias exists from Vista (6.0) on. GetVersion answers on XP
// too, and the only way it can mislead (a compatibility mode reporting an
// older Windows) takes the way XP takes, which works on later ones as well.
static bool HasSysnativeAlias()
{
    return (GetVersion() & 0xFF) >= 6;
}

// The Windows folder's Sysnative: the native system folder, seen from a
// 32-bit program only.
static UINT WINAPI SysnativeFolder(LPWSTR folder, UINT size)
{
    WCHAR native[MAX_PATH];
    if (size < MAX_PATH || !WindowsFilePath(GetWindowsDirectoryW, WIDE("Sysnative"), native))
        return 0;
    lstrcpyW(folder, native);
    return (UINT)lstrlenW(folder);
}

// Nothing starts when the full path cannot be made: a bare name would be
// looked for in the current directory first.
static void RunWindowsProgram(FolderQuery folder, LPCWSTR file, LPCWSTR parameters)
{
    WCHAR path[MAX_PATH];
    if (WindowsFilePath(folder, file, path))
        ShellExecuteW(NULL, NULL, path, parameters, NULL, SW_SHOWNORMAL);
}

// ERROR_ELEVATION_REQUIRED, which MinGW's headers lack.
static const DWORD kElevationRequired = 740;

typedef BOOL(WINAPI *DisableRedirectionFunction)(PVOID *previous);
typedef BOOL(WINAPI *RevertRedirectionFunction)(PVOID previous);

// Starts the program at path with WOW64's file-system redirection off
// around the one CreateProcess, as the documentation asks of a call that
// must not be redirected: everything else the start needs is ready before,
// and only the error is read before redirection is back. Given the full
// path, CreateProcess searches for nothing, and the new process loads its
// DLLs in its own context, where our thread's redirection does not reach;
// ShellExecute would load shell extensions into ours. The two entries exist
// on every 64-bit Windows, but not on 32-bit XP, so they are looked up.
// Returns the error, 0 once started.
static DWORD StartNativeImage(LPCWSTR path, LPWSTR commandLine)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    DisableRedirectionFunction disableRedirection;
    RevertRedirectionFunction revertRedirection;
    if (!FindEntry(kernel, "Wow64DisableWow64FsRedirection", disableRedirection) ||
        !FindEntry(kernel, "Wow64RevertWow64FsRedirection", revertRedirection))
        return ERROR_INVALID_FUNCTION;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    PVOID previous;
    if (!disableRedirection(&previous))
        return ERROR_INVALID_FUNCTION;
    BOOL ok = CreateProcessW(path, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &started);
    DWORD error = ok ? 0 : GetLastError();
    revertRedirection(previous);
    if (ok) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return error;
}

// The native folder\file from the i686 build under WOW64, by its redirected
// path with redirection off. A program that asks an administrator for
// elevation is refused by CreateProcess; ShellExecute of the same path then
// shows UAC's prompt, and Windows does not redirect a start that prompts:
// it starts the native program.
static void StartWithoutRedirection(FolderQuery folder, LPCWSTR file, LPCWSTR parameters)
{
    WCHAR path[MAX_PATH];
    WCHAR commandLine[MAX_PATH];
    if (!WindowsFilePath(folder, file, path))
        return;
    if (parameters != NULL)
        wsprintfW(commandLine, WIDE("%s %s"), file, parameters);
    if (StartNativeImage(path, parameters != NULL ? commandLine : NULL) == kElevationRequired)
        ShellExecuteW(NULL, NULL, path, parameters, NULL, SW_SHOWNORMAL);
}

// Files the shell opens (.cpl, .msc) start their native hosts themselves.
// Under WOW64 the documentation's way to a native program is the Sysnative
// alias, where it exists. A program that asks an administrator for
// elevation (the task manager, the registry editor) cannot use it: Windows
// hands that start to its elevation service, a 64-bit process, which does
// not see the alias. The registry editor is not in the system folder at all.
static void StartWindowsFile(FolderQuery folder, LPCWSTR file, LPCWSTR parameters, ToolKind kind)
{
    if (kind == TOOL_SHELL_FILE || !RunsUnderWow64())
        RunWindowsProgram(folder, file, parameters);
    else if (kind == TOOL_PROGRAM && HasSysnativeAlias())
        RunWindowsProgram(SysnativeFolder, file, parameters);
    else
        StartWithoutRedirection(folder, file, parameters);
}

void StartTool(FolderQuery folder, LPCWSTR file, ToolKind kind)
{
    StartWindowsFile(folder, file, NULL, kind);
}

// winmm.dll is loaded only for this command: imported, it would be looked
// for beside the program first at every start.
void SetCdDoor(LPCSTR mciCommand)
{
    HMODULE winmm = LoadSystemLibrary(WIDE("winmm.dll"));
    if (winmm == NULL)
        return;
    decltype(&mciSendStringA) sendString;
    if (FindEntry(winmm, "mciSendStringA", sendString))
        sendString(mciCommand, NULL, 0, NULL);
    FreeLibrary(winmm);
}

void ShowDesktop()
{
    // Windows key up before D, as a user's fingers would leave them.
    keybd_event(VK_LWIN, 0, 0, 0);
    keybd_event('D', 0, 0, 0);
    keybd_event(VK_LWIN, 0, KEYEVENTF_KEYUP, 0);
    keybd_event('D', 0, KEYEVENTF_KEYUP, 0);
}

void StartScreenSaver()
{
    Sleep(kKeyReleasePause);
    BroadcastWithoutHanging(WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

void TurnMonitorOffAndLock(HWND window)
{
    TurnDisplayOff(window);
    LockWorkstation();
}

void LockWorkstation()
{
    StartWindowsFile(GetSystemDirectoryW, WIDE("rundll32.exe"), WIDE("user32.dll,LockWorkStation"), TOOL_PROGRAM);
}

// The page follows a box the user saw (0: it could not be shown, or a quit
// broke it), and never once the program is leaving.
void ShowAbout()
{
    if (MessageBoxW(NULL, kAboutText, WIDE(PROGRAM_NAME), MB_OK) == IDOK && appState.leaving == 0)
        ShellExecuteW(NULL, NULL, kProductPage, NULL, NULL, SW_SHOWMAXIMIZED);
}

void OpenCaptureOverlay()
{
    Sleep(kScreenshotPause);
    if (appState.captureActive == 0)
        DialogBoxParamW(appState.instance, MAKEINTRESOURCEW(IDD_CAPTURE), NULL, CaptureOverlayProc, 0);
}

// One reminder dialog at a time: an open one is brought to the front.
void OpenReminderDialog()
{
    if (appState.reminderDialog != NULL) {
        SetForegroundWindow(appState.reminderDialog);
        return;
    }
    DialogBoxParamW(appState.instance, MAKEINTRESOURCEW(IDD_REMINDER), NULL, ReminderDialogProc, 0);
}
