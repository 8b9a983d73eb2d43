#include "main_window.h"

#include "../autostart/autostart.h"
#include "../hotkeys/hotkey_set.h"
#include "../platform/system_files.h"
#include "../resources/resource_ids.h"
#include "../tray/tray_menu.h"
#include "../state/app_state.h"
#include "dispatch.h"
#include "session_notifications.h"
#include "shell_actions.h"
#include "tray_icon.h"

static const char kTaskbarCreated[] = "TaskbarCreated";

// An elevated copy does not receive the shell's "TaskbarCreated", which comes
// from a lower integrity level, unless the window lets that one message in.
// The call exists from Windows 7 on, so it is looked up rather than imported.
typedef BOOL(WINAPI *MessageFilterCall)(HWND window, UINT message, DWORD action, void *status);
static const DWORD kMessageFilterAllow = 1;  // MSGFLT_ALLOW

static void AllowTaskbarCreated(HWND window)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    MessageFilterCall allow;
    if (user32 != NULL && FindEntry(user32, "ChangeWindowMessageFilterEx", allow))
        allow(window, RegisterWindowMessageA(kTaskbarCreated), kMessageFilterAllow, NULL);
}

// Runs at window creation and again after every taskbar restart.
static LRESULT OnCreate(HWND window)
{
    appState.creationInProgress = 1;
    // A path longer than the buffer comes back cut, as the buffer's size (on
    // XP without its zero): it names no file, and is left empty.
    DWORD length = GetModuleFileNameW(NULL, appState.modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        appState.modulePath[0] = 0;
    ReadAutostartState();
    // The user's choice is read once; a taskbar restart registers it again,
    // unless the settings dialog is open: it registers a set as it ends.
    if (appState.createdOnce == 0)
        LoadHotkeySettings();
    if (appState.hotkeyDialog == NULL)
        RegisterHotkeysInForce(window);
    if (appState.createdOnce == 0) {
        // The start-up add, with its balloon, follows once the window exists.
        appState.createdOnce = 1;
        AllowTaskbarCreated(window);
        RegisterSessionNotifications(window);
    } else {
        AddTrayIconAgain(window);
    }
    appState.creationInProgress = 0;
    return 0;
}

// The window is not destroyed: removing the icon and leaving the loop is all
// the program has to tidy. Leaving is marked first: the quit breaks every box
// still open, and none of them may lead anywhere now.
static LRESULT OnDestroy(HWND window)
{
    appState.leaving = 1;
    DeleteTrayIcon(window);
    UnregisterSessionNotifications(window);
    PostQuitMessage(0);
    return 0;
}

static LRESULT OnTrayIcon(HWND window, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN)
        ShowTrayMenu(window);
    return 0;
}

// Windows puts its own gamma ramp back at a display change, after sleep and
// at the lock screen. Machines with Modern Standby wake with no power
// message, only to the lock screen, so the unlock covers them.
static bool SystemResetsTheRamp(UINT message, WPARAM wParam)
{
    return message == WM_DISPLAYCHANGE || (message == WM_POWERBROADCAST && wParam == PBT_APMRESUMEAUTOMATIC) ||
           (message == WM_WTSSESSION_CHANGE && wParam == WTS_SESSION_UNLOCK);
}

// The shell broadcasts "TaskbarCreated" when Explorer restarts; the icon
// must then be added again. Any program may broadcast it too: one that
// arrives while a creation waits on its warning box changes nothing.
static LRESULT OnOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RegisterWindowMessageA(kTaskbarCreated)) {
        if (appState.creationInProgress != 0)
            return 0;
        return SendMessageA(window, WM_CREATE, wParam, lParam);
    }
    if (SystemResetsTheRamp(message, wParam))
        RestoreBrightness();
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    if (message == WM_DESTROY)
        return OnDestroy(window);
    if (message == WM_COMMAND || message == WM_HOTKEY) {
        DispatchCommand(window, wParam, lParam);
        return 0;
    }
    if (message == WM_TRAYICON)
        return OnTrayIcon(window, lParam);
    if (message == WM_TIMER && wParam == SESSION_REGISTRATION_TIMER) {
        RetrySessionNotifications(window);
        return 0;
    }
    return OnOtherMessage(window, message, wParam, lParam);
}
