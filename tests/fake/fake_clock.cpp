#include "fake_clock.h"

static const DWORD kSystemTick = 16;
static DWORD now;
static DWORD shortSleep;

void FakeClockReset(DWORD start, DWORD shortSleepLasts)
{
    now = start;
    shortSleep = shortSleepLasts;
}

DWORD FakeClockNow()
{
    return now;
}

void FakeClockSleep(DWORD milliseconds)
{
    now += milliseconds < kSystemTick && shortSleep != 0 ? shortSleep : milliseconds;
}
