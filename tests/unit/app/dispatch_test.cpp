// The command table: every identifier reaches its action with the exact
// calls and arguments, and anything else does nothing.
#include <cstring>
#include <functional>
#include <vector>

#include "app/dispatch.h"
#include "app/main_window.h"
#include "capture/capture_overlay.h"
#include "reminder/reminder_dialog.h"
#include "tests/resolution_presets.h"
#include "tests/unit/app/app_test.h"

namespace {

const LPARAM kLParam = 0x1234;

struct CommandCase {
    WPARAM command;
    std::function<void(FakeWin32 &, FakeRoutines &)> expect;
};

const char16_t kSystemFolder[] = u"C:\\WINDOWS\\system32";
const HMODULE kWinmm = FakeHandle<HMODULE>(0x7700);

const char16_t kWindowsFolder[] = u"C:\\WINDOWS";
const HANDLE kThisProcess = FakeHandle<HANDLE>(0x7701);

// Asked before one of Windows' programs starts; under WOW64 the fake then
// fails the start of a 32-bit copy.
void ExpectWow64(FakeWin32 &win, BOOL wow64, int times = 1)
{
    EXPECT_CALL(win, GetCurrentProcess()).Times(times).WillRepeatedly(Return(kThisProcess));
    EXPECT_CALL(win, IsWow64Process(kThisProcess, _))
        .Times(times)
        .WillRepeatedly(DoAll(SetArgPointee<1>(wow64), Return(TRUE)));
}

// A tool outside WOW64: the programs ask first, .msc and .cpl files do not.
void ExpectTool(FakeWin32 &win, const std::u16string &path)
{
    if (path.find(u".exe") != std::u16string::npos)
        ExpectWow64(win, FALSE);
    if (path.find(u"system32") != std::u16string::npos)
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kSystemFolder));
    else
        EXPECT_CALL(win, GetWindowsDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kWindowsFolder));
    EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(path), nullptr, nullptr, SW_SHOWNORMAL));
}

void ExpectLock(FakeWin32 &win)
{
    ExpectWow64(win, FALSE);
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kSystemFolder));
    EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(u"C:\\WINDOWS\\system32\\rundll32.exe"),
                                   WideEq(u"user32.dll,LockWorkStation"), nullptr, SW_SHOWNORMAL));
}

// The system's winmm.dll, loaded for the one MCI command and freed.
void ExpectCdCommand(FakeWin32 &win, const char *command)
{
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kSystemFolder));
    EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\winmm.dll"))).WillOnce(Return(kWinmm));
    EXPECT_CALL(win, GetProcAddress(kWinmm, StrEq("mciSendStringA"))).WillOnce(Return(AsEntry(mciSendStringA)));
    EXPECT_CALL(win, mciSendStringA(StrEq(command), nullptr, 0, nullptr));
    EXPECT_CALL(win, FreeLibrary(kWinmm)).WillOnce(Return(TRUE));
}

// The page opens maximised, only once the box is closed.
void ExpectAbout(FakeWin32 &win, int answer, bool opens)
{
    EXPECT_CALL(win, MessageBoxW(nullptr,
                                 WideEq(u"版本：v1.5\r\n时间：2009年10月16日\r\n在随后打开的网页里，您可以检查更新情况。　　　"),
                                 WideEq(u"Ombrivale"), MB_OK))
        .WillOnce(Return(answer));
    if (opens)
        EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(u"https://www.example.com/?page_id=425"), nullptr,
                                       nullptr, SW_SHOWMAXIMIZED));
}

void ExpectExitQuestion(FakeWin32 &win, int answer, bool ends)
{
    EXPECT_CALL(win, MessageBoxW(nullptr, WideEq(u"您确认退出程序？　　"), WideEq(u"Ombrivale"), 0x24))
        .WillOnce(Return(answer));
    if (ends)
        EXPECT_CALL(win, SendMessageA(kWindow, WM_DESTROY, IDM_EXIT, kLParam));
}

