#ifndef OMBRIVALE_TESTS_FAKE_FAKE_CLOCK_H
#define OMBRIVALE_TESTS_FAKE_FAKE_CLOCK_H

#include "platform/win32.h"

// The tick count as Windows keeps it: milliseconds in a DWORD that wraps
// after 49.7 days, moved on by each Sleep. A Sleep shorter than the system
// tick (about 15.6 ms) may last less or more than asked; a test says how
// long such a sleep lasts, by default just what was asked.
void FakeClockReset(DWORD start = 0, DWORD shortSleepLasts = 0);
DWORD FakeClockNow();
void FakeClockSleep(DWORD milliseconds);

#endif
