#include "reminder_dialog.h"

#include "../app/app_state.h"
#include "../resources/resource_ids.h"
#include "../system/power.h"
#include "reminder_minutes.h"

static const char kReminderCaption[] = "Ombrivale 定时提醒";
static const char kInvalidMinutesText[] = "你的输入不正确，请重新输入。";
static const char kTimerFailedText[] = "无法启动定时器，请稍后重试。";

// The dialog's only timer; its message does not look at the identifier.
static const UINT_PTR kReminderTimerId = 1;

// The radio buttons in reading order and the action each one chooses.
static const struct {
    int control;
    PowerAction action;
} kActionButtons[] = {
    {IDC_ACTION_SHUTDOWN, POWER_SHUTDOWN},
    {IDC_ACTION_RESTART, POWER_RESTART},
    {IDC_ACTION_LOGOFF, POWER_LOGOFF},
};

// No radio is selected in a fresh dialog: then the reminder only shows its text.
static PowerAction ChosenAction(HWND dialog)
{
    PowerAction action = POWER_NONE;
    for (const auto &button : kActionButtons) {
        if (IsDlgButtonChecked(dialog, button.control) == BST_CHECKED)
            action = button.action;
    }
    return action;
}

// The dialog is hidden rather than ended: its modal loop keeps running and
// its timer's message comes back here.
static INT_PTR OnOk(HWND dialog)
{
    appState.reminderAction = ChosenAction(dialog);
    GetWindowTextA(GetDlgItem(dialog, IDC_REMINDER_TEXT), appState.reminderText, sizeof appState.reminderText);
    appState.reminderMinutes = (LONG)GetDlgItemInt(dialog, IDC_REMINDER_MINUTES, NULL, TRUE);
    if (!IsValidReminderMinutes(appState.reminderMinutes))
        return MessageBoxA(NULL, kInvalidMinutesText, kReminderCaption, MB_OK);
    appState.reminderTimer = SetTimer(dialog, kReminderTimerId, ReminderPeriod(appState.reminderMinutes), NULL);
    if (appState.reminderTimer == 0) {
        // Hidden without a timer, the reminder would never come and the menu
        // entry would stay grayed: keep the dialog up so the user can retry.
        return MessageBoxA(NULL, kTimerFailedText, kReminderCaption, MB_OK | MB_ICONWARNING);
    }
    appState.reminderArmed = 1;
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

// Disarmed first, so the menu entry is available again while the box waits.
static INT_PTR OnTimer(HWND dialog)
{
    appState.reminderArmed = 0;
    KillTimer(dialog, appState.reminderTimer);
    MessageBoxA(NULL, appState.reminderText, kReminderCaption, MB_OK);
    if (appState.reminderAction != POWER_NONE)
        PerformPowerAction(appState.reminderAction);
    return TRUE;
}

static INT_PTR OnCommand(HWND dialog, WPARAM wParam)
{
    // Only a click on OK counts; Esc (IDCANCEL) must not close the dialog.
    if (wParam == IDOK)
        return OnOk(dialog);
    return TRUE;
}

// The close button is the one way out of a visible dialog.
static INT_PTR OnClose(HWND dialog)
{
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR CALLBACK ReminderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        return OnCommand(hwnd, wParam);
    if (message == WM_TIMER)
        return OnTimer(hwnd);
    if (message == WM_CLOSE)
        return OnClose(hwnd);
    // WM_INITDIALOG included: the fields start empty and no focus is set.
    return FALSE;
}