std::vector<CommandCase> CommandTable()
{
    using W = FakeWin32;
    using R = FakeRoutines;
    std::vector<CommandCase> table = {
        {IDM_VOLUME_UP, [](W &w, R &) { EXPECT_CALL(w, SendMessageA(kWindow, WM_APPCOMMAND, 0x30292, 0xA0000)); }},
        {IDM_VOLUME_DOWN, [](W &w, R &) { EXPECT_CALL(w, SendMessageA(kWindow, WM_APPCOMMAND, 0x30292, 0x90000)); }},
        {IDM_MUTE, [](W &w, R &) { EXPECT_CALL(w, SendMessageA(kWindow, WM_APPCOMMAND, 0x200EB0, 0x80000)); }},
        {IDM_BRIGHTNESS_UP, [](W &, R &r) { EXPECT_CALL(r, ApplyBrightness(258)).WillOnce(Return(TRUE)); }},
        {IDM_BRIGHTNESS_DOWN, [](W &, R &r) { EXPECT_CALL(r, ApplyBrightness(254)).WillOnce(Return(TRUE)); }},
        {IDM_BRIGHTNESS_DEFAULT, [](W &, R &r) { EXPECT_CALL(r, ApplyBrightness(256)).WillOnce(Return(TRUE)); }},
        {IDM_TOOL_REGEDIT, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\regedit.exe"); }},
        {IDM_TOOL_APPWIZ, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\appwiz.cpl"); }},
        {IDM_TOOL_GPEDIT, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\gpedit.msc"); }},
        {IDM_TOOL_CMD, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\cmd.exe"); }},
        {IDM_TOOL_TASKMGR, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\taskmgr.exe"); }},
        {IDM_TOOL_DEVMGMT, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\devmgmt.msc"); }},
        {IDM_TOOL_CALC, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\calc.exe"); }},
        {IDM_TOOL_MSINFO, [](W &w, R &) { ExpectTool(w, u"C:\\WINDOWS\\system32\\msinfo32.exe"); }},
        {IDM_CD_OPEN, [](W &w, R &) { ExpectCdCommand(w, "set CDAudio door open"); }},
        {IDM_CD_CLOSE, [](W &w, R &) { ExpectCdCommand(w, "set CDAudio door closed"); }},
        {IDM_SHOW_DESKTOP, [](W &w, R &) {
             // The Windows key comes up before D.
             EXPECT_CALL(w, keybd_event(VK_LWIN, 0, 0, 0));
             EXPECT_CALL(w, keybd_event(0x44, 0, 0, 0));
             EXPECT_CALL(w, keybd_event(VK_LWIN, 0, KEYEVENTF_KEYUP, 0));
             EXPECT_CALL(w, keybd_event(0x44, 0, KEYEVENTF_KEYUP, 0));
         }},
        {IDM_SCREENSAVER, [](W &w, R &) {
             EXPECT_CALL(w, Sleep(200));
             // Bounded, and skipping hung windows: one of them must not hold the program.
             EXPECT_CALL(w, SendMessageTimeoutA(HWND_BROADCAST, WM_SYSCOMMAND, SC_SCREENSAVE, 0, SMTO_ABORTIFHUNG,
                                                AllOf(testing::Ge(1000u), testing::Le(5000u)), _));
         }},
        {IDM_REBUILD_ICON_CACHE, [](W &, R &r) { EXPECT_CALL(r, RefreshIconMetrics()); }},
        {IDM_MONITOR_OFF, [](W &w, R &r) {
             // The request goes to this window; the lock follows every time.
             EXPECT_CALL(r, TurnDisplayOff(kWindow)).WillOnce(Return(TRUE));
             ExpectLock(w);
         }},
        {IDM_SHUTDOWN, [](W &, R &r) { EXPECT_CALL(r, PerformPowerAction(1)); }},
        {IDM_RESTART, [](W &, R &r) { EXPECT_CALL(r, PerformPowerAction(2)); }},
        {IDM_LOGOFF, [](W &, R &r) { EXPECT_CALL(r, PerformPowerAction(3)); }},
        {IDM_SLEEP, [](W &, R &r) { EXPECT_CALL(r, PerformPowerAction(4)); }},
        {IDM_HIBERNATE, [](W &, R &r) { EXPECT_CALL(r, PerformPowerAction(5)); }},
        {IDM_FORCE_SHUTDOWN, [](W &, R &r) { EXPECT_CALL(r, ForcedShutdown(2)); }},
        {IDM_FORCE_RESTART, [](W &, R &r) { EXPECT_CALL(r, ForcedShutdown(1)); }},
        {IDM_ABOUT, [](W &w, R &) { ExpectAbout(w, IDOK, true); }},
        {IDM_AUTOSTART, [](W &, R &r) { EXPECT_CALL(r, ToggleAutostart()); }},
        {IDM_SCREENSHOT, [](W &w, R &) {
             EXPECT_CALL(w, Sleep(300));
             EXPECT_CALL(w, DialogBoxParamW(kInstance, MAKEINTRESOURCEW(101), nullptr, CaptureOverlayProc, 0));
         }},
        {IDM_REMINDER, [](W &w, R &) {
             EXPECT_CALL(w, DialogBoxParamW(kInstance, MAKEINTRESOURCEW(102), nullptr, ReminderDialogProc, 0));
         }},
        {IDM_LOCK, [](W &w, R &) { ExpectLock(w); }},
        {IDM_HOTKEY_SETTINGS, [](W &, R &r) { EXPECT_CALL(r, OpenHotkeySettings(kWindow)); }},
    };
    for (const ResolutionPreset &preset : kResolutionPresets) {
        DWORD width = preset.width, height = preset.height;
        table.push_back({preset.command, [=](W &, R &r) { EXPECT_CALL(r, SetResolution(width, height)); }});
    }
    return table;
}

using Dispatch = AppTest;

}  // namespace

TEST_F(Dispatch, EveryCommandMakesExactlyItsCallsAndReturnsZero)
{
    for (const CommandCase &entry : CommandTable()) {
        for (UINT message : {WM_COMMAND, WM_HOTKEY}) {
            SCOPED_TRACE(testing::Message() << "command " << entry.command << " by message " << message);
            ResetState();
            {
                InSequence order;
                entry.expect(win, routines);
            }
            EXPECT_EQ(MainWindowProc(kWindow, message, entry.command, kLParam), 0);
            testing::Mock::VerifyAndClearExpectations(&win);
            testing::Mock::VerifyAndClearExpectations(&routines);
        }
    }
}

TEST_F(Dispatch, IdentifiersOutsideTheTableDoNothingAndReturnZero)
{
    // StrictMock fakes: any call, DefWindowProcA included, fails the test.
    for (WPARAM command : {WPARAM(0), WPARAM(10000), WPARAM(10039), WPARAM(10043), WPARAM(65535),
                           WPARAM(0x10000 | IDM_ABOUT), WPARAM(0x10000 | IDM_EXIT)}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(MainWindowProc(kWindow, WM_COMMAND, command, 0), 0);
        EXPECT_EQ(MainWindowProc(kWindow, WM_HOTKEY, command, 0), 0);
    }
}

TEST_F(Dispatch, MuteFlipsItsFlagBeforeEachMessage)
{
    // The flag seen at each message is the new one: flipped first, then sent.
    DWORD mutedAtMessage = 99;
    EXPECT_CALL(win, SendMessageA(kWindow, WM_APPCOMMAND, 0x200EB0, 0x80000))
        .Times(3)
        .WillRepeatedly(Invoke([&](HWND, UINT, WPARAM, LPARAM) {
            mutedAtMessage = appState.muted;
            return 0;
        }));
    DispatchCommand(kWindow, IDM_MUTE, 0);
    EXPECT_EQ(appState.muted, 1u);
    EXPECT_EQ(mutedAtMessage, 1u);
    DispatchCommand(kWindow, IDM_MUTE, 0);
    EXPECT_EQ(appState.muted, 0u);
    appState.muted = 5;  // anything but 0 counts as muted
    DispatchCommand(kWindow, IDM_MUTE, 0);
    EXPECT_EQ(appState.muted, 0u);
}

TEST_F(Dispatch, BrightnessStepsByTwoWithoutBoundsAndDefaultRestores)
{
    {
        InSequence order;
        for (LONG level = 254; level >= 236; level -= 2)
            EXPECT_CALL(routines, ApplyBrightness(level)).WillOnce(Return(TRUE));
        EXPECT_CALL(routines, ApplyBrightness(256)).WillOnce(Return(TRUE));
    }
    for (int step = 0; step < 10; ++step)
        DispatchCommand(kWindow, IDM_BRIGHTNESS_DOWN, 0);
    EXPECT_EQ(appState.brightnessLevel, 236);
    DispatchCommand(kWindow, IDM_BRIGHTNESS_DEFAULT, 0);
    EXPECT_EQ(appState.brightnessLevel, 256);

    appState.brightnessLevel = 0;
    EXPECT_CALL(routines, ApplyBrightness(-2)).WillOnce(Return(TRUE));
    DispatchCommand(kWindow, IDM_BRIGHTNESS_DOWN, 0);
    EXPECT_EQ(appState.brightnessLevel, -2);
}

// A refused ramp leaves the screen as it was, so the level (and with it the
// menu's check mark) stays too; the opposite key then works at once.
TEST_F(Dispatch, RefusedRampLeavesTheLevel)
{
    {
        InSequence order;
        EXPECT_CALL(routines, ApplyBrightness(258)).WillOnce(Return(TRUE));
        EXPECT_CALL(routines, ApplyBrightness(260)).Times(3).WillRepeatedly(Return(FALSE));
        EXPECT_CALL(routines, ApplyBrightness(256)).WillOnce(Return(TRUE));
        EXPECT_CALL(routines, ApplyBrightness(256)).WillOnce(Return(FALSE));
    }
    for (int step = 0; step < 4; ++step)
        DispatchCommand(kWindow, IDM_BRIGHTNESS_UP, 0);
    EXPECT_EQ(appState.brightnessLevel, 258);
    DispatchCommand(kWindow, IDM_BRIGHTNESS_DOWN, 0);
    EXPECT_EQ(appState.brightnessLevel, 256);
    appState.brightnessLevel = 300;
    DispatchCommand(kWindow, IDM_BRIGHTNESS_DEFAULT, 0);
    EXPECT_EQ(appState.brightnessLevel, 300) << "a refused default ramp is not the default";
}

// One reminder dialog at a time: an open one comes to the front, and an
// armed reminder's entry asks whether to cancel it.
TEST_F(Dispatch, ReminderCommandOpensOnlyOneDialog)
{
    const HWND open = FakeHandle<HWND>(0x30);
    appState.reminderDialog = open;
    EXPECT_CALL(win, SetForegroundWindow(open)).WillOnce(Return(TRUE));
    DispatchCommand(kWindow, IDM_REMINDER, 0);
    appState.reminderArmed = 1;
    EXPECT_CALL(routines, AskToCancelReminder());
    DispatchCommand(kWindow, IDM_REMINDER, 0);
}

// A box leads on only from an answer the user gave: one that returned 0 was
// never seen, and once the program is leaving nothing it offered runs.
TEST_F(Dispatch, OnlyAnAnswerGivenBeforeLeavingLeadsOnFromABox)
{
    const struct { WPARAM command; int answer; DWORD leaving; bool leadsOn; } cases[] = {
        {IDM_EXIT, IDNO, 0, false}, {IDM_EXIT, IDCANCEL, 0, false}, {IDM_EXIT, 0, 0, false}, {IDM_EXIT, IDYES, 0, true},
        {IDM_ABOUT, IDOK, 0, true}, {IDM_ABOUT, 0, 0, false},       {IDM_ABOUT, IDOK, 1, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << ", answer " << c.answer << ", leaving " << c.leaving);
        appState.leaving = c.leaving;
        InSequence order;
        if (c.command == IDM_EXIT)
            ExpectExitQuestion(win, c.answer, c.leadsOn);
        else
            ExpectAbout(win, c.answer, c.leadsOn);
        DispatchCommand(kWindow, c.command, kLParam);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Dispatch, ScreenshotPausesThenRefusesWhileAnOverlayIsOpen)
{
    appState.captureActive = 1;
    EXPECT_CALL(win, Sleep(300));
    DispatchCommand(kWindow, IDM_SCREENSHOT, 0);
}

TEST_F(Dispatch, NoToolStartsWithoutItsFullPath)
{
    // 251 characters: with "\\calc.exe" and its zero, one past MAX_PATH.
    // Characters of any script count one each, as a Windows folder may hold them.
    const std::u16string tooLong = u"C:\\" + std::u16string(MAX_PATH - 12, u'视');
    // Unknown, too long by one, larger than the buffer (the size it needs comes back).
    for (const std::u16string &folder : {std::u16string(), tooLong, std::u16string(MAX_PATH, u'y')}) {
        SCOPED_TRACE(folder.size());
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).Times(3).WillRepeatedly(ReturnFolder(folder));
        EXPECT_CALL(win, GetWindowsDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(folder));
        ExpectWow64(win, FALSE, 3);  // the calculator, the lock's rundll32 and the registry editor
        for (WPARAM command : {IDM_TOOL_CALC, IDM_LOCK, IDM_CD_OPEN, IDM_TOOL_REGEDIT})
            DispatchCommand(kWindow, command, 0);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
    const std::u16string fits = tooLong.substr(0, tooLong.size() - 1);
    ExpectWow64(win, FALSE);
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(fits));
    EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(fits + u"\\calc.exe"), nullptr, nullptr, SW_SHOWNORMAL));
    DispatchCommand(kWindow, IDM_TOOL_CALC, 0);
}

// A text argument, or none.
template <class Text = LPCWSTR>
::testing::Matcher<Text> TextOrNull(const char16_t *text)
{
    return text != nullptr ? ::testing::Matcher<Text>(WideEq(text)) : ::testing::Matcher<Text>(IsNull());
}

// The i686 build on 64-bit Windows starts the native copy of every program
// of Windows. Where the Sysnative alias exists, a program that asks for no
// elevation comes from it; before Vista, and for a program that asks an
// administrator for elevation (UAC's 64-bit service cannot use the alias),
// it starts with redirection off around CreateProcess, and when that is
// refused for want of elevation, ShellExecute of its own path shows the
// prompt, and then Windows starts the native program.
TEST_F(Dispatch, UnderWow64WindowsProgramsStartNative)
{
    enum How { kShell, kStarted, kElevated, kRefused, kNothing };
    const DWORD xp64 = kFakeXp64, win7 = kFakeWindows7;
    const struct {
        const char *what;
        WPARAM command;
        DWORD version;
        bool prompts;  // an administrator whom UAC asks
        const char16_t *path;
        How how;
    } starts[] = {
        {"command prompt, Windows 7", IDM_TOOL_CMD, win7, false, u"C:\\WINDOWS\\Sysnative\\cmd.exe", kShell},
        {"lock, administrator", IDM_LOCK, win7, true, u"C:\\WINDOWS\\Sysnative\\rundll32.exe", kShell},
        {"command prompt, XP x64: no alias", IDM_TOOL_CMD, xp64, false, u"C:\\WINDOWS\\system32\\cmd.exe", kStarted},
        {"lock, XP x64: no alias", IDM_LOCK, xp64, false, u"C:\\WINDOWS\\system32\\rundll32.exe", kStarted},
        {"task manager, standard user", IDM_TOOL_TASKMGR, win7, false, u"C:\\WINDOWS\\system32\\taskmgr.exe", kStarted},
        {"task manager, administrator", IDM_TOOL_TASKMGR, win7, true, u"C:\\WINDOWS\\system32\\taskmgr.exe", kElevated},
        {"registry editor, standard user", IDM_TOOL_REGEDIT, win7, false, u"C:\\WINDOWS\\regedit.exe", kStarted},
        {"registry editor, administrator", IDM_TOOL_REGEDIT, win7, true, u"C:\\WINDOWS\\regedit.exe", kElevated},
        {"registry editor, refused otherwise", IDM_TOOL_REGEDIT, win7, false, u"C:\\WINDOWS\\regedit.exe", kRefused},
        {"Windows folder unreadable", IDM_TOOL_CMD, win7, false, nullptr, kNothing},
        {"Windows folder unreadable, registry editor", IDM_TOOL_REGEDIT, win7, false, nullptr, kNothing},
    };
    const HMODULE kernel32 = FakeHandle<HMODULE>(0x7702);
    const PROCESS_INFORMATION started = {FakeHandle<HANDLE>(0x7703), FakeHandle<HANDLE>(0x7704), 1, 2};
    for (const auto &start : starts) {
        SCOPED_TRACE(start.what);
        const bool lock = start.command == IDM_LOCK;
        const char16_t *parameters = lock ? u"user32.dll,LockWorkStation" : nullptr;
        // How the folders and entries are found is not the point: what starts is.
        FakeWow64Windows(start.version, start.prompts);
        EXPECT_CALL(win, GetCurrentProcess()).WillRepeatedly(Return(kThisProcess));
        EXPECT_CALL(win, IsWow64Process(kThisProcess, _)).WillRepeatedly(DoAll(SetArgPointee<1>(TRUE), Return(TRUE)));
        EXPECT_CALL(win, GetVersion()).Times(AnyNumber());
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillRepeatedly(ReturnFolder(kSystemFolder));
        if (start.path != nullptr)
            EXPECT_CALL(win, GetWindowsDirectoryW(_, MAX_PATH)).WillRepeatedly(ReturnFolder(kWindowsFolder));
        else  // failed, the buffer left as it was
            EXPECT_CALL(win, GetWindowsDirectoryW(_, MAX_PATH)).WillRepeatedly(Return(0u));
        EXPECT_CALL(win, GetModuleHandleA(StrEq("kernel32.dll"))).WillRepeatedly(Return(kernel32));
        EXPECT_CALL(win, GetProcAddress(kernel32, StrEq("Wow64DisableWow64FsRedirection")))
            .WillRepeatedly(Return(AsEntry(FakeWow64DisableRedirection)));
        EXPECT_CALL(win, GetProcAddress(kernel32, StrEq("Wow64RevertWow64FsRedirection")))
            .WillRepeatedly(Return(AsEntry(FakeWow64RevertRedirection)));
        InSequence order;
        if (start.how == kShell)
            EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(start.path), TextOrNull(parameters), nullptr,
                                           SW_SHOWNORMAL));
        if (start.how >= kStarted && start.how <= kRefused) {
            // The program's own name first on its command line, as a shell would put it.
            const char16_t *commandLine = lock ? u"rundll32.exe user32.dll,LockWorkStation" : nullptr;
            EXPECT_CALL(win, CreateProcessW(WideEq(start.path), TextOrNull<LPWSTR>(commandLine), nullptr, nullptr, FALSE,
                                            0u, nullptr, nullptr, _, _))
                .WillOnce(DoAll(SetArgPointee<9>(started), Return(start.how == kStarted)));
        }
        if (start.how == kStarted) {
            EXPECT_CALL(win, CloseHandle(started.hThread)).WillOnce(Return(TRUE));
            EXPECT_CALL(win, CloseHandle(started.hProcess)).WillOnce(Return(TRUE));
        }
        const DWORD kElevationRequired = 740;
        if (start.how == kElevated || start.how == kRefused)
            EXPECT_CALL(win, GetLastError())
                .WillOnce(Return(start.how == kElevated ? kElevationRequired : ERROR_FILE_NOT_FOUND));
        if (start.how == kElevated)
            EXPECT_CALL(win, ShellExecuteW(nullptr, nullptr, WideEq(start.path), nullptr, nullptr, SW_SHOWNORMAL));
        DispatchCommand(kWindow, start.command, 0);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Dispatch, CdCommandWithoutWinmmOrItsEntryDoesNothing)
{
    InSequence order;
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kSystemFolder));
    EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\winmm.dll"))).WillOnce(Return(nullptr));
    DispatchCommand(kWindow, IDM_CD_OPEN, 0);
    EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(kSystemFolder));
    EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\winmm.dll"))).WillOnce(Return(kWinmm));
    EXPECT_CALL(win, GetProcAddress(kWinmm, StrEq("mciSendStringA"))).WillOnce(Return(nullptr));
    EXPECT_CALL(win, FreeLibrary(kWinmm)).WillOnce(Return(TRUE));
    DispatchCommand(kWindow, IDM_CD_CLOSE, 0);
}
