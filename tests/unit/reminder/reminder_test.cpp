// The reminder dialog: what OK reads and arms, what the timer shows and runs,
// and the messages that must do nothing.
#include "reminder/reminder_dialog.h"
#include "reminder/reminder_tip.h"
#include "resources/resource_ids.h"
#include "tests/doubles/routines_test.h"

static const char16_t kCaption[] = u"Ombrivale 定时提醒";

class Reminder : public RoutinesTest {
protected:
    Reminder() { OpenAsTheDialog(); }

    // As WM_INITDIALOG leaves it: the one open dialog, not armed.
    void OpenAsTheDialog()
    {
        appState = AppState();
        SetStartValues();
        EXPECT_EQ(ReminderDialogProc(dialog, WM_INITDIALOG, 0, 0), FALSE) << "no focus is set";
        EXPECT_EQ(appState.reminderDialog, dialog);
    }

    // The reads of an OK press, in their order: the radios, the text, the number.
    void ExpectOkReads(int checkedControl, UINT minutes)
    {
        for (int control : {IDC_ACTION_SHUTDOWN, IDC_ACTION_RESTART, IDC_ACTION_LOGOFF})
            EXPECT_CALL(win, IsDlgButtonChecked(dialog, control)).WillOnce(Return(control == checkedControl ? 1u : 0u));
        EXPECT_CALL(win, GetDlgItem(dialog, IDC_REMINDER_TEXT)).WillOnce(Return(textField));
        // The whole field of 1024 UTF-16 units, so the platform cuts a longer text at 1023.
        EXPECT_CALL(win, GetWindowTextW(textField, appState.reminderText, 1024)).WillOnce(Return(0));
        EXPECT_CALL(win, GetDlgItemInt(dialog, IDC_REMINDER_MINUTES, nullptr, TRUE)).WillOnce(Return(minutes));
    }

    INT_PTR PressOk() { return ReminderDialogProc(dialog, WM_COMMAND, IDOK, 0); }

    // The clock may be read as often as the code likes; the fake answers.
    void AllowClockReads()
    {
        EXPECT_CALL(win, GetSystemTimeAsFileTime(_)).Times(AnyNumber());
        EXPECT_CALL(win, FileTimeToSystemTime(_, _)).Times(AnyNumber());
        EXPECT_CALL(win, SystemTimeToTzSpecificLocalTime(_, _, _)).Times(AnyNumber());
    }

    HWND dialog = FakeHandle<HWND>(0x10);
    HWND textField = FakeHandle<HWND>(0x20);
};

