#ifndef OMBRIVALE_REMINDER_REMINDER_MINUTES_H
#define OMBRIVALE_REMINDER_REMINDER_MINUTES_H

#include "../platform/win32.h"

// True for 1 to 1440 minutes. The number comes from a signed conversion, so a
// negative entry is refused along with 0 and anything over a day.
bool IsValidReminderMinutes(LONG minutes);
// The timer period in milliseconds for a valid number of minutes.
UINT ReminderPeriod(LONG minutes);

#endif
