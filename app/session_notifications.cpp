#include "session_notifications.h"

#include "../platform/system_files.h"
#include "../state/app_state.h"

typedef BOOL(WINAPI *RegisterSessionCall)(HWND window, DWORD flags);
typedef BOOL(WINAPI *UnregisterSessionCall)(HWND window);

static const DWORD kThisSession = 0;        // NOTIFY_FOR_THIS_SESSION
static const DWORD kServiceNotUp = 1702;    // RPC_S_INVALID_BINDING
static const UINT kFirstRetryDelay = 1000;
static const UINT kLaterRetryDelay = 30000;
static const DWORD kFirstRetries = 60;                 // the first minute
static const DWORD kAllRetries = kFirstRetries + 18;  // ten minutes in all

// Early at logon, when the Run value starts the program, the session
// service may not answer yet (RPC_S_INVALID_BINDING until the service sets
// Global\TermSrvReadyEvent). Waiting for that event would hold the creation,
// and the tray icon, on the one thread, and a wait in the main loop would
// not run while a nested loop (a box, the menu, an armed reminder's hidden
// dialog for hours) dispatches the thread's messages. So the registration is
// tried again on a one-shot timer of the main window, though the program
// otherwise keeps no timer for itself (the reminder's is the user's): every
// loop dispatches a timer's message. A slow logon brings the service up
// within a minute or so: a try each second then, each 30 s after it. A
// service still not up after ten minutes is disabled, and trying on would
// wake the program for as long as it runs: it goes without the unlock's
// message instead (a chosen brightness is not set again after the lock
// screen). The tries are counted: a timer that comes late only stretches
// the ten minutes.
static bool RegisterOrRetryLater(RegisterSessionCall registerWindow, HWND window)
{
    if (registerWindow(window, kThisSession))
        return true;
    DWORD retries = appState.sessionRetries;
    if (GetLastError() == kServiceNotUp && retries < kAllRetries) {
        appState.sessionRetries = retries + 1;
        SetTimer(window, SESSION_REGISTRATION_TIMER, retries < kFirstRetries ? kFirstRetryDelay : kLaterRetryDelay, NULL);
    }
    return false;
}

// wtsapi32.dll is no KnownDLL: like winmm it is loaded from the system
// directory by its full path, and the import table stays as it is.
void RegisterSessionNotifications(HWND window)
{
    HMODULE wtsapi = LoadSystemLibrary(WIDE("wtsapi32.dll"));
    if (wtsapi == NULL)
        return;
    RegisterSessionCall registerWindow;
    if (FindEntry(wtsapi, "WTSRegisterSessionNotification", registerWindow) &&
        RegisterOrRetryLater(registerWindow, window))
        appState.sessionNotifications = wtsapi;
    else
        FreeLibrary(wtsapi);
}

// A WM_TIMER that another program posts finds the registration done.
void RetrySessionNotifications(HWND window)
{
    KillTimer(window, SESSION_REGISTRATION_TIMER);
    if (appState.sessionNotifications == NULL)
        RegisterSessionNotifications(window);
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
