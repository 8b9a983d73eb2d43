// The timed reminder as a user meets it: the dialog as built, refused
// minutes, a reminder that hides, waits a minute and shows its text.
#include "harness.h"
#include "tray_menu_helpers.h"

static const wchar_t kCaption[] = L"Ombrivale 定时提醒";

// The program's visible dialog with the reminder caption: the form itself
// (it has the minutes field) or one of its message boxes.
static HWND FindReminderWindow(DWORD processId, bool form)
{
    HWND window = NULL;
    while ((window = FindWindowExW(NULL, window, L"#32770", kCaption)) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        bool isForm = GetDlgItem(window, IDC_REMINDER_MINUTES) != NULL;
        if (owner == processId && IsWindowVisible(window) && isForm == form)
            return window;
    }
    return NULL;
}

static HWND WaitForReminderWindow(DWORD processId, bool form, DWORD milliseconds = 5000)
{
    HWND window = NULL;
    WaitUntil([&] { return (window = FindReminderWindow(processId, form)) != NULL; }, milliseconds);
    return window;
}

// Edit controls keep their text to themselves: another process must ask.
// Dialog units to pixels. MapDialogRect works only inside the dialog's own
// process, so the base units are the integers that give the client area
// from the template's 205 x 107 units.
static POINT BaseUnits(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    POINT units = {0, 0};
    for (int unit = 1; unit < 64; ++unit) {
        if (MulDiv(205, unit, 4) == client.right)
            units.x = unit;
        if (MulDiv(107, unit, 8) == client.bottom)
            units.y = unit;
    }
    return units;
}

class Reminder : public ProgramTest {
protected:
    HWND OpenDialog()
    {
        if (program.process == NULL)
            program = StartProgram();
        SendCommand(program, IDM_REMINDER);
        HWND dialog = WaitForReminderWindow(program.id, true);
        EXPECT_NE(dialog, (HWND)NULL) << "the reminder dialog did not open; the program shows"
                                      << DialogTitles(program.id);
        return dialog;
    }

    static void PressOk(HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }
};

TEST_F(Reminder, DialogIsBuiltAsItsTemplate)
{
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_TEXT_EQ(WindowText(dialog), kCaption);
    // Creation adds visibility, sibling clipping and the 3-D look to the template's bits.
    EXPECT_EQ((DWORD)GetWindowLongW(dialog, GWL_STYLE) & ~(DWORD)(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK),
              0x80C808C0u);
    POINT units = BaseUnits(dialog);
    ASSERT_TRUE(units.x != 0 && units.y != 0) << "the client area is not 205 x 107 dialog units";

    const struct { int id; const wchar_t *className; const wchar_t *text; DWORD style; RECT units; } controls[] = {
        {IDOK, L"Button", L"确定", 0x50010000, {152, 88, 50, 14}},
        {0xFFFF, L"Button", L"设置提醒", 0x50000007, {2, 3, 200, 83}},
        {IDC_REMINDER_TEXT, L"Edit", L"", 0x50A11004, {6, 24, 190, 57}},
        {0xFFFF, L"Static", L"在", 0x50020000, {10, 12, 12, 10}},
        {IDC_REMINDER_MINUTES, L"Edit", L"", 0x50812000, {22, 12, 22, 10}},
        {0xFFFF, L"Static", L"分钟后执行", 0x50020000, {46, 12, 35, 10}},
        {IDC_ACTION_SHUTDOWN, L"Button", L"关机", 0x50000009, {9, 90, 38, 12}},
        {IDC_ACTION_RESTART, L"Button", L"重启", 0x50000009, {54, 90, 38, 12}},
        {IDC_ACTION_LOGOFF, L"Button", L"注销", 0x50000009, {96, 90, 38, 12}},
    };
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const auto &expected : controls) {
        ASSERT_NE(control, (HWND)NULL) << "fewer than nine controls";
        SCOPED_TRACE(expected.text);
        EXPECT_EQ(GetDlgCtrlID(control), expected.id);
        EXPECT_TEXT_EQ(ClassName(control), expected.className);
        EXPECT_TEXT_EQ(ControlText(control), expected.text);
        // An edit control trades its border for the sunken client edge.
        DWORD border = (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? WS_BORDER : 0;
        EXPECT_EQ((DWORD)GetWindowLongW(control, GWL_STYLE) | border, expected.style);
        const RECT &u = expected.units;
        RECT want = {MulDiv(u.left, units.x, 4), MulDiv(u.top, units.y, 8), 0, 0};
        want.right = want.left + MulDiv(u.right, units.x, 4);
        want.bottom = want.top + MulDiv(u.bottom, units.y, 8);
        RECT got;
        GetWindowRect(control, &got);
        MapWindowPoints(NULL, dialog, (POINT *)&got, 2);
        EXPECT_TRUE(EqualRect(&want, &got)) << "at " << got.left << "," << got.top << " size "
                                            << got.right - got.left << "x" << got.bottom - got.top;
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, (HWND)NULL) << "more than nine controls";
}

