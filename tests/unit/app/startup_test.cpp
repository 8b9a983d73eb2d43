// Start-up, the main window's messages and the tray icon record.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "app/app_main.h"
#include "app/dll_search.h"
#include "app/main_window.h"
#include "app/session_notifications.h"
#include "tests/unit/app/app_test.h"

namespace {

const HWND kOtherCopy = FakeHandle<HWND>(0x200);
const HICON kIcon = FakeHandle<HICON>(0x500);
const HICON kTrayIcon = FakeHandle<HICON>(0x501);
const char16_t kArmedTip[] = u"Ombrivale\n定时提醒：10:06";
const HCURSOR kArrow = FakeHandle<HCURSOR>(0x600);
const UINT kTaskbarCreated = 0xC0DE;
const HANDLE kMutex = FakeHandle<HANDLE>(0x700);
const HMODULE kUser32 = FakeHandle<HMODULE>(0x800);

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
        // As XP answers: a path longer than the buffer fills it, with no zero.
        EXPECT_CALL(win, GetModuleFileNameW(nullptr, appState.modulePath, 260))
            .WillOnce(Invoke([this](HMODULE, LPWSTR path, DWORD size) {
                DWORD length = (DWORD)std::min<size_t>(programPath.size() + 1, size);
                std::char_traits<char16_t>::copy(path, programPath.c_str(), length);
                return length == size ? size : length - 1;
            }));
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
            ExpectIconAdd(&added);
        }
        programPath = u"C:\\" + std::u16string(300, u'x') + u"\\o.exe";
        EXPECT_EQ(MainWindowProc(kWindow, kTaskbarCreated, 7, 8), 0);
        ExpectQuietRecord(added);
        EXPECT_EQ(appState.trayIconShown, 1u) << "a later creation re-adds even a hidden icon";
        EXPECT_EQ(Text(appState.modulePath), programPath.substr(0, MAX_PATH - 1)) << "a cut path ends in the buffer";
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

TEST_F(Startup, OnlyAButtonPressOnTheIconOpensTheMenu)
{
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        EXPECT_CALL(routines, ShowTrayMenu(kWindow));
        EXPECT_EQ(MainWindowProc(kWindow, WM_TRAYICON, 1, mouse), 0);
    }
    for (LPARAM mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE})
        EXPECT_EQ(MainWindowProc(kWindow, WM_TRAYICON, 1, mouse), 0);
}

TEST_F(Startup, DestroyRemovesTheIconAndPostsQuitWithoutTouchingTheFlag)
{
    appState.trayIconShown = 1;
    InSequence order;
    EXPECT_CALL(win, Shell_NotifyIconW(NIM_DELETE, &appState.trayIcon)).WillOnce(Invoke([](DWORD, PNOTIFYICONDATAW icon) {
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
// does not wait for it; a timer on the window tries again, as often as it
// takes. Any other refusal gives up and frees the module.
TEST_F(Startup, SessionNotificationsRetryEarlyAtLogonAndEndWithTheWindow)
{
    const HMODULE kWtsapi = FakeHandle<HMODULE>(0x900);
    static std::vector<DWORD> answers;  // the error of each refusal; 0 registers
    auto registerWindow = [](HWND window, DWORD flags) -> BOOL {
        EXPECT_EQ(window, kWindow);
        EXPECT_EQ(flags, 0u) << "NOTIFY_FOR_THIS_SESSION";
        DWORD error = answers.front();
        answers.erase(answers.begin());
        return error == 0;
    };
    const struct { std::vector<DWORD> answers; bool registered; } cases[] = {
        {{0}, true}, {{1702, 0}, true}, {{1702, 1702, 1702, 0}, true}, {{5}, false}, {{1702, 5}, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answers.size());
        answers = c.answers;
        UINT_PTR timer = 0;
        for (size_t attempt = 0; attempt < c.answers.size(); attempt++) {
            const DWORD answer = c.answers[attempt];
            InSequence order;
            if (attempt > 0)
                EXPECT_CALL(win, KillTimer(kWindow, timer)).WillOnce(Return(TRUE));
            EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
            EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\wtsapi32.dll"))).WillOnce(Return(kWtsapi));
            EXPECT_CALL(win, GetProcAddress(kWtsapi, StrEq("WTSRegisterSessionNotification")))
                .WillOnce(Return(AsEntry(+registerWindow)));
            if (answer != 0) {
                EXPECT_CALL(win, GetLastError()).WillOnce(Return(answer));
                if (answer == 1702)  // RPC_S_INVALID_BINDING: the service is not up yet
                    EXPECT_CALL(win, SetTimer(kWindow, _, _, nullptr)).WillOnce(DoAll(SaveArg<1>(&timer), Return(1)));
                EXPECT_CALL(win, FreeLibrary(kWtsapi)).WillOnce(Return(TRUE));
            }
            if (attempt == 0)
                RegisterSessionNotifications(kWindow);
            else
                EXPECT_EQ(MainWindowProc(kWindow, WM_TIMER, timer, 0), 0);
            testing::Mock::VerifyAndClearExpectations(&win);
            EXPECT_EQ(appState.sessionNotifications != NULL, c.registered && answer == 0);
        }
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
// normal level is left to whatever ramp the screen has.
TEST_F(Startup, BrightnessIsSetAgainAfterTheSystemResetsTheRamp)
{
    const struct { UINT message; WPARAM wParam; LONG level; bool setAgain; } cases[] = {
        {WM_DISPLAYCHANGE, 32, 252, true},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 252, true},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 252, true},
        {WM_DISPLAYCHANGE, 32, 256, false},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, 252, false},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 252, false},
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
