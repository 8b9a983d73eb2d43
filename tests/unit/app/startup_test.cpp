// Start-up, the main window's messages and the tray icon record.
#include <cstring>
#include <functional>
#include <vector>

#include "app/app_main.h"
#include "app/dll_search.h"
#include "app/main_window.h"
#include "app/session_notifications.h"
#include "app/tray_icon.h"
#include "tests/unit/app/app_test.h"

using ::testing::AtMost;

namespace {

const HWND kOtherCopy = FakeHandle<HWND>(0x200);
const HICON kIcon = FakeHandle<HICON>(0x500);
const HICON kTrayIcon = FakeHandle<HICON>(0x501);
const char16_t kArmedTip[] = u"Ombrivale\n定时提醒：10:06";
const HCURSOR kArrow = FakeHandle<HCURSOR>(0x600);
const UINT kTaskbarCreated = 0xC0DE;
const HANDLE kMutex = FakeHandle<HANDLE>(0x700);
const HMODULE kUser32 = FakeHandle<HMODULE>(0x800);
const HWND kTaskbar = FakeHandle<HWND>(0x300);
const HICON kTrayIcon24 = FakeHandle<HICON>(0x502);

// Stands in for user32's ChangeWindowMessageFilterEx; records what it let in.
struct { HWND window; UINT message; DWORD action; } allowed;
BOOL WINAPI FakeChangeWindowMessageFilterEx(HWND window, UINT message, DWORD action, void *)
{
    allowed = {window, message, action};
    return TRUE;
}

class Startup : public AppTest {
protected:
    std::u16string programPath = u"C:\\o.exe";

    // What one WM_CREATE asks of the platform before any icon work: the
    // first reads the user's hotkeys, every one registers the set in force,
    // unless the hotkey settings dialog is open: it registers a set as it ends.
    void ExpectCreationSteps(bool again = false, std::function<void()> meanwhile = [] {})
    {
        EXPECT_CALL(win, GetModuleFileNameW(nullptr, appState.modulePath, 260))
            .WillOnce(Invoke([this](HMODULE, LPWSTR path, DWORD size) { return FakeModuleFileName(programPath, path, size); }));
        EXPECT_CALL(routines, ReadAutostartState()).WillOnce(Invoke(meanwhile));
        if (!again)
            EXPECT_CALL(routines, LoadHotkeySettings());
        if (appState.hotkeyDialog == NULL)
            EXPECT_CALL(routines, RegisterHotkeysInForce(kWindow));
    }

    // A re-add shows the icon loaded at start-up, with the tip of the moment.
    void ExpectIconAdd(NOTIFYICONDATAW *seen, BOOL result = TRUE)
    {
        appState.trayIcon.hIcon = kTrayIcon;
        lstrcpyW(appState.trayIcon.szTip, kArmedTip);
        EXPECT_CALL(win, Shell_NotifyIconW(NIM_ADD, &appState.trayIcon))
            .WillOnce(DoAll(SaveArgPointee<1>(seen), Return(result)));
    }

    // A later creation where no taskbar tells its scale (Wine has none).
    void ExpectIconReAdd(NOTIFYICONDATAW *seen)
    {
        EXPECT_CALL(win, FindWindowW(WideEq(u"Shell_TrayWnd"), nullptr)).WillOnce(Return(nullptr));
        ExpectIconAdd(seen);
    }
};

void ExpectQuietRecord(const NOTIFYICONDATAW &icon)
{
    EXPECT_EQ(icon.cbSize, (DWORD)NOTIFYICONDATAW_V2_SIZE);
    EXPECT_EQ(icon.hWnd, kWindow);
    EXPECT_EQ(icon.uID, 1u);
    EXPECT_EQ(icon.uFlags, 7u) << "a quiet add never carries NIF_INFO";
    EXPECT_EQ(icon.uCallbackMessage, 1024u);
    EXPECT_EQ(icon.hIcon, kTrayIcon);
    EXPECT_EQ(Text(icon.szTip), kArmedTip);
}

}  // namespace

