#include "reminder_tip.h"

#include "../state/app_state.h"

static_assert(sizeof(PROGRAM_NAME "\n") + REMINDER_LINE_LENGTH <= sizeof appState.trayIcon.szTip / sizeof(WCHAR),
              "the tip must hold the name and the reminder's line");

// As the dialog's radio buttons read, by PowerAction; nothing without one.
static const WCHAR *const kActionWords[] = {WIDE(""), WIDE(" 关机"), WIDE(" 重启"), WIDE(" 注销")};
static const int kMinutesPerHour = 60;
static const int kMinutesPerDay = 1440;

// At most a day ahead, so at most on the next day. Seconds are dropped.
void DescribeArmedReminder(PowerAction action, LONG minutes)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    int firesAt = now.wHour * kMinutesPerHour + now.wMinute + minutes;
    const WCHAR *day = firesAt >= kMinutesPerDay ? WIDE("明天 ") : WIDE("");
    firesAt %= kMinutesPerDay;
    wsprintfW(appState.reminderLine, WIDE("定时提醒：%s%02d:%02d%s"), day, firesAt / kMinutesPerHour,
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
