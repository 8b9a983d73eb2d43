#include "session_notifications.h"

#include "../platform/system_files.h"
#include "../state/app_state.h"

typedef BOOL(WINAPI *RegisterSessionCall)(HWND window, DWORD flags);
typedef BOOL(WINAPI *UnregisterSessionCall)(HWND window);

static const DWORD kThisSession = 0;        // NOTIFY_FOR_THIS_SESSION
static const DWORD kServiceNotUp = 1702;    // RPC_S_INVALID_BINDING
static const int kRegisterTries = 10;
static const DWORD kRegisterRetryDelay = 300;

// Early at logon, when the Run value starts the program, the session
// service may not answer yet (RPC_S_INVALID_BINDING): the registration is
// tried again for about three seconds, on the one thread, before the tray
// icon comes.
static bool RegisterWithRetries(RegisterSessionCall registerWindow, HWND window)
{
    for (int tries = 1;; tries++) {
        if (registerWindow(window, kThisSession))
            return true;
        if (GetLastError() != kServiceNotUp || tries == kRegisterTries)
            return false;
        Sleep(kRegisterRetryDelay);
    }
}

// wtsapi32.dll is no KnownDLL: like winmm it is loaded from the system
// directory by its full path, and the import table stays as it is.
void RegisterSessionNotifications(HWND window)
{
    HMODULE wtsapi = LoadSystemLibrary("wtsapi32.dll");
    if (wtsapi == NULL)
        return;
    RegisterSessionCall registerWindow;
    if (FindEntry(wtsapi, "WTSRegisterSessionNotification", registerWindow) && RegisterWithRetries(registerWindow, window))
        appState.sessionNotifications = wtsapi;
    else
        FreeLibrary(wtsapi);
}

void UnregisterSessionNotifications(HWND window)
{
    HMODULE wtsapi = appState.sessionNotifications;
    if (wtsapi == NULL)
        return;
    UnregisterSessionCall unregisterWindow;
    if (FindEntry(wtsapi, "WTSUnRegisterSessionNotification", unregisterWindow))
        unregisterWindow(window);
    FreeLibrary(wtsapi);
    appState.sessionNotifications = NULL;
}