// By its window, by the mutex that a copy started at the same instant
// already holds before its window exists, or by a mutex this copy may not
// open because a copy running as administrator holds it.
TEST_F(Startup, SecondCopyWarnsAndExitsBeforeCreatingAnything)
{
    enum Found { byWindow, byMutex, byAdministratorsMutex };
    for (Found found : {byWindow, byMutex, byAdministratorsMutex}) {
        SCOPED_TRACE(found);
        InSequence order;
        EXPECT_CALL(win, FindWindowW(nullptr, WideEq(u"KORVANFOREVER"))).WillOnce(Return(found == byWindow ? kOtherCopy : nullptr));
        if (found != byWindow) {
            const bool opened = found == byMutex;
            EXPECT_CALL(win, CreateMutexA(nullptr, FALSE, StrEq("Ombrivale.SingleInstance"))).WillOnce(Return(opened ? kMutex : nullptr));
            EXPECT_CALL(win, GetLastError()).WillOnce(Return(opened ? ERROR_ALREADY_EXISTS : ERROR_ACCESS_DENIED));
            if (opened)
                EXPECT_CALL(win, CloseHandle(kMutex)).WillOnce(Return(TRUE));
        }
        EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"你不用开很多次的，已经够啦！"), WideEq(u"Ombrivale"), 0x30));
        EXPECT_CALL(win, ExitProcess(0));
        EXPECT_EQ(AppMain(kInstance, nullptr, nullptr, SW_SHOW), 0);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Startup, CreatesHiddenWindowThenAddsIconWithBalloonThenLoops)
{
    WNDCLASSEXA windowClass = {};
    NOTIFYICONDATAW added = {};
    MSG firstMessage = {};
    firstMessage.message = WM_HOTKEY;
    MSG quit = {};
    quit.message = WM_QUIT;
    quit.wParam = 0;
    {
        InSequence order;
        EXPECT_CALL(win, FindWindowW(nullptr, WideEq(u"KORVANFOREVER"))).WillOnce(Return(nullptr));
        EXPECT_CALL(win, CreateMutexA(nullptr, FALSE, StrEq("Ombrivale.SingleInstance"))).WillOnce(Return(kMutex));
        EXPECT_CALL(win, GetLastError()).WillOnce(Return(0));
        EXPECT_CALL(win, LoadIconA(kInstance, StrEq("QZ"))).WillOnce(Return(kIcon));
        EXPECT_CALL(win, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))).WillOnce(Return(kArrow));
        EXPECT_CALL(win, RegisterClassExA(_)).WillOnce(DoAll(SaveArgPointee<0>(&windowClass), Return(1)));
        EXPECT_CALL(win, CreateWindowExA(0x80, StrEq("KORVAN"), StrEq("KORVANFOREVER"), 0x80000000,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                         nullptr, kInstance, nullptr))
            .WillOnce(Invoke([](auto...) {
                // The first WM_CREATE runs inside the creation call.
                EXPECT_EQ(MainWindowProc(kWindow, WM_CREATE, 0, 0), 0);
                return kWindow;
            }));
        ExpectCreationSteps();
        // An elevated copy must still hear the shell's restart.
        EXPECT_CALL(win, GetModuleHandleA(StrEq("user32.dll"))).WillOnce(Return(kUser32));
        EXPECT_CALL(win, GetProcAddress(kUser32, StrEq("ChangeWindowMessageFilterEx")))
            .WillOnce(Return(AsEntry(&FakeChangeWindowMessageFilterEx)));
        EXPECT_CALL(win, RegisterWindowMessageA(StrEq("TaskbarCreated"))).WillOnce(Return(kTaskbarCreated));
        // Registered for the unlock once, here; without wtsapi32 the program goes on.
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
        EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\wtsapi32.dll"))).WillOnce(Return(nullptr));
        EXPECT_CALL(win, GetSystemMetrics(SM_CXSMICON)).WillOnce(Return(16));
        EXPECT_CALL(win, GetSystemMetrics(SM_CYSMICON)).WillOnce(Return(16));
        EXPECT_CALL(win, LoadImageW(kInstance, WideEq(u"QZ"), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)).WillOnce(Return(kTrayIcon));
        ExpectIconAdd(&added, FALSE);
        EXPECT_CALL(win, GetMessageA(_, nullptr, 0, 0)).WillOnce(DoAll(SetArgPointee<0>(firstMessage), Return(TRUE)));
        EXPECT_CALL(win, TranslateMessage(_));
        EXPECT_CALL(win, DispatchMessageA(_));
        EXPECT_CALL(win, GetMessageA(_, nullptr, 0, 0)).WillOnce(DoAll(SetArgPointee<0>(quit), Return(FALSE)));
        EXPECT_CALL(win, DestroyIcon(kTrayIcon)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, CloseHandle(kMutex)).WillOnce(Return(TRUE));
    }
    allowed = {};
    EXPECT_EQ(AppMain(kInstance, nullptr, nullptr, SW_SHOW), 0);

    EXPECT_EQ(windowClass.cbSize, sizeof(WNDCLASSEXA));
    EXPECT_EQ(windowClass.style, 3u);
    EXPECT_EQ(windowClass.lpfnWndProc, &MainWindowProc);
    EXPECT_EQ(windowClass.cbClsExtra + windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.hInstance, kInstance);
    EXPECT_EQ(windowClass.hIcon, kIcon);
    EXPECT_EQ(windowClass.hIconSm, kIcon);
    EXPECT_EQ(windowClass.hCursor, kArrow);
    EXPECT_EQ(windowClass.hbrBackground, FakeHandle<HBRUSH>(12));
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
    EXPECT_STREQ(windowClass.lpszClassName, "KORVAN");

    EXPECT_EQ(added.uFlags, 0x17u);
    EXPECT_EQ(added.cbSize, (DWORD)NOTIFYICONDATAW_V2_SIZE);
    EXPECT_EQ(added.hWnd, kWindow);
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(added.uCallbackMessage, 1024u);
    EXPECT_EQ(Text(added.szTip), u"Ombrivale");
    EXPECT_EQ(added.uTimeout, 3u);
    EXPECT_EQ(added.dwInfoFlags, 0x11u);
    EXPECT_EQ(added.dwState | added.dwStateMask, 0u);
    EXPECT_EQ(Text(added.szInfoTitle), u"Ombrivale v1.5");
    EXPECT_EQ(Text(added.szInfo), u"作者：岑远舟　联系电话：0571-06651425\r\n立志做小巧的系统辅助软件，简单、方便、快捷。");
    EXPECT_EQ(appState.trayIconShown, 1u) << "set whatever the add returned";
    EXPECT_EQ(appState.createdOnce, 1u);
    EXPECT_EQ(Text(appState.modulePath), u"C:\\o.exe");
    EXPECT_EQ(allowed.window, kWindow);
    EXPECT_EQ(allowed.message, kTaskbarCreated);
    EXPECT_EQ(allowed.action, 1u) << "MSGFLT_ALLOW";
}

