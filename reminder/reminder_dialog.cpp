#include "reminder_dialog.h"

#include "../state/app_state.h"
#include "../resources/resource_ids.h"
#include "../system/power.h"
#include "reminder_minutes.h"
#include "reminder_tip.h"

static const WCHAR kReminderCaption[] = WIDE(PROGRAM_NAME " 定时提醒");
static const WCHAR kInvalidMinutesText[] = WIDE("你的输入不正确，请重新输入。");
static const WCHAR kTimerFailedText[] = WIDE("无法启动定时器，请稍后重试。");
static const WCHAR kCancelQuestion[] = WIDE("确定要取消定时提醒吗？\r\n\r\n");

// The cancel question of the menu entry: not open, open, or open after the
// reminder's time came, which then waits for the answer.
enum CancelQuestion { kNoQuestion, kQuestionOpen, kTimeCameMeanwhile };

// The dialog's only timer. Any program can post WM_TIMER to the dialog, so
// only this identifier, on the armed dialog, fires the reminder.
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

// True for the one dialog that is open and not armed: the hidden ones (armed,
// or showing their fired reminder) ignore an OK that another program posts.
static bool IsTheVisibleDialog(HWND dialog)
{
    return dialog == appState.reminderDialog && appState.reminderArmed == 0;
}

static bool IsTheArmedDialog(HWND dialog)
{
    return dialog == appState.reminderDialog && appState.reminderArmed != 0;
}

// The dialog is hidden rather than ended: its modal loop keeps running and
// its timer's message comes back here.
static INT_PTR OnOk(HWND dialog)
{
    if (!IsTheVisibleDialog(dialog))
        return TRUE;
    appState.reminderAction = ChosenAction(dialog);
    GetWindowTextW(GetDlgItem(dialog, IDC_REMINDER_TEXT), appState.reminderText, REMINDER_TEXT_LENGTH);
    appState.reminderMinutes = (LONG)GetDlgItemInt(dialog, IDC_REMINDER_MINUTES, NULL, TRUE);
    if (!IsValidReminderMinutes(appState.reminderMinutes))
        return MessageBoxW(NULL, kInvalidMinutesText, kReminderCaption, MB_OK);
    appState.reminderTimer = SetTimer(dialog, kReminderTimerId, ReminderPeriod(appState.reminderMinutes), NULL);
    if (appState.reminderTimer == 0) {
        // Hidden without a timer, the reminder would never come and the menu
        // entry would stay grayed: keep the dialog up so the user can retry.
        return MessageBoxW(NULL, kTimerFailedText, kReminderCaption, MB_OK | MB_ICONWARNING);
    }
    appState.reminderArmed = 1;
    DescribeArmedReminder((PowerAction)appState.reminderAction, appState.reminderMinutes);
    ShowReminderInTip(true);
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

// Disarmed first, so the menu entry is available again while the box waits.
// A new dialog may then open and press OK, so this reminder keeps its own
// copy of the action and text it was armed with. The action runs only once
// the box was seen: one that returned 0 (a quit broke its loop, or it could
// not be shown) announced nothing, and once the program is leaving nothing
// runs at all. Once done it ends its dialog rather than leave it hidden
// with its loop for the rest of the run.
static INT_PTR OnTimer(HWND dialog, WPARAM timerId)
{
    if (timerId != kReminderTimerId || !IsTheArmedDialog(dialog))
        return TRUE;
    if (appState.reminderQuestion != kNoQuestion) {
        appState.reminderQuestion = kTimeCameMeanwhile;
        return TRUE;
    }
    PowerAction action = (PowerAction)appState.reminderAction;
    WCHAR text[REMINDER_TEXT_LENGTH];
    lstrcpyW(text, appState.reminderText);
    appState.reminderArmed = 0;
    appState.reminderDialog = NULL;
    KillTimer(dialog, appState.reminderTimer);
    ShowReminderInTip(false);
    bool seen = MessageBoxW(NULL, text, kReminderCaption, MB_OK) == IDOK;
    if (seen && appState.leaving == 0 && action != POWER_NONE)
        PerformPowerAction(action);
    EndDialog(dialog, 0);
    return TRUE;
}

static INT_PTR OnCommand(HWND dialog, WPARAM wParam)
{
    // Only a click on OK counts; Esc (IDCANCEL) must not close the dialog.
    if (wParam == IDOK)
        return OnOk(dialog);
    return TRUE;
}

// The close button is the one way out of a visible dialog. The hidden armed
// one is closed to call the reminder off, by the menu entry's question or by
// another program: that disarms, and the entry opens a new dialog again.
static INT_PTR OnClose(HWND dialog)
{
    if (IsTheArmedDialog(dialog)) {
        KillTimer(dialog, appState.reminderTimer);
        appState.reminderArmed = 0;
        ShowReminderInTip(false);
    }
    if (dialog == appState.reminderDialog)
        appState.reminderDialog = NULL;
    EndDialog(dialog, 0);
    return TRUE;
}

// Still FALSE, so no field is initialised and no focus is set.
static INT_PTR OnInitDialog(HWND dialog)
{
    appState.reminderDialog = dialog;
    return FALSE;
}

INT_PTR CALLBACK ReminderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        return OnCommand(hwnd, wParam);
    if (message == WM_TIMER)
        return OnTimer(hwnd, wParam);
    if (message == WM_CLOSE)
        return OnClose(hwnd);
    if (message == WM_INITDIALOG)
        return OnInitDialog(hwnd);
    return FALSE;
}

// A time that comes while the box waits waits for the answer: Yes closes the
// dialog, No lets that time fire at once. No answer (0: the program is
// leaving and its quit broke the box, or the box could not be shown) is not
// No: it closes the dialog too, so that nothing fires that nobody confirmed.
// Should another program close the dialog meanwhile, both messages find it
// disarmed and do nothing more. One question at a time: the menu stays
// reachable while it is open.
void AskToCancelReminder()
{
    if (appState.reminderQuestion != kNoQuestion)
        return;
    HWND dialog = appState.reminderDialog;
    WCHAR question[sizeof kCancelQuestion / sizeof(WCHAR) + REMINDER_LINE_LENGTH];
    lstrcpyW(question, kCancelQuestion);
    lstrcatW(question, appState.reminderLine);
    appState.reminderQuestion = kQuestionOpen;
    int answer = MessageBoxW(NULL, question, kReminderCaption, MB_YESNO | MB_ICONQUESTION);
    bool timeCame = appState.reminderQuestion == kTimeCameMeanwhile;
    appState.reminderQuestion = kNoQuestion;
    if (answer != IDNO)
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    else if (timeCame)
        SendMessageA(dialog, WM_TIMER, kReminderTimerId, 0);
}
