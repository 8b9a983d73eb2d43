// The tray popup as a user meets it: which clicks on the icon open it, what
// a choice sends, what closing it without a choice sends (nothing), its check
// marks, and that opening it again and again costs no memory.
#include <algorithm>
#include <cstdio>

#include "tray_menu_helpers.h"

// Where the pointer is when the icon is clicked; the popup opens there.
static const POINT kClickPoint = {700, 300};

class TrayMenu : public ProgramTest {
protected:
    std::vector<COLORREF> FirstSubmenuPixels(int &width) { return SubmenuPixels(program, 0, kClickPoint, width); }

    void SetUp() override
    {
        program = StartProgram();
        ASSERT_NE(program.window, (HWND)NULL);
    }

    void CloseWithEscape()
    {
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForMenusClosed(program.id)) << "Escape did not close the menu";
    }
};

TEST_F(TrayMenu, OnlyButtonPressesOpenThePopupAtThePointer)
{
    const struct {
        const char *what;
        LPARAM mouseMessage;
        bool opens;
    } cases[] = {
        {"left press", WM_LBUTTONDOWN, true},     {"right press", WM_RBUTTONDOWN, true},
        {"left release", WM_LBUTTONUP, false},    {"right release", WM_RBUTTONUP, false},
        {"left double", WM_LBUTTONDBLCLK, false}, {"right double", WM_RBUTTONDBLCLK, false},
        {"move", WM_MOUSEMOVE, false},            {"middle press", WM_MBUTTONDOWN, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        HWND menu = OpenTrayMenu(program, c.mouseMessage, kClickPoint, c.opens ? 3000 : 800);
        EXPECT_EQ(menu != NULL, c.opens);
        if (menu == NULL)
            continue;
        RECT rect;
        GetWindowRect(menu, &rect);
        EXPECT_EQ(rect.right, kClickPoint.x) << "right-aligned at the pointer";
        EXPECT_EQ(rect.top, kClickPoint.y) << "top at the pointer";
        CloseWithEscape();
    }
}

// First exit, answered No; then at once the menu again, and about. The menu
// posts itself a message after each show, so the next one opens and takes
// its click, as Windows requires of a notification-area menu.
TEST_F(TrayMenu, ExitAnsweredNoThenAboutOpensTheAboutBox)
{
    HWND popup = OpenTrayMenu(program, WM_RBUTTONDOWN, kClickPoint);
    ASSERT_NE(popup, (HWND)NULL);
    POINT exit;
    ASSERT_TRUE(MoveHighlight(popup, VK_UP, exit)) << "no item is highlighted";  // from the bottom: exit
    ClickAt(exit);
    // Off the rows again, or the next menu may open under the pointer with
    // its exit row already highlighted.
    SetCursorPos(kClickPoint.x, kClickPoint.y);
    ASSERT_TRUE(AnswerBox(program.id, L"Ombrivale", L"您确认退出程序？　　", IDNO));

    popup = OpenTrayMenu(program, WM_RBUTTONDOWN, kClickPoint);
    ASSERT_NE(popup, (HWND)NULL) << "the menu did not open again";
    // Up from nothing selected walks from the bottom: exit, autostart, about.
    POINT about;
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(MoveHighlight(popup, VK_UP, about)) << "the highlight did not move at press " << i + 1;
    ClickAt(about);
    HWND box = WaitForDialog(program.id, L"Ombrivale");
    ASSERT_NE(box, (HWND)NULL) << "the click sent no about command";
    static const std::wstring kVersion = L"版本：v1.5";
    EXPECT_TEXT_EQ(MessageBoxText(box).substr(0, kVersion.size()), kVersion);
    PressButton(box, IDOK);
    EXPECT_TRUE(IsRunning(program));
}

TEST_F(TrayMenu, ClosingWithoutAChoiceSendsNothing)
{
    const struct {
        const char *what;
        bool byEscape;
    } cases[] = {{"Escape", true}, {"click outside", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        HWND popup = OpenTrayMenu(program, WM_LBUTTONDOWN, kClickPoint);
        ASSERT_NE(popup, (HWND)NULL);
        // "About" is selected, so a close that chose it would show its box.
        POINT about;
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(MoveHighlight(popup, VK_UP, about)) << "the highlight did not move at press " << i + 1;
        if (c.byEscape)
            PressKey(VK_ESCAPE);
        else
            ClickAt({100, 700});
        EXPECT_TRUE(WaitForMenusClosed(program.id)) << "the menu stayed open";
        EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 1000)) << "closing sent a command";
    }
}


// Wine cannot read another process's menu, so the marks are compared as the
// user sees them: the first submenu's pixels against those at start, where
// only "default brightness" is checked.
TEST_F(TrayMenu, CheckMarksFollowMuteAndDefaultBrightness)
{
    int width = 0;
    std::vector<COLORREF> atStart = FirstSubmenuPixels(width);
    ASSERT_FALSE(atStart.empty());

    SendCommand(program, IDM_MUTE);
    std::vector<COLORREF> muted = FirstSubmenuPixels(width);
    int muteRow = FirstDifferentRow(atStart, muted, width);
    EXPECT_NE(muteRow, -1) << "no check mark came with mute";
    SendCommand(program, IDM_MUTE);
    EXPECT_EQ(FirstSubmenuPixels(width), atStart) << "unmuting left a mark";

    // A step takes the mark off "default brightness", and choosing it puts
    // the mark back.
    SendCommand(program, IDM_BRIGHTNESS_DOWN);
    EXPECT_NE(FirstDifferentRow(atStart, FirstSubmenuPixels(width), width), -1) << "a step left the mark";
    SendCommand(program, IDM_BRIGHTNESS_DEFAULT);
    EXPECT_EQ(FirstSubmenuPixels(width), atStart) << "default brightness did not bring the mark back";
}

// Eight bitmaps leaked per show cost about 9 kB of the Wine process, some
// 4.5 MB over 500 shows; a balanced show costs nothing after warm-up.
TEST_F(TrayMenu, FiveHundredShowsKeepMemoryFlat)
{
    DWORD unixPid = UnixProcessOf(ProgramPath());
    ASSERT_NE(unixPid, 0u) << "no Linux process runs " << ProgramPath();
    auto showAndClose = [&](int times) {
        for (int i = 0; i < times; i++) {
            ASSERT_NE(OpenTrayMenu(program, WM_RBUTTONDOWN, kClickPoint), (HWND)NULL) << "show " << i;
            CloseWithEscape();
        }
    };
    showAndClose(50);
    long before = ResidentKilobytes(unixPid);
    showAndClose(500);
    long after = ResidentKilobytes(unixPid);
    std::printf("VmRSS of wine pid %lu: %ld kB after 50 warm-up shows, %ld kB after 500 more: %+.2f kB a show "
                "(eight leaked bitmaps a show would add about 9 kB a show)\n",
                (unsigned long)unixPid, before, after, (after - before) / 500.0);
    ASSERT_GT(before, 0) << "VmRSS could not be read";
    EXPECT_LT(after - before, 2000) << "memory grows with every show";
}
