#ifndef OMBRIVALE_REMINDER_REMINDER_TIP_H
#define OMBRIVALE_REMINDER_REMINDER_TIP_H

#include "../platform/win32.h"
#include "../system/power.h"

// Writes when the reminder armed now for 1 to 1440 minutes fires, by the
// local clock then, and what it does: "定时提醒：明天 00:30 关机".
void DescribeArmedReminder(PowerAction action, LONG minutes);
// The tray tip with the armed reminder's line under the program's name, or
// the name alone once it has fired or been called off.
void ShowReminderInTip(bool armed);

#endif