// The tip tells when, by the local clock at arming, and what; a hidden icon
// gets it at its next add.
TEST_F(Reminder, ValidOkArmsTimerShowsItInTheTipAndHidesWithoutEnding)
{
    const struct { int checked; UINT minutes; DWORD action; UINT period; WORD hour, minute; const char16_t *line; DWORD shown; } cases[] = {
        {0, 1, 0, 60000, 10, 5, u"定时提醒：10:06", 1},
        {IDC_ACTION_SHUTDOWN, 1440, 1, 86400000, 23, 59, u"定时提醒：明天 23:59 关机", 1},
        {IDC_ACTION_RESTART, 30, 2, 1800000, 23, 45, u"定时提醒：明天 00:15 重启", 0},
        {IDC_ACTION_LOGOFF, 2, 3, 120000, 9, 58, u"定时提醒：10:00 注销", 1},
    };
    for (const auto &c : cases) {
        OpenAsTheDialog();
        appState.reminderAction = 3;  // left from an earlier press
        appState.trayIconShown = c.shown;
        FakeClockSetSystemTime({2024, 3, 6, 9, c.hour, c.minute, 59, 999});
        AllowClockReads();
        InSequence order;
        ExpectOkReads(c.checked, c.minutes);
        EXPECT_CALL(win, SetTimer(dialog, 1, c.period, nullptr)).WillOnce(Return(1));
        if (c.shown)
            EXPECT_CALL(win, Shell_NotifyIconW(NIM_MODIFY, Pointee(Field(&NOTIFYICONDATAW::uFlags, (UINT)NIF_TIP))));
        EXPECT_CALL(win, ShowWindow(dialog, SW_HIDE)).WillOnce(Invoke([](HWND, int) {
            EXPECT_EQ(appState.reminderArmed, 1u) << "armed before it is hidden";
            return TRUE;
        }));
        EXPECT_EQ(PressOk(), TRUE);
        EXPECT_EQ(appState.reminderAction, c.action);
        EXPECT_EQ(appState.reminderMinutes, (LONG)c.minutes);
        EXPECT_EQ(appState.reminderTimer, 1u);
        EXPECT_EQ(Text(appState.trayIcon.szTip), u"Ombrivale\n" + std::u16string(c.line));
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The timer counts elapsed time. Across a change of the clock in between,
// the tip tells the local time and date at which the reminder fires.
TEST_F(Reminder, TheTipTellsTheLocalClockAtTheFiringAcrossAClockChange)
{
    // Central Europe in 2024: UTC+1, and UTC+2 from 31 March to 27 October, 01:00 UTC.
    const FakeTimeZone kBerlin = {-60, -120, {2024, 3, 0, 31, 1, 0, 0, 0}, {2024, 10, 0, 27, 1, 0, 0, 0}};
    // Chile in 2024: UTC-3 until its midnight of 7 April, when the clock goes back to 23:00, UTC-4.
    const FakeTimeZone kSantiago = {240, 180, {2023, 9, 0, 3, 4, 0, 0, 0}, {2024, 4, 0, 7, 3, 0, 0, 0}};
    const struct { const char *what; FakeTimeZone zone; SYSTEMTIME now; LONG minutes; PowerAction action; const char16_t *line; } cases[] = {
        {"02:30 in daylight time, an hour before it ends", kBerlin, {2024, 10, 0, 27, 0, 30, 0, 0}, 60, POWER_NONE, u"定时提醒：02:30"},
        {"23:30 before daylight time begins, a day ahead", kBerlin, {2024, 3, 0, 30, 22, 30, 0, 0}, 1440, POWER_SHUTDOWN,
         u"定时提醒：后天 00:30 关机"},
        {"23:30 before the clock goes back at midnight", kSantiago, {2024, 4, 0, 7, 2, 30, 0, 0}, 40, POWER_NONE, u"定时提醒：23:10"},
        {"23:00 in daylight time, past midnight", kBerlin, {2024, 10, 0, 26, 21, 0, 0, 0}, 90, POWER_RESTART, u"定时提醒：明天 00:30 重启"},
        // A zone Windows cannot read converts nothing: the tip tells the time in UTC.
        {"a zone that cannot be read", {0, 0, {}, {}, true}, {2024, 10, 0, 26, 23, 30, 0, 0}, 60, POWER_NONE, u"定时提醒：明天 00:30"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeClockSetZone(c.zone);
        FakeClockSetSystemTime(c.now);
        AllowClockReads();
        DescribeArmedReminder(c.action, c.minutes);
        EXPECT_EQ(Text(appState.reminderLine), c.line);
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Reminder, InvalidMinutesOnlyWarnAndKeepTheChoiceRead)
{
    for (UINT minutes : {0u, 1441u, (UINT)-5, 0xFFFFFFFFu}) {
        OpenAsTheDialog();
        InSequence order;
        ExpectOkReads(IDC_ACTION_SHUTDOWN, minutes);
        EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"你的输入不正确，请重新输入。"), WideEq(kCaption), MB_OK))
            .WillOnce(Return(IDOK));
        EXPECT_EQ(PressOk(), IDOK) << minutes;
        EXPECT_EQ(appState.reminderArmed, 0u);
        EXPECT_EQ(appState.reminderAction, 1u);
        EXPECT_EQ(appState.reminderMinutes, (LONG)minutes) << "the signed number is kept";
        ::testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Reminder, TimerThatCannotStartLeavesDialogUpAndUnarmed)
{
    InSequence order;
    ExpectOkReads(0, 5);
    EXPECT_CALL(win, SetTimer(dialog, 1, 300000u, nullptr)).WillOnce(Return(0));
    EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"无法启动定时器，请稍后重试。"), WideEq(kCaption), MB_OK | MB_ICONWARNING))
        .WillOnce(Return(IDOK));
    EXPECT_EQ(PressOk(), IDOK);
    EXPECT_EQ(appState.reminderArmed, 0u);
}

