// The session's lock and unlock reach a window only once it has registered
// for them through wtsapi32.
#ifndef OMBRIVALE_APP_SESSION_NOTIFICATIONS_H
#define OMBRIVALE_APP_SESSION_NOTIFICATIONS_H

#include "../platform/win32.h"

// Once, at the first creation; wtsapi32 stays loaded until the unregistration.
void RegisterSessionNotifications(HWND window);
// At the window's end; nothing when the registration did not take.
void UnregisterSessionNotifications(HWND window);

#endif