// The text typed before the refusals is the one the reminder shows, to the
// character: Hangul and Polish letters that no ANSI code page of the run
// holds, Chinese, a line break and a full-width space. The dialog's own
// timer message fires it at once.
TEST_F(Reminder, RefusedMinutesWarnAndKeepTheInputForTheReminderAsTyped)
{
    static const std::wstring kText = std::wstring(kForeignFolderName) + L" 폴더 정리\r\n整理文件夹　";
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    HWND text = GetDlgItem(dialog, IDC_REMINDER_TEXT);
    HWND minutes = GetDlgItem(dialog, IDC_REMINDER_MINUTES);
    SetControlText(text, kText);
    // "-5" cannot be typed into the digits-only field, but it can be pasted.
    for (const wchar_t *entry : {L"0", L"1441", L"", L"-5"}) {
        SCOPED_TRACE(entry);
        SetControlText(minutes, entry);
        PressOk(dialog);
        HWND box = WaitForReminderWindow(program.id, false);
        ASSERT_NE(box, (HWND)NULL) << "no warning; the program shows" << DialogTitles(program.id);
        EXPECT_TEXT_EQ(MessageBoxText(box), L"你的输入不正确，请重新输入。");
        PressButton(box, IDOK);
        EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 500)) << "the warning ended the dialog";
        EXPECT_TEXT_EQ(ControlText(minutes), entry) << "the input was not kept";
    }
    EXPECT_TEXT_EQ(ControlText(text), kText) << "the text was not kept";

    SetControlText(minutes, L"1");
    PressOk(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog did not arm";
    PostMessageW(dialog, WM_TIMER, 1, 0);
    HWND box = WaitForReminderWindow(program.id, false);
    ASSERT_NE(box, (HWND)NULL) << "no reminder box captioned \"" << kCaption << "\"; the program shows"
                               << DialogTitles(program.id);
    EXPECT_TEXT_EQ(MessageBoxText(box), kText);
    PressButton(box, IDOK);
}

static int CountReminderForms(DWORD processId)
{
    int forms = 0;
    for (HWND window : TopLevelWindows(processId, L"#32770", kCaption, true))
        forms += GetDlgItem(window, IDC_REMINDER_MINUTES) != NULL ? 1 : 0;
    return forms;
}

static SYSTEMTIME LocalTimeAt(const FILETIME &time)
{
    SYSTEMTIME universal, local;
    FileTimeToSystemTime(&time, &universal);
    SystemTimeToTzSpecificLocalTime(NULL, &universal, &local);
    return local;
}

// What an armed reminder's tip and question say: when it fires, as the
// local clock will read then (after a change to or from daylight time in
// between too), and on the next day "明天" before the time.
static std::wstring FiresAt(int minutes)
{
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    SYSTEMTIME now = LocalTimeAt(time);
    ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart += (ULONGLONG)minutes * 60 * 10000000;
    time = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME then = LocalTimeAt(time);
    wchar_t line[64];
    wsprintfW(line, L"定时提醒：%s%02u:%02u", then.wDay != now.wDay ? L"明天 " : L"", then.wHour, then.wMinute);
    return line;
}

// One dialog at a time; a timer message that anyone may post fires nothing;
// the armed entry asks before it cancels, and an armed dialog closed from
// outside disarms too, so the command works again.
TEST_F(Reminder, OneDialogEscapeDoesNothingAndCloseEndsItArmedOrNot)
{
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    SendCommand(program, IDM_REMINDER);
    EXPECT_FALSE(WaitUntil([&] { return CountReminderForms(program.id) > 1; }, 1000)) << "a second dialog opened";
    PostMessageW(dialog, WM_TIMER, 1, 0);
    HWND minutes = GetDlgItem(dialog, IDC_REMINDER_MINUTES);
    PostMessageW(minutes, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 1000)) << "Esc closed the dialog";
    EXPECT_EQ(WaitForReminderWindow(program.id, false, 200), (HWND)NULL) << "an unarmed dialog fired";
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the close button did not end the dialog";

    dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    SetControlText(GetDlgItem(dialog, IDC_REMINDER_MINUTES), L"5");
    std::wstring firesBefore = FiresAt(5);
    PressOk(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog did not arm";
    std::wstring firesAfter = FiresAt(5);
    PostMessageW(dialog, WM_TIMER, 7, 0);
    EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 1000)) << "armed, yet a window opened";
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "yes" : "no");
        SendCommand(program, IDM_REMINDER);
        HWND question = WaitForReminderWindow(program.id, false);
        ASSERT_NE(question, (HWND)NULL) << "the armed entry did not ask; the program shows" << DialogTitles(program.id);
        std::wstring text = MessageBoxText(question);
        const std::wstring asked = L"确定要取消定时提醒吗？\r\n\r\n";
        EXPECT_TRUE(text == asked + firesBefore || text == asked + firesAfter)
            << "the question reads " << Utf8(text) << ", not " << Utf8(asked + firesAfter);
        PressButton(question, answer);
        if (answer == IDNO)
            EXPECT_FALSE(WaitUntil([&] { return !IsWindow(dialog); }, 1000)) << "No ended the armed reminder";
        else
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "Yes did not end the armed reminder";
    }
    EXPECT_EQ(CountReminderForms(program.id), 0) << "a form opened instead of the question";

    dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL) << "Yes did not disarm";
    SetControlText(GetDlgItem(dialog, IDC_REMINDER_MINUTES), L"5");
    PressOk(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog did not arm again";
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the armed dialog did not end";
    EXPECT_NE(OpenDialog(), (HWND)NULL) << "closing the armed dialog did not disarm";
}

