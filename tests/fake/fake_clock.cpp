#include "fake_clock.h"

#include <cstring>

#include <gtest/gtest.h>

static const DWORD kSystemTick = 16;
static DWORD now;
static DWORD shortSleep;

static const int64_t kFileTimePerSecond = 10000000;  // of 100 ns
static const int64_t kFileTimePerDay = 86400 * kFileTimePerSecond;
static const int64_t kDaysFrom1601To1970 = 134774;
static const SYSTEMTIME kStartOf2024 = {2024, 1, 1, 1, 0, 0, 0, 0};
static int64_t systemTime;  // 100 ns units since 1601-01-01 UTC
static FakeTimeZone zone;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil), and back.
static int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = (unsigned)(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + (int64_t)dayOfEra - 719468;
}

static void CivilFromDays(int64_t days, SYSTEMTIME &date)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = (unsigned)(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    date.wYear = (WORD)(yearOfEra + era * 400 + (month <= 2));
    date.wMonth = (WORD)month;
    date.wDay = (WORD)(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
}

static bool IsDate(const SYSTEMTIME &time)
{
    static const int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = time.wYear % 4 == 0 && (time.wYear % 100 != 0 || time.wYear % 400 == 0);
    return time.wYear >= 1601 && time.wYear <= 30827 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= kDaysInMonth[time.wMonth - 1] - (time.wMonth == 2 && !leap) && time.wHour < 24 &&
           time.wMinute < 60 && time.wSecond < 60 && time.wMilliseconds < 1000;
}

static int64_t ToFileTime(const SYSTEMTIME &time)
{
    const int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) + kDaysFrom1601To1970;
    const int64_t seconds = (time.wHour * 60 + time.wMinute) * 60 + time.wSecond;
    return days * kFileTimePerDay + seconds * kFileTimePerSecond + time.wMilliseconds * 10000;
}

static SYSTEMTIME FromFileTime(int64_t time)
{
    SYSTEMTIME result;
    const int64_t days = time / kFileTimePerDay;
    int64_t rest = time % kFileTimePerDay;
    CivilFromDays(days - kDaysFrom1601To1970, result);
    result.wDayOfWeek = (WORD)((days + 1) % 7);  // 1601-01-01 was a Monday
    result.wHour = (WORD)(rest / (3600 * kFileTimePerSecond));
    rest %= 3600 * kFileTimePerSecond;
    result.wMinute = (WORD)(rest / (60 * kFileTimePerSecond));
    rest %= 60 * kFileTimePerSecond;
    result.wSecond = (WORD)(rest / kFileTimePerSecond);
    result.wMilliseconds = (WORD)(rest % kFileTimePerSecond / 10000);
    return result;
}

void FakeClockReset(DWORD start, DWORD shortSleepLasts)
{
    now = start;
    shortSleep = shortSleepLasts;
    systemTime = ToFileTime(kStartOf2024);
    zone = FakeTimeZone();
}

DWORD FakeClockNow()
{
    return now;
}

void FakeClockSleep(DWORD milliseconds)
{
    now += milliseconds < kSystemTick && shortSleep != 0 ? shortSleep : milliseconds;
}

void FakeClockSetSystemTime(const SYSTEMTIME &universal)
{
    systemTime = ToFileTime(universal);
}

void FakeClockSetZone(const FakeTimeZone &timeZone)
{
    zone = timeZone;
}

void FakeClockSystemTime(LPFILETIME time)
{
    time->dwLowDateTime = (DWORD)systemTime;
    time->dwHighDateTime = (DWORD)(systemTime >> 32);
}

BOOL FakeClockFileTimeToSystemTime(const FILETIME *fileTime, LPSYSTEMTIME systemTime)
{
    if (fileTime->dwHighDateTime >= 0x80000000u)
        return FALSE;
    *systemTime = FromFileTime((int64_t)fileTime->dwHighDateTime << 32 | fileTime->dwLowDateTime);
    return TRUE;
}

BOOL FakeClockLocalTime(const TIME_ZONE_INFORMATION *timeZone, const SYSTEMTIME *universal, LPSYSTEMTIME local)
{
    if (timeZone != NULL)
        ADD_FAILURE() << "SystemTimeToTzSpecificLocalTime: the fake knows only the current zone (NULL)";
    if (!IsDate(*universal) || zone.unreadable) {
        std::memset(local, 0xEE, sizeof *local);
        return FALSE;
    }
    const int64_t time = ToFileTime(*universal);
    const bool daylight = zone.daylightStarts.wYear != 0 && time >= ToFileTime(zone.daylightStarts) &&
                          time < ToFileTime(zone.daylightEnds);
    *local = FromFileTime(time - (daylight ? zone.daylightBias : zone.standardBias) * 60 * kFileTimePerSecond);
    return TRUE;
}
