#ifndef OMBRIVALE_SYSTEM_POWER_H
#define OMBRIVALE_SYSTEM_POWER_H

#include "../platform/win32.h"

// What PerformPowerAction does; 0 asks for nothing.
typedef DWORD PowerAction;
enum : PowerAction {
    POWER_NONE = 0,
    POWER_SHUTDOWN = 1,
    POWER_RESTART = 2,
    POWER_LOGOFF = 3,
    POWER_SLEEP = 4,
    POWER_HIBERNATE = 5,
};

// The native shutdown's own action numbers, passed to it unchanged.
typedef DWORD ForcedPowerAction;
enum : ForcedPowerAction {
    FORCED_RESTART = 1,
    FORCED_POWER_OFF = 2,
};

BOOL PerformPowerAction(PowerAction action);
// Posts window the request to power the display off, after a pause and once
// no key is down: a key's release would wake the display again.
BOOL TurnDisplayOff(HWND window);
void ForcedShutdown(ForcedPowerAction action);

#endif
