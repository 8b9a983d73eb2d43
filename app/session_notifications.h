// The session's lock and unlock reach a window only once it has registered
// for them through wtsapi32.
#ifndef OMBRIVALE_APP_SESSION_NOTIFICATIONS_H
#define OMBRIVALE_APP_SESSION_NOTIFICATIONS_H

#include "../platform/win32.h"

// The main window's timer that tries the registration again.
#define SESSION_REGISTRATION_TIMER 1

// At the first creation; wtsapi32 stays loaded until the unregistration.
// While the session service is not up yet, the timer is set to try again.
void RegisterSessionNotifications(HWND window);
// At the timer: once more, and the timer again if the service is still not
// up, for ten minutes from the first try.
void RetrySessionNotifications(HWND window);
// At the window's end; nothing when the registration did not take.
void UnregisterSessionNotifications(HWND window);

#endif