TEST_F(Reminder, OnlyOkTimerAndCloseAreHandled)
{
    for (WPARAM command : {(WPARAM)IDCANCEL, (WPARAM)IDC_ACTION_SHUTDOWN, (WPARAM)((1 << 16) | IDOK),
                           (WPARAM)((0x300 << 16) | IDC_REMINDER_MINUTES)})
        EXPECT_EQ(ReminderDialogProc(dialog, WM_COMMAND, command, 0), TRUE) << command;
    // Posted by anyone to a dialog that is not armed: no reminder fires.
    EXPECT_EQ(ReminderDialogProc(dialog, WM_TIMER, 1, 0), TRUE);
    EXPECT_EQ(ReminderDialogProc(dialog, WM_PAINT, 0, 0), FALSE);
    EXPECT_CALL(win, EndDialog(dialog, 0)).WillOnce(Return(TRUE));
    EXPECT_EQ(ReminderDialogProc(dialog, WM_CLOSE, 0, 0), TRUE);
    EXPECT_EQ(appState.reminderDialog, nullptr) << "the command could not open a new dialog";
    // OK on a dialog that is no longer the open one (hidden, fired) arms nothing.
    EXPECT_EQ(PressOk(), TRUE);
}

// Closing the hidden armed dialog disarms and clears the tip: another
// program may close it, and Yes to the menu entry's question does. A time
// that comes while the question is open waits: only No then lets it fire. A
// question that returned 0 was never answered (the program is leaving, or
// the box could not be shown): it disarms and fires nothing.
TEST_F(Reminder, ClosingTheArmedDialogDisarmsAndOnlyNoToTheQuestionLetsItFire)
{
    const int kClosedFromOutside = -1;
    const struct { const char *what; int answer; bool timeComes; } cases[] = {
        {"closed by another program", kClosedFromOutside, false}, {"No", IDNO, false}, {"Yes", IDYES, false},
        {"No after the time came", IDNO, true},  {"Yes after the time came", IDYES, true},
        {"unanswered", 0, false}, {"unanswered after the time came", 0, true},
    };
    auto deliver = [](HWND to, UINT message, WPARAM wParam, LPARAM) { return ReminderDialogProc(to, message, wParam, 0); };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        appState = {.trayIconShown = 1, .reminderArmed = 1, .reminderAction = POWER_SHUTDOWN, .reminderTimer = 1,
                    .reminderDialog = dialog, .reminderLine = u"定时提醒：明天 00:30 关机"};
        lstrcpyW(appState.trayIcon.szTip, u"Ombrivale\n定时提醒：明天 00:30 关机");
        const bool asked = c.answer != kClosedFromOutside;
        const bool closes = c.answer != IDNO, fires = c.answer == IDNO && c.timeComes;
        InSequence order;
        if (asked) {
            EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"确定要取消定时提醒吗？\r\n\r\n定时提醒：明天 00:30 关机"),
                                         WideEq(kCaption), MB_YESNO | MB_ICONQUESTION))
                .WillOnce(Invoke([&](auto...) {
                    if (c.timeComes) {
                        EXPECT_EQ(ReminderDialogProc(dialog, WM_TIMER, 1, 0), TRUE) << "nothing fires yet";
                    }
                    return c.answer;
                }));
        }
        if (asked && (closes || fires))
            EXPECT_CALL(win, SendMessageA(dialog, closes ? WM_CLOSE : WM_TIMER, closes ? 0 : 1, 0)).WillOnce(Invoke(deliver));
        if (closes || fires) {
            EXPECT_CALL(win, KillTimer(dialog, 1)).WillOnce(Return(TRUE));
            EXPECT_CALL(win, Shell_NotifyIconW(NIM_MODIFY, &appState.trayIcon)).WillOnce(Return(TRUE));
            if (fires) {
                EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u""), WideEq(kCaption), MB_OK)).WillOnce(Return(IDOK));
                EXPECT_CALL(routines, PerformPowerAction(POWER_SHUTDOWN)).WillOnce(Return(TRUE));
            }
            EXPECT_CALL(win, EndDialog(dialog, 0)).WillOnce(Return(TRUE));
        }
        if (asked)
            AskToCancelReminder();
        else
            EXPECT_EQ(ReminderDialogProc(dialog, WM_CLOSE, 0, 0), TRUE);
        EXPECT_EQ(appState.reminderArmed, closes || fires ? 0u : 1u);
        EXPECT_EQ(Text(appState.trayIcon.szTip), closes || fires ? u"Ombrivale" : u"Ombrivale\n定时提醒：明天 00:30 关机");
        ::testing::Mock::VerifyAndClearExpectations(&win);
        ::testing::Mock::VerifyAndClearExpectations(&routines);
    }
}