// Waits for the real one-minute timer.
TEST_F(Reminder, ValidMinuteHidesThenShowsTheTextAfterAMinute)
{
    static const wchar_t kText[] = L"该休息了，起来走走。\r\n第二行";
    // The menu's "系统控制" submenu, whose last entry is the reminder, as
    // the user sees it before anything is armed.
    static const POINT kMenuAt = {700, 300};
    int width = 0;
    program = StartProgram();
    std::vector<COLORREF> enabled = SubmenuPixels(program, 2, kMenuAt, width);
    ASSERT_FALSE(enabled.empty());
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    SetControlText(GetDlgItem(dialog, IDC_REMINDER_TEXT), kText);
    SetControlText(GetDlgItem(dialog, IDC_REMINDER_MINUTES), L"1");
    DWORD armedAt = GetTickCount();
    PressOk(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog stayed visible";
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog ended instead of hiding";
    EXPECT_EQ(CountDialogs(program.id), 0);
    std::vector<COLORREF> armed = SubmenuPixels(program, 2, kMenuAt, width);
    int rows = (int)enabled.size() / width;
    // Armed, only the last entry changes: it offers to cancel the reminder.
    EXPECT_GT(FirstDifferentRow(enabled, armed, width), rows / 2) << "the reminder entry did not change while armed";

    HWND box = WaitForReminderWindow(program.id, false, 90000);
    ASSERT_NE(box, (HWND)NULL) << "no reminder within 90 s";
    EXPECT_GE(GetTickCount() - armedAt, 59000u) << "the reminder came early";
    EXPECT_TEXT_EQ(MessageBoxText(box), kText);
    EXPECT_EQ(SubmenuPixels(program, 2, kMenuAt, width), enabled) << "the reminder entry did not come back";

    // While the box waits, a fresh dialog opens with empty fields; shut down
    // chosen there with refused minutes must not become this reminder's action.
    HWND again = OpenDialog();
    ASSERT_NE(again, (HWND)NULL);
    EXPECT_TEXT_EQ(ControlText(GetDlgItem(again, IDC_REMINDER_TEXT)), L"");
    EXPECT_TEXT_EQ(ControlText(GetDlgItem(again, IDC_REMINDER_MINUTES)), L"");
    PostMessageW(GetDlgItem(again, IDC_ACTION_SHUTDOWN), BM_CLICK, 0, 0);
    SetControlText(GetDlgItem(again, IDC_REMINDER_MINUTES), L"0");
    PressOk(again);
    HWND refused = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindows(program.id, L"#32770", kCaption, true)) {
            if (window != box && window != again)
                refused = window;
        }
        return refused != NULL;
    })) << "no warning for refused minutes";
    PressButton(refused, IDOK);
    PostMessageW(again, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(again); })) << "the new dialog did not close";
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the fired reminder left its dialog behind";
    EXPECT_FALSE(WaitUntil([&] { return !IsRunning(program); }, 2000)) << "the reminder ran another's action";
}

// The time of a shutdown reminder comes while its cancel question is open,
// and the user quits meanwhile: the quit breaks the question, which then
// returns 0. Unanswered, it must fire nothing. Under Wine the forced
// shutdown starts "wineboot --kill", which ends every process of the
// session, this test's own too, but only after the program has ended: the
// start itself, done before the program can end, is what shows it ran.
TEST_F(Reminder, QuitWhileTheCancelQuestionWaitsFiresNothing)
{
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, (HWND)NULL);
    PostMessageW(GetDlgItem(dialog, IDC_ACTION_SHUTDOWN), BM_CLICK, 0, 0);
    SetControlText(GetDlgItem(dialog, IDC_REMINDER_MINUTES), L"5");
    PressOk(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the dialog did not arm";
    SendCommand(program, IDM_REMINDER);
    ASSERT_NE(WaitForReminderWindow(program.id, false), (HWND)NULL)
        << "the armed entry did not ask; the program shows" << DialogTitles(program.id);
    // The dialog's own timer identifier: the time came while the question waits.
    PostMessageW(dialog, WM_TIMER, 1, 0);
    SendCommand(program, IDM_EXIT);
    ASSERT_TRUE(AnswerBox(program.id, L"Ombrivale", L"您确认退出程序？　　", IDYES));
    EXPECT_EQ(WaitForExit(program), 0u) << "the program did not end as the exit command ends it";
    EXPECT_EQ(ChildProcess(program.id, L"wineboot.exe"), 0u) << "the program ran the reminder's shutdown";
}
