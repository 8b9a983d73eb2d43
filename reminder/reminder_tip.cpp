#include "reminder_tip.h"

#include "../state/app_state.h"

static_assert(sizeof(PROGRAM_NAME "\n") + REMINDER_LINE_LENGTH <= sizeof appState.trayIcon.szTip / sizeof(WCHAR),
              "the tip must hold the name and the reminder's line");

// As the dialog's radio buttons read, by PowerAction; nothing without one.
static const WCHAR *const kActionWords[] = {WIDE(""), WIDE(" 关机"), WIDE(" 重启"), WIDE(" 注销")};
// By the local dates the firing is on from today's.
static const WCHAR *const kDayWords[] = {WIDE(""), WIDE("明天 "), WIDE("后天 ")};
static const int kMinutesPerHour = 60;
static const int kMinutesPerDay = 1440;
static const DWORD kFileTimePerMinute = 600000000;  // of 100 ns

// The local clock's minute of the day at an instant of the system clock, by
// the time zone's rule on that date: the timer counts elapsed time, so the
// reminder fires by the clock of after a change to or from daylight time.
static int LocalMinuteOfDay(const FILETIME &instant)
{
    SYSTEMTIME universal, local;
    FileTimeToSystemTime(&instant, &universal);
    // A zone Windows cannot read leaves the output undefined: the clock in
    // UTC is then told rather than whatever the buffer held.
    if (!SystemTimeToTzSpecificLocalTime(NULL, &universal, &local))
        local = universal;
    return local.wHour * kMinutesPerHour + local.wMinute;
}

static void AddMinutes(FILETIME &instant, LONG minutes)
{
    ULONGLONG time = ((ULONGLONG)instant.dwHighDateTime << 32 | instant.dwLowDateTime) + (ULONGLONG)minutes * kFileTimePerMinute;
    instant.dwLowDateTime = (DWORD)time;
    instant.dwHighDateTime = (DWORD)(time >> 32);
}

// Seconds are dropped. The local clock moves on by the minutes and by the
// change of its offset, which is less than half a day: the dates it passes
// are the nearest whole number of days. A day ahead at most, or two dates on
// when daylight time begins in between.
void DescribeArmedReminder(PowerAction action, LONG minutes)
{
    FILETIME instant;
    GetSystemTimeAsFileTime(&instant);
    int now = LocalMinuteOfDay(instant);
    AddMinutes(instant, minutes);
    int firesAt = LocalMinuteOfDay(instant);
    int days = (now + minutes - firesAt + kMinutesPerDay / 2) / kMinutesPerDay;
    wsprintfW(appState.reminderLine, WIDE("定时提醒：%s%02d:%02d%s"), kDayWords[days], firesAt / kMinutesPerHour,
              firesAt % kMinutesPerHour, kActionWords[action]);
}

// A hidden icon takes the tip at its next add. A shown one is modified with
// NIF_TIP alone: a second NIM_ADD fails for an icon that is there, and the
// flags of the start-up add would show its balloon again.
void ShowReminderInTip(bool armed)
{
    NOTIFYICONDATAW &icon = appState.trayIcon;
    lstrcpyW(icon.szTip, WIDE(PROGRAM_NAME));
    if (armed) {
        lstrcatW(icon.szTip, WIDE("\n"));
        lstrcatW(icon.szTip, appState.reminderLine);
    }
    if (appState.trayIconShown == 0)
        return;
    icon.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &icon);
}