// The tray shows the small icon, 16 px times the display's scale: its one
// load asks for that size (SM_CXSMICON at 96, 120 and 144 DPI), and the icon
// is released once the loop has ended.
TEST_F(Startup, LoopEndsWithTheQuitMessagesCodeAndTheTrayIconAtTheSmallIconSize)
{
    MSG quit = {};
    quit.message = WM_QUIT;
    quit.wParam = 3;
    for (int size : {16, 20, 24}) {
        SCOPED_TRACE(size);
        EXPECT_CALL(win, FindWindowW(_, _)).WillOnce(Return(nullptr));
        EXPECT_CALL(win, CreateMutexA(_, _, _)).WillOnce(Return(kMutex));
        EXPECT_CALL(win, GetLastError()).WillOnce(Return(0));
        EXPECT_CALL(win, CloseHandle(kMutex)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, LoadIconA(_, _)).WillOnce(Return(kIcon));
        EXPECT_CALL(win, LoadCursorA(_, _));
        EXPECT_CALL(win, RegisterClassExA(_));
        EXPECT_CALL(win, CreateWindowExA(_, _, _, _, _, _, _, _, _, _, _, _)).WillOnce(Return(kWindow));
        EXPECT_CALL(win, GetSystemMetrics(SM_CXSMICON)).WillOnce(Return(size));
        EXPECT_CALL(win, GetSystemMetrics(SM_CYSMICON)).WillOnce(Return(size));
        EXPECT_CALL(win, LoadImageW(kInstance, WideEq(u"QZ"), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)).WillOnce(Return(kTrayIcon));
        EXPECT_CALL(win, Shell_NotifyIconW(NIM_ADD, Pointee(Field(&NOTIFYICONDATAW::hIcon, kTrayIcon))));
        Expectation loopEnded = EXPECT_CALL(win, GetMessageA(_, nullptr, 0, 0)).WillOnce(DoAll(SetArgPointee<0>(quit), Return(FALSE)));
        EXPECT_CALL(win, DestroyIcon(kTrayIcon)).After(loopEnded).WillOnce(Return(TRUE));
        EXPECT_EQ(AppMain(kInstance, nullptr, nullptr, SW_SHOW), 3);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// A restart registers the hotkeys in force again, without reading the
// registry, and re-adds even a hidden icon, quietly. A second
// "TaskbarCreated" while the re-creation runs does nothing. While the
// hotkey settings dialog is open, its way out registers them instead.
TEST_F(Startup, TaskbarRestartRegistersTheHotkeysAgainAndReAddsTheIcon)
{
    for (HWND settingsDialog : {HWND(NULL), FakeHandle<HWND>(0x10)}) {
        SCOPED_TRACE(settingsDialog == NULL ? "no settings dialog" : "settings dialog open");
        ResetState();
        appState.hotkeyDialog = settingsDialog;
        appState.createdOnce = 1;
        appState.trayIconShown = 0;
        EXPECT_CALL(win, RegisterWindowMessageA(StrEq("TaskbarCreated"))).WillRepeatedly(Return(kTaskbarCreated));
        NOTIFYICONDATAW added = {};
        {
            InSequence order;
            EXPECT_CALL(win, SendMessageA(kWindow, WM_CREATE, 7, 8)).WillOnce(Invoke([](HWND, UINT, WPARAM, LPARAM) {
                return MainWindowProc(kWindow, WM_CREATE, 7, 8);
            }));
            ExpectCreationSteps(true, [] { EXPECT_EQ(MainWindowProc(kWindow, kTaskbarCreated, 0, 0), 0); });
            ExpectIconReAdd(&added);
        }
        programPath = u"C:\\" + std::u16string(300, u'x') + u"\\o.exe";
        EXPECT_EQ(MainWindowProc(kWindow, kTaskbarCreated, 7, 8), 0);
        ExpectQuietRecord(added);
        EXPECT_EQ(appState.trayIconShown, 1u) << "a later creation re-adds even a hidden icon";
        EXPECT_EQ(Text(appState.modulePath), u"") << "a cut path is read again, and is no path";
        testing::Mock::VerifyAndClearExpectations(&win);

        for (UINT message : {UINT(WM_APPCOMMAND), UINT(WM_SYSCOMMAND), UINT(WM_PAINT), UINT(0xC0DF)}) {
            EXPECT_CALL(win, RegisterWindowMessageA(StrEq("TaskbarCreated"))).WillOnce(Return(kTaskbarCreated));
            EXPECT_CALL(win, DefWindowProcA(kWindow, message, 5, 6)).WillOnce(Return(42));
            EXPECT_EQ(MainWindowProc(kWindow, message, 5, 6), 42);
        }
        testing::Mock::VerifyAndClearExpectations(&win);
        testing::Mock::VerifyAndClearExpectations(&routines);
    }
}

// A path longer than the buffer comes back cut to the buffer's size, with
// its zero in the last character or, on XP, none: either names no file,
// and start with Windows must not take it for the program's path.
TEST_F(Startup, APathWindowsCutIsNoPath)
{
    const std::u16string longest = u"C:\\" + std::u16string(MAX_PATH - 10, u'x') + u"\\o.exe";
    ASSERT_EQ(longest.size(), MAX_PATH - 1u);
    const struct { const char *name; DWORD windows; std::u16string path; std::u16string kept; } cases[] = {
        {"XP, the longest path", kFakeXp64, longest, longest},
        {"XP, one more", kFakeXp64, longest + u'x', u""},
        {"Windows 7, the longest path", kFakeWindows7, longest, longest},
        {"Windows 7, one more", kFakeWindows7, longest + u'x', u""},
        {"Windows 7, far longer", kFakeWindows7, u"C:\\" + std::u16string(300, u'x') + u"\\o.exe", u""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeWow64Windows(c.windows, false);
        programPath = c.path;
        appState.createdOnce = 1;
        NOTIFYICONDATAW added = {};
        {
            InSequence order;
            ExpectCreationSteps(true);
            ExpectIconReAdd(&added);
        }
        EXPECT_EQ(MainWindowProc(kWindow, WM_CREATE, 0, 0), 0);
        EXPECT_EQ(Text(appState.modulePath), c.kept);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// Since Windows 10 a change of scale brings "TaskbarCreated" from an
// Explorer that still shows the icon. Started at 96 DPI, the program loads
// the icon again at the small-icon size of the taskbar's DPI, hands it over
// (by a modify where the add fails) and destroys the old one once the shell
// holds the new one; the icon the record ends with goes with the program.
// Where Windows cannot tell the taskbar's DPI, the icon stays as it was.
TEST_F(Startup, TaskbarCreatedLoadsTheIconAtTheTaskbarsScaleAndDestroysTheOldOneOnceHeld)
{
    auto dpiForWindow = [](HWND window) -> UINT { return window == kTaskbar ? 144 : 0; };
    auto metricForDpi = [](int index, UINT dpi) -> int {
        return (index == SM_CXSMICON || index == SM_CYSMICON) && dpi == 144 ? 24 : 0;
    };
    enum Entries { none, dpiOnly, both };
    const struct { const char *what; HWND taskbar; Entries entries; BOOL added, modified; } cases[] = {
        {"Windows 10 1607 on, Explorer still running", kTaskbar, both, FALSE, TRUE},
        {"Windows 10 1607 on, Explorer restarted", kTaskbar, both, TRUE, FALSE},
        {"the shell takes neither", kTaskbar, both, FALSE, FALSE},
        {"no taskbar window (Wine)", nullptr, both, TRUE, FALSE},
        {"before Windows 10 1607, Explorer still running", kTaskbar, none, FALSE, TRUE},
        {"GetSystemMetricsForDpi missing", kTaskbar, dpiOnly, TRUE, FALSE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ResetState();
        EXPECT_CALL(win, GetSystemMetrics(SM_CXSMICON)).WillOnce(Return(16));
        EXPECT_CALL(win, GetSystemMetrics(SM_CYSMICON)).WillOnce(Return(16));
        EXPECT_CALL(win, LoadImageW(kInstance, WideEq(u"QZ"), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)).WillOnce(Return(kTrayIcon));
        EXPECT_CALL(win, Shell_NotifyIconW(NIM_ADD, _)).WillOnce(Return(TRUE));
        AddTrayIconWithBalloon(kWindow);
        appState.createdOnce = 1;
        testing::Mock::VerifyAndClearExpectations(&win);

        const bool reloads = c.taskbar != nullptr && c.entries == both, held = c.added || c.modified;
        const HICON shown = reloads ? kTrayIcon24 : kTrayIcon, kept = reloads && held ? kTrayIcon24 : kTrayIcon;
        EXPECT_CALL(win, RegisterWindowMessageA(StrEq("TaskbarCreated"))).WillOnce(Return(kTaskbarCreated));
        {
            InSequence order;
            EXPECT_CALL(win, SendMessageA(kWindow, WM_CREATE, 0, 0)).WillOnce(Invoke([](HWND, UINT, WPARAM, LPARAM) {
                return MainWindowProc(kWindow, WM_CREATE, 0, 0);
            }));
            ExpectCreationSteps(true);
            EXPECT_CALL(win, FindWindowW(WideEq(u"Shell_TrayWnd"), nullptr)).WillOnce(Return(c.taskbar));
            if (c.taskbar != nullptr) {
                EXPECT_CALL(win, GetModuleHandleA(StrEq("user32.dll"))).WillOnce(Return(kUser32));
                EXPECT_CALL(win, GetProcAddress(kUser32, StrEq("GetDpiForWindow")))
                    .WillOnce(Return(c.entries == none ? nullptr : AsEntry(+dpiForWindow)));
                if (c.entries != none)
                    EXPECT_CALL(win, GetProcAddress(kUser32, StrEq("GetSystemMetricsForDpi")))
                        .WillOnce(Return(c.entries == both ? AsEntry(+metricForDpi) : nullptr));
            }
            if (reloads)
                EXPECT_CALL(win, LoadImageW(kInstance, WideEq(u"QZ"), IMAGE_ICON, 24, 24, LR_DEFAULTCOLOR)).WillOnce(Return(kTrayIcon24));
            EXPECT_CALL(win, Shell_NotifyIconW(NIM_ADD, Pointee(Field(&NOTIFYICONDATAW::hIcon, shown)))).WillOnce(Return(c.added));
            if (!c.added)
                EXPECT_CALL(win, Shell_NotifyIconW(NIM_MODIFY, Pointee(Field(&NOTIFYICONDATAW::hIcon, shown))))
                    .WillOnce(Return(c.modified));
            if (reloads)
                EXPECT_CALL(win, DestroyIcon(held ? kTrayIcon : kTrayIcon24)).WillOnce(Return(TRUE));
        }
        EXPECT_EQ(MainWindowProc(kWindow, kTaskbarCreated, 0, 0), 0);
        testing::Mock::VerifyAndClearExpectations(&win);
        EXPECT_EQ(appState.trayIcon.hIcon, kept);
        EXPECT_CALL(win, DestroyIcon(kept)).WillOnce(Return(TRUE));
        ReleaseTrayIcon();
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Startup, OnlyAButtonPressOnTheIconOpensTheMenu)
{
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        EXPECT_CALL(routines, ShowTrayMenu(kWindow));
        EXPECT_EQ(MainWindowProc(kWindow, WM_TRAYICON, 1, mouse), 0);
    }
    for (LPARAM mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
        EXPECT_EQ(MainWindowProc(kWindow, WM_TRAYICON, 1, mouse), 0);
}

// The program is leaving from the first step: a box that the quit breaks
// must find it so.
TEST_F(Startup, DestroyRemovesTheIconAndPostsQuitWithoutTouchingTheFlag)
{
    appState.trayIconShown = 1;
    InSequence order;
    EXPECT_CALL(win, Shell_NotifyIconW(NIM_DELETE, &appState.trayIcon)).WillOnce(Invoke([](DWORD, PNOTIFYICONDATAW icon) {
        EXPECT_EQ(appState.leaving, 1u) << "leaving only after the first step";
        EXPECT_EQ(icon->hWnd, kWindow);
        EXPECT_EQ(icon->uID, 1u);
        return TRUE;
    }));
    EXPECT_CALL(win, PostQuitMessage(0));
    EXPECT_EQ(MainWindowProc(kWindow, WM_DESTROY, IDM_EXIT, 0), 0);
    EXPECT_EQ(appState.trayIconShown, 1u);
}

TEST_F(Startup, ToggleHidesAShownIconAndQuietlyReAddsAHiddenOne)
{
    lstrcpyW(appState.trayIcon.szInfo, u"balloon");
    appState.trayIconShown = 1;
    EXPECT_CALL(win, Shell_NotifyIconW(NIM_DELETE, &appState.trayIcon)).WillOnce(Return(FALSE));
    MainWindowProc(kWindow, WM_HOTKEY, IDM_TOGGLE_TRAY_ICON, 0);
    EXPECT_EQ(appState.trayIconShown, 0u) << "the flag changes whatever the shell answered";
    testing::Mock::VerifyAndClearExpectations(&win);

    NOTIFYICONDATAW added = {};
    ExpectIconAdd(&added);
    MainWindowProc(kWindow, WM_HOTKEY, IDM_TOGGLE_TRAY_ICON, 0);
    EXPECT_EQ(appState.trayIconShown, 1u);
    ExpectQuietRecord(added);
    EXPECT_EQ(Text(added.szInfo), u"balloon") << "the balloon text stays, unshown";
}

static BOOL WINAPI RestrictingSucceeds(DWORD flags)
{
    EXPECT_EQ(flags, (DWORD)LOAD_LIBRARY_SEARCH_SYSTEM32);
    return TRUE;
}

static BOOL WINAPI RestrictingFails(DWORD)
{
    return FALSE;
}

TEST_F(Startup, DllSearchIsLimitedToTheSystemOrAtLeastLosesTheCurrentDirectory)
{
    const HMODULE kernel32 = FakeHandle<HMODULE>(0x7C00);
    const struct {
        const char *name;
        FARPROC entry;
        bool fallsBack;
    } systems[] = {
        {"entry present", AsEntry(RestrictingSucceeds), false},
        {"entry refuses", AsEntry(RestrictingFails), true},
        {"entry missing (Windows 7 without the update)", nullptr, true},
    };
    for (const auto &system : systems) {
        SCOPED_TRACE(system.name);
        InSequence order;
        EXPECT_CALL(win, GetModuleHandleA(StrEq("kernel32.dll"))).WillOnce(Return(kernel32));
        EXPECT_CALL(win, GetProcAddress(kernel32, StrEq("SetDefaultDllDirectories"))).WillOnce(Return(system.entry));
        if (system.fallsBack)
            EXPECT_CALL(win, SetDllDirectoryA(StrEq(""))).WillOnce(Return(TRUE));
        RestrictDllSearchToSystem();
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// The registration outlives its call: the module stays until the window
// ends. Early at logon the session service may not answer yet: the creation
// does not wait for it; a timer on the window tries again, each second for
// a minute, then each 30 s, until ten minutes have passed. Any other refusal
// gives up and frees the module.
TEST_F(Startup, SessionNotificationsRetryForTenMinutesEarlyAtLogonAndEndWithTheWindow)
{
    const HMODULE kWtsapi = FakeHandle<HMODULE>(0x900);
    const DWORD kNever = 0xFFFFFFFF;
    // The service as the timer meets it: RPC_S_INVALID_BINDING before it is
    // up, then its answer (0 registers). Milliseconds since the first try.
    static DWORD now, upAt, answerOnceUp;
    static auto error = [] { return now < upAt ? 1702u : answerOnceUp; };
    auto registerWindow = [](HWND window, DWORD flags) -> BOOL {
        EXPECT_EQ(window, kWindow);
        EXPECT_EQ(flags, 0u) << "NOTIFY_FOR_THIS_SESSION";
        return error() == 0;
    };
    const struct { const char *what; DWORD upAt, answer; bool registered; DWORD lastTryAt; int tries; } cases[] = {
        {"up", 0, 0, true, 0, 1},
        {"up after 1 s", 1000, 0, true, 1000, 2},
        {"up after 3 s", 3000, 0, true, 3000, 4},
        {"refused", 0, 5, false, 0, 1},
        {"refused once up", 1000, 5, false, 1000, 2},
        {"up after 70 s", 70000, 0, true, 90000, 62},
        {"never up", kNever, 0, false, 600000, 79},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        appState.sessionRetries = 0;
        now = 0, upAt = c.upAt, answerOnceUp = c.answer;
        UINT_PTR timer = 0;
        UINT delay;
        int tries = 0;
        DWORD lastTryAt;
        do {
            const bool refused = error() != 0;
            delay = 0;
            InSequence order;
            if (tries > 0)
                EXPECT_CALL(win, KillTimer(kWindow, timer)).WillOnce(Return(TRUE));
            EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
            EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\wtsapi32.dll"))).WillOnce(Return(kWtsapi));
            EXPECT_CALL(win, GetProcAddress(kWtsapi, StrEq("WTSRegisterSessionNotification")))
                .WillOnce(Return(AsEntry(+registerWindow)));
            if (refused) {
                EXPECT_CALL(win, GetLastError()).WillOnce(Return(error()));
                EXPECT_CALL(win, SetTimer(kWindow, _, _, nullptr))
                    .Times(AtMost(1))
                    .WillRepeatedly(DoAll(SaveArg<1>(&timer), SaveArg<2>(&delay), Return(1)));
                EXPECT_CALL(win, FreeLibrary(kWtsapi)).WillOnce(Return(TRUE));
            }
            lastTryAt = now;
            if (tries++ == 0)
                RegisterSessionNotifications(kWindow);
            else
                EXPECT_EQ(MainWindowProc(kWindow, WM_TIMER, timer, 0), 0);
            testing::Mock::VerifyAndClearExpectations(&win);
            EXPECT_EQ(appState.sessionNotifications != NULL, !refused);
            now += delay;
        } while (delay != 0 && tries <= c.tries);  // one try too many ends it too
        EXPECT_EQ(appState.sessionNotifications != NULL, c.registered);
        EXPECT_EQ(lastTryAt, c.lastTryAt);
        EXPECT_EQ(tries, c.tries);
        static bool unregistered;
        unregistered = false;
        if (c.registered) {
            EXPECT_CALL(win, GetProcAddress(kWtsapi, StrEq("WTSUnRegisterSessionNotification")))
                .WillOnce(Return(AsEntry(+[](HWND window) { return unregistered = window == kWindow; })));
            EXPECT_CALL(win, FreeLibrary(kWtsapi)).WillOnce(Return(TRUE));
        }
        UnregisterSessionNotifications(kWindow);
        EXPECT_EQ(unregistered, c.registered) << "each registration needs its unregistration";
        EXPECT_EQ(appState.sessionNotifications, (HMODULE)NULL);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// Windows puts its own ramp back on these; a chosen level is set again, the
// normal level is left to whatever ramp the screen has. Only the retry's
// own timer tries the session registration again: neither another timer
// nor a session change whose code is that timer's number.
TEST_F(Startup, BrightnessIsSetAgainAfterTheSystemResetsTheRampAndOtherMessagesGoOn)
{
    const struct { UINT message; WPARAM wParam; LONG level; bool setAgain; } cases[] = {
        {WM_DISPLAYCHANGE, 32, 252, true},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 252, true},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 252, true},
        {WM_DISPLAYCHANGE, 32, 256, false},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, 252, false},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 252, false},
        {WM_WTSSESSION_CHANGE, 1 /* WTS_CONSOLE_CONNECT */, 252, false},
        {WM_TIMER, SESSION_REGISTRATION_TIMER + 1, 252, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.wParam << " at " << c.level);
        appState.brightnessLevel = c.level;
        InSequence order;
        EXPECT_CALL(win, RegisterWindowMessageA(StrEq("TaskbarCreated"))).WillOnce(Return(kTaskbarCreated));
        if (c.setAgain)
            EXPECT_CALL(routines, ApplyBrightness(c.level)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, DefWindowProcA(kWindow, c.message, c.wParam, 0)).WillOnce(Return(1));
        EXPECT_EQ(MainWindowProc(kWindow, c.message, c.wParam, 0), 1);
        testing::Mock::VerifyAndClearExpectations(&win);
        testing::Mock::VerifyAndClearExpectations(&routines);
    }
}
