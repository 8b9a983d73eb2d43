#include "reminder_minutes.h"

// The longest delay the reminder accepts: one day.
static const DWORD kMaxReminderMinutes = 1440;
static const UINT kMillisecondsPerMinute = 60000;

bool IsValidReminderMinutes(LONG minutes)
{
    // Taken as unsigned, every negative number lies far above the limit.
    DWORD asUnsigned = (DWORD)minutes;
    return asUnsigned >= 1 && asUnsigned <= kMaxReminderMinutes;
}

UINT ReminderPeriod(LONG minutes)
{
    return (UINT)minutes * kMillisecondsPerMinute;
}