// Disarmed before the timer goes and before the box waits; the action after,
// the one it was armed with even if a new dialog's OK rewrote the shared
// fields while the box waited; then the dialog ends. The action runs only
// after the box was seen (IDOK) and never once the program is leaving.
TEST_F(Reminder, TimerDisarmsKillsShowsTextRunsItsActionThenEnds)
{
    const HWND newDialog = FakeHandle<HWND>(0x30);
    const struct { DWORD action; int box; DWORD leaving; bool runs; } cases[] = {
        {0, IDOK, 0, false}, {1, IDOK, 0, true}, {2, IDOK, 0, true}, {3, IDOK, 0, true},
        {1, 0, 0, false},                         // a box that returned 0 was never seen
        {3, 0, 1, false}, {2, IDOK, 1, false},  // the program is leaving
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.action << ", box " << c.box << ", leaving " << c.leaving);
        OpenAsTheDialog();
        appState.reminderArmed = 1;
        appState.reminderAction = c.action;
        appState.reminderTimer = 1;
        appState.leaving = c.leaving;
        lstrcpyW(appState.reminderText, u"该休息了 도구-Łódź");
        // Not this reminder's timer: ignored.
        EXPECT_EQ(ReminderDialogProc(dialog, WM_TIMER, 7, 0), TRUE);
        InSequence order;
        EXPECT_CALL(win, KillTimer(dialog, 1)).WillOnce(Invoke([](HWND, UINT_PTR) {
            EXPECT_EQ(appState.reminderArmed, 0u);
            return TRUE;
        }));
        EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"该休息了 도구-Łódź"), WideEq(kCaption), MB_OK)).WillOnce(Invoke([&](auto...) {
            appState.reminderDialog = newDialog;
            appState.reminderAction = POWER_SHUTDOWN;
            lstrcpyW(appState.reminderText, u"其他");
            return c.box;
        }));
        if (c.runs)
            EXPECT_CALL(routines, PerformPowerAction(c.action)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, EndDialog(dialog, 0)).WillOnce(Return(TRUE));
        EXPECT_EQ(ReminderDialogProc(dialog, WM_TIMER, 1, 0), TRUE);
        EXPECT_EQ(appState.reminderDialog, newDialog) << "the new dialog stays the open one";
        ::testing::Mock::VerifyAndClearExpectations(&win);
        ::testing::Mock::VerifyAndClearExpectations(&routines);
    }
}
