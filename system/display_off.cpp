#include "power.h"

// Lets the key or click that chose the command come up before the request.
static const DWORD kKeyReleasePause = 200;

static bool AnyKeyIsDown()
{
    static const int kFirstKey = 0x08, kLastKey = 0xFE;
    for (int key = kFirstKey; key <= kLastKey; key++) {
        if (GetAsyncKeyState(key) & 0x8000)
            return true;
    }
    return false;
}

// Windows wakes the display again at a key's release, and the hand that
// pressed Shift+Insert may still be on the keys after the pause: the
// request waits until no key is down, for 2 s at most. The bound is the tick
// count's, not a count of sleeps: a Sleep shorter than the system tick may
// last less or more than asked. The unsigned difference stays right across
// the count's wrap after 49.7 days (GetTickCount64 does not exist on XP).
// Like the pause, this wait holds the program's one thread.
static void WaitUntilNoKeyIsDown()
{
    static const DWORD kPollInterval = 10, kLongestWait = 2000;
    DWORD start = GetTickCount();
    while (AnyKeyIsDown() && GetTickCount() - start < kLongestWait)
        Sleep(kPollInterval);
}

BOOL TurnDisplayOff(HWND window)
{
    static const LPARAM kPowerOff = 2;
    Sleep(kKeyReleasePause);
    WaitUntilNoKeyIsDown();
    return PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, kPowerOff);
}
