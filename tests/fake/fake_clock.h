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

// The system time, in UTC, and the time zone the local clock keeps: local
// is UTC minus the bias in minutes, the daylight bias from daylight time's
// start to its end (UTC instants), the standard one otherwise.
// Reset to 2024-01-01 00:00 in UTC without daylight time.
struct FakeTimeZone {
    LONG standardBias;
    LONG daylightBias;
    SYSTEMTIME daylightStarts;
    SYSTEMTIME daylightEnds;
    bool unreadable;  // Windows cannot read the zone: conversions to it fail
};
void FakeClockSetSystemTime(const SYSTEMTIME &universal);
void FakeClockSetZone(const FakeTimeZone &zone);
void FakeClockSystemTime(LPFILETIME time);
// As Windows converts: a FILETIME of 2^63 or more, or a SYSTEMTIME that is
// no date, fails, and so does a conversion to an unreadable zone; a failed
// one leaves its output poisoned, as the documentation promises nothing of
// it. Only the current zone (NULL) is known to the fake.
BOOL FakeClockFileTimeToSystemTime(const FILETIME *fileTime, LPSYSTEMTIME systemTime);
BOOL FakeClockLocalTime(const TIME_ZONE_INFORMATION *zone, const SYSTEMTIME *universal, LPSYSTEMTIME local);

#endif
