// Start-up, single instance, hotkeys, tray icon, exit: what a user sees of
// the resident program.
#include <map>

#include <commctrl.h>

#include "harness.h"

static const wchar_t kCaption[] = L"Ombrivale";
static const wchar_t kSecondCopyWarning[] = L"你不用开很多次的，已经够啦！";
static const wchar_t kHotkeyWarning[] = L"注册热键失败，部分功能你将无法正常使用。";
static const wchar_t kExitQuestion[] = L"您确认退出程序？　　";

static const wchar_t kHotkeysKey[] = L"Software\\Ombrivale\\Hotkeys";

// The user's hotkeys are read at start-up; no test leaves any behind.
class Startup : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, kHotkeysKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ombrivale");
    }

    static void SetHotkey(const wchar_t *name, DWORD combination)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kHotkeysKey, name, REG_DWORD, &combination, sizeof combination),
                  ERROR_SUCCESS);
    }

    // As another program meets a combination: free when it may register it.
    static bool IsFree(UINT modifiers, UINT key)
    {
        if (!RegisterHotKey(NULL, 0x7000, modifiers, key))
            return false;
        UnregisterHotKey(NULL, 0x7000);
        return true;
    }
};

TEST_F(Startup, RunsHiddenWithTrayIconAndBalloon)
{
    program = StartProgram();
    ASSERT_NE(program.window, (HWND)NULL);
    EXPECT_FALSE(IsWindowVisible(program.window)) << "the main window must never be shown";
    EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(program.window); })) << "no tray icon";
    EXPECT_TRUE(WaitUntil([] { return BalloonVisible(); })) << "no start-up balloon";
    EXPECT_EQ(CountDialogs(program.id), 0) << "start-up showed a box";
}

TEST_F(Startup, SecondCopyWarnsAndLeavesFirstRunning)
{
    program = StartProgram();
    Program second = Launch();
    EXPECT_NE(WaitForDialog(second.id, kCaption), (HWND)NULL);
    EXPECT_EQ(MainWindowOf(second.id), (HWND)NULL) << "the second copy made a window";
    EXPECT_TRUE(AnswerBox(second.id, kCaption, kSecondCopyWarning, IDOK));
    EXPECT_EQ(WaitForExit(second), 0u);
    StopProgram(second);
    EXPECT_TRUE(IsRunning(program));
    EXPECT_TRUE(TrayIconExists(program.window));
}

static LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A copy started at the same instant holds the mutex before its window exists.
TEST_F(Startup, AnyWindowWithTheTitleOrTheMutexBlocksStartUp)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = L"SomeOtherClass";
    RegisterClassW(&windowClass);
    HWND impostor = CreateWindowExW(0, L"SomeOtherClass", L"KORVANFOREVER", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                    windowClass.hInstance, NULL);
    ASSERT_NE(impostor, (HWND)NULL);
    program = Launch();
    ASSERT_TRUE(AnswerBox(program.id, kCaption, kSecondCopyWarning, IDOK));
    EXPECT_EQ(WaitForExit(program), 0u);
    DestroyWindow(impostor);

    HANDLE mutex = CreateMutexW(NULL, FALSE, L"Ombrivale.SingleInstance");
    ASSERT_NE(mutex, (HANDLE)NULL);
    program = Launch();
    EXPECT_TRUE(AnswerBox(program.id, kCaption, kSecondCopyWarning, IDOK)) << "the mutex did not block start-up";
    EXPECT_EQ(WaitForExit(program), 0u);
    CloseHandle(mutex);
}

TEST_F(Startup, HotkeyHeldElsewhereGivesOneWarning)
{
    // Shift+End and Ctrl+F3 belong to this test process while the program
    // starts: the one warning names both, in the order they are registered.
    ASSERT_TRUE(RegisterHotKey(NULL, 1, MOD_CONTROL, VK_F3));
    ASSERT_TRUE(RegisterHotKey(NULL, 2, MOD_SHIFT, VK_END));
    program = Launch();
    bool warned = AnswerBox(program.id, kCaption,
                            std::wstring(kHotkeyWarning) + L"\r\n\r\n以下热键未能注册（可改用托盘菜单）：\r\n"
                                                           L"退出程序（Shift+End）\r\n屏幕截图（Ctrl+F3）",
                            IDOK);
    UnregisterHotKey(NULL, 1);
    UnregisterHotKey(NULL, 2);
    ASSERT_TRUE(warned);
    EXPECT_TRUE(WaitUntil([&] { return (program.window = MainWindowOf(program.id)) != NULL; }));
    EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(program.window); })) << "start-up stopped at the warning";
    EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 1000)) << "more than one warning";
}

TEST_F(Startup, HotkeyTurnedOffInTheRegistryLeavesItsCombinationFree)
{
    SetHotkey(L"Exit", 0);
    program = StartProgram();
    EXPECT_TRUE(IsFree(MOD_SHIFT, VK_END)) << "Shift+End is still registered";
    EXPECT_FALSE(IsFree(MOD_CONTROL, VK_F3)) << "the hotkeys left on are not registered";
    EXPECT_EQ(CountDialogs(program.id), 0) << "a hotkey turned off gave a warning";
}

// Ctrl+Alt+Q (0x00510003) from the keyboard asks to quit; Shift+End is free.
TEST_F(Startup, ChangedHotkeyRunsItsCommandFromTheKeyboardAndFreesTheOldCombination)
{
    SetHotkey(L"Exit", 0x00510003);
    program = StartProgram();
    EXPECT_FALSE(IsFree(MOD_CONTROL | MOD_ALT, 'Q')) << "Ctrl+Alt+Q is not registered";
    EXPECT_TRUE(IsFree(MOD_SHIFT, VK_END)) << "the old combination is still registered";
    const BYTE keys[] = {VK_CONTROL, VK_MENU, 'Q'};
    for (BYTE key : keys)
        keybd_event(key, 0, 0, 0);
    for (int i = 2; i >= 0; i--)
        keybd_event(keys[i], 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(AnswerBox(program.id, kCaption, kExitQuestion, IDNO)) << "Ctrl+Alt+Q did not ask to quit";
    EXPECT_TRUE(IsRunning(program));
}

TEST_F(Startup, ExitAsksAndOnlyYesEndsWithCodeZero)
{
    program = StartProgram();
    SendCommand(program, IDM_EXIT);
    ASSERT_TRUE(AnswerBox(program.id, kCaption, kExitQuestion, IDNO));
    EXPECT_FALSE(WaitUntil([&] { return !IsRunning(program); }, 1000)) << "No ended the program";
    EXPECT_TRUE(TrayIconExists(program.window));

    HWND window = program.window;
    SendCommand(program, IDM_EXIT);
    ASSERT_TRUE(AnswerBox(program.id, kCaption, kExitQuestion, IDYES));
    EXPECT_EQ(WaitForExit(program), 0u);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon stayed after exit";
}

TEST_F(Startup, AboutShowsVersionText)
{
    program = StartProgram();
    SendCommand(program, IDM_ABOUT);
    AnswerBox(program.id, kCaption, L"版本：v1.5\r\n时间：2009年10月16日\r\n在随后打开的网页里，您可以检查更新情况。　　　", IDOK);
}

TEST_F(Startup, UnknownCommandsOpenNothing)
{
    program = StartProgram();
    SendCommand(program, 10039);
    SendCommand(program, 65535);
    SendCommand(program, MAKEWPARAM(IDM_ABOUT, 1));  // a notification code, not a menu choice
    // A box would come within a few milliseconds; give it ample time.
    EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 1500));
    EXPECT_TRUE(IsRunning(program));
}

// Windows takes a DLL that is no KnownDLL, winmm.dll among them, from the
// program's folder first. Wine prefers its own winmm unless told to take a
// native copy first, as Windows does: the copy runs with that override.
TEST_F(Startup, WinmmPlantedBesideTheProgramIsNeverLoaded)
{
    std::wstring folder = TempFolder() + L"ombrivale_planted\\";
    CreateDirectoryW(folder.c_str(), NULL);
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), (folder + L"Ombrivale.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(PlantedPath(L"winmm.dll").c_str(), (folder + L"winmm.dll").c_str(), FALSE));
    static const wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\Ombrivale.exe\\DllOverrides";
    static const wchar_t kNativeFirst[] = L"native,builtin";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, L"winmm", REG_SZ, kNativeFirst, sizeof kNativeFirst),
              ERROR_SUCCESS);
    program = StartProgram(folder + L"Ombrivale.exe");
    // Sent, so that both commands are done when the check below runs.
    for (WPARAM command : {IDM_CD_OPEN, IDM_CD_CLOSE})
        EXPECT_TRUE(SendMessageTimeoutW(program.window, WM_COMMAND, command, 0, SMTO_NORMAL, 10000, NULL));
    EXPECT_FALSE(FileExists(folder + L"winmm.dll.ran")) << "the planted winmm.dll was loaded";
    EXPECT_TRUE(IsRunning(program));
    StopProgram(program);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Ombrivale.exe");
    for (const wchar_t *name : {L"Ombrivale.exe", L"winmm.dll", L"winmm.dll.ran"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(Startup, TaskbarRestartReAddsHiddenIconWithoutBalloon)
{
    program = StartProgram();
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(program.window); }));
    SendCommand(program, IDM_TOGGLE_TRAY_ICON);
    ASSERT_TRUE(WaitUntil([&] { return !TrayIconExists(program.window); })) << "the toggle did not hide the icon";
    ASSERT_TRUE(WaitUntil([] { return !BalloonVisible(); })) << "the balloon stayed with the icon gone";

    // Posted, as a broadcast send would wait on every window of the desktop;
    // several, as any program may send it.
    for (int i = 0; i < 3; i++)
        PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    // The window lets go of its ten combinations before registering them
    // again, so nothing refuses them and no warning comes.
    EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 2000)) << "the restart brought a box";
    EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(program.window); })) << "the icon did not come back";
    EXPECT_FALSE(WaitUntil([] { return BalloonVisible(); }, 1000)) << "the re-add showed a balloon";
}

// The hotkey settings dialog, or one of its boxes, which share its caption:
// only the dialog has the hotkey controls.
static const wchar_t kSettingsCaption[] = L"Ombrivale 热键设置";

static HWND FindSettingsWindow(DWORD processId, bool dialog)
{
    for (HWND window : TopLevelWindows(processId, L"#32770", kSettingsCaption, true)) {
        if ((GetDlgItem(window, IDC_HOTKEY_FIRST) != NULL) == dialog)
            return window;
    }
    return NULL;
}

static HWND WaitForSettingsWindow(DWORD processId, bool dialog)
{
    HWND window = NULL;
    WaitUntil([&] { return (window = FindSettingsWindow(processId, dialog)) != NULL; });
    return window;
}

// The program has handled everything sent before: the way out of the
// dialog registers the hotkeys after the dialog is hidden.
static void WaitForProgram(const Program &program)
{
    EXPECT_NE(SendMessageTimeoutW(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, NULL), 0) << "the program hangs";
}

// The standard ten in the submenu's order, and as the dialog's hotkey
// controls hold them (HOTKEYF_ flags in the high byte).
static const struct { const wchar_t *name; UINT modifiers; UINT key; WORD control; } kStandard[] = {
    {L"加大音量", MOD_CONTROL, VK_RIGHT, 0x0A27}, {L"减小音量", MOD_CONTROL, VK_LEFT, 0x0A25},
    {L"静音", MOD_CONTROL, VK_END, 0x0A23},      {L"加大亮度", MOD_CONTROL, VK_UP, 0x0A26},
    {L"减小亮度", MOD_CONTROL, VK_DOWN, 0x0A28},  {L"默认亮度", MOD_CONTROL, VK_HOME, 0x0A24},
    {L"关闭显示器", MOD_SHIFT, VK_INSERT, 0x092D}, {L"屏幕截图", MOD_CONTROL, VK_F3, 0x0272},
    {L"隐藏/显示程序", MOD_CONTROL, VK_F12, 0x027B}, {L"退出程序", MOD_SHIFT, VK_END, 0x0923},
};
const int kMute = 2, kExit = 9;
const WORD kCtrlAltQ = 0x0651;

// The dialog's hotkey controls: its direct children of that class, in the
// order they were created, which is the tab order.
static std::vector<HWND> HotkeyControls(HWND dialog)
{
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"msctls_hotkey32")
            controls.push_back(child);
    }
    return controls;
}

static std::vector<WORD> ShownCombinations(HWND dialog)
{
    std::vector<WORD> shown;
    for (HWND control : HotkeyControls(dialog))
        shown.push_back((WORD)SendMessageW(control, HKM_GETHOTKEY, 0, 0));
    return shown;
}

static std::vector<WORD> StandardCombinations()
{
    std::vector<WORD> standard;
    for (const auto &hotkey : kStandard)
        standard.push_back(hotkey.control);
    return standard;
}

// Which of the standard combinations another program could register now.
static std::vector<bool> StandardFree(bool (*isFree)(UINT modifiers, UINT key))
{
    std::vector<bool> free;
    for (const auto &hotkey : kStandard)
        free.push_back(isFree(hotkey.modifiers, hotkey.key));
    return free;
}

// The values under the program's key, by name.
static std::map<std::wstring, DWORD> SavedHotkeys()
{
    std::map<std::wstring, DWORD> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kHotkeysKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return values;
    wchar_t name[64];
    DWORD value, nameLength = 64, size = sizeof value;
    for (DWORD i = 0; RegEnumValueW(key, i, name, &nameLength, NULL, NULL, (BYTE *)&value, &size) == ERROR_SUCCESS;
         i++, nameLength = 64, size = sizeof value)
        values[name] = value;
    RegCloseKey(key);
    return values;
}

// Through the menu's command, as the tray menu sends it.
static HWND OpenHotkeySettings(const Program &program)
{
    SendCommand(program, IDM_HOTKEY_SETTINGS);
    HWND dialog = WaitForSettingsWindow(program.id, true);
    EXPECT_NE(dialog, (HWND)NULL) << "the hotkey settings did not open; the program shows" << DialogTitles(program.id);
    return dialog;
}

static void Click(HWND dialog, int button)
{
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

// The labels name the ten in the submenu's order, each before its control,
// which shows the combination in force; a hint and the three buttons follow.
// While the dialog is open, none of the ten is registered, and choosing the
// entry again opens no second dialog; Cancel registers them again.
TEST_F(Startup, HotkeySettingsShowTheTenAndLeaveThemFreeWhileOpen)
{
    program = StartProgram();
    HWND dialog = OpenHotkeySettings(program);
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_TEXT_EQ(WindowText(dialog), kSettingsCaption);
    std::vector<std::pair<std::wstring, std::wstring>> expected;
    for (const auto &hotkey : kStandard) {
        expected.push_back({L"Static", hotkey.name});
        expected.push_back({L"msctls_hotkey32", L""});
    }
    expected.push_back({L"Static", L"按组合键设置；按 Backspace 清除（不用热键）"});
    for (const wchar_t *button : {L"恢复默认", L"确定", L"取消"})
        expected.push_back({L"Button", button});
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const auto &[className, text] : expected) {
        ASSERT_NE(child, (HWND)NULL) << "fewer controls than " << expected.size();
        EXPECT_TEXT_EQ(ClassName(child), className);
        EXPECT_TEXT_EQ(ControlText(child), text);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, (HWND)NULL) << "more controls than " << expected.size();
    EXPECT_EQ(ShownCombinations(dialog), StandardCombinations());
    WaitForProgram(program);
    EXPECT_EQ(StandardFree(IsFree), std::vector<bool>(10, true)) << "a hotkey stayed registered while the dialog is open";

    SendCommand(program, IDM_HOTKEY_SETTINGS);
    WaitForProgram(program);
    EXPECT_EQ(TopLevelWindows(program.id, L"#32770", kSettingsCaption, true).size(), 1u) << "a second dialog";

    PressButton(dialog, IDCANCEL);
    WaitForProgram(program);
    EXPECT_EQ(StandardFree(IsFree), std::vector<bool>(10, false)) << "Cancel did not register the ten again";
    EXPECT_TRUE(SavedHotkeys().empty());
}

// Mute off and exit on Ctrl+Alt+Q: saved as two values, in force at once
// and after a restart; the defaults button then leaves no value behind.
TEST_F(Startup, HotkeySettingsSavedKeepAfterARestartAndTheStandardLeavesNoValue)
{
    program = StartProgram();
    HWND dialog = OpenHotkeySettings(program);
    ASSERT_NE(dialog, (HWND)NULL);
    std::vector<HWND> controls = HotkeyControls(dialog);
    ASSERT_EQ(controls.size(), 10u);
    SendMessageW(controls[kMute], HKM_SETHOTKEY, 0, 0);
    SendMessageW(controls[kExit], HKM_SETHOTKEY, kCtrlAltQ, 0);
    PressButton(dialog, IDOK);
    WaitForProgram(program);
    const std::map<std::wstring, DWORD> chosen = {{L"Exit", 0x00510003}, {L"Mute", 0}};
    EXPECT_EQ(SavedHotkeys(), chosen);
    std::vector<bool> free(10, false);
    free[kMute] = free[kExit] = true;
    for (int run = 0; run < 2; run++) {
        SCOPED_TRACE(run == 0 ? "as saved" : "after a restart");
        EXPECT_EQ(StandardFree(IsFree), free);
        EXPECT_FALSE(IsFree(MOD_CONTROL | MOD_ALT, 'Q')) << "the new exit hotkey is not registered";
        if (run == 0) {
            StopProgram(program);
            program = StartProgram();
        }
    }

    dialog = OpenHotkeySettings(program);
    ASSERT_NE(dialog, (HWND)NULL);
    std::vector<WORD> shown = StandardCombinations();
    shown[kMute] = 0;
    shown[kExit] = kCtrlAltQ;
    EXPECT_EQ(ShownCombinations(dialog), shown);
    Click(dialog, IDC_HOTKEY_DEFAULTS);
    EXPECT_TRUE(WaitUntil([&] { return ShownCombinations(dialog) == StandardCombinations(); }));
    EXPECT_EQ(SavedHotkeys(), chosen) << "the defaults button saved before OK";
    PressButton(dialog, IDOK);
    WaitForProgram(program);
    EXPECT_TRUE(SavedHotkeys().empty()) << "a value stayed behind";
    EXPECT_EQ(StandardFree(IsFree), std::vector<bool>(10, false));
    EXPECT_TRUE(IsFree(MOD_CONTROL | MOD_ALT, 'Q'));
}

// Two actions on one combination, then one that this test holds: each OK
// is refused with a box naming them, the dialog stays open with none of
// the ten registered, and Cancel leaves everything as it was.
TEST_F(Startup, HotkeySettingsRefuseDuplicatesAndACombinationHeldElsewhereByName)
{
    ASSERT_TRUE(RegisterHotKey(NULL, 1, MOD_CONTROL | MOD_ALT, 'Q'));
    program = StartProgram();
    HWND dialog = OpenHotkeySettings(program);
    ASSERT_NE(dialog, (HWND)NULL);
    std::vector<HWND> controls = HotkeyControls(dialog);
    ASSERT_EQ(controls.size(), 10u);
    const struct { WORD mute; const wchar_t *text; } refusals[] = {
        {kCtrlAltQ, L"以下热键重复，请另选：\r\n静音（Ctrl+Alt+Q）\r\n退出程序（Ctrl+Alt+Q）"},
        {0x0A23, L"以下热键已被其他程序占用，请另选：\r\n退出程序（Ctrl+Alt+Q）"},
    };
    SendMessageW(controls[kExit], HKM_SETHOTKEY, kCtrlAltQ, 0);
    for (const auto &refusal : refusals) {
        SendMessageW(controls[kMute], HKM_SETHOTKEY, refusal.mute, 0);
        Click(dialog, IDOK);
        HWND box = WaitForSettingsWindow(program.id, false);
        ASSERT_NE(box, (HWND)NULL) << "no box; the program shows" << DialogTitles(program.id);
        EXPECT_TEXT_EQ(MessageBoxText(box), refusal.text);
        PressButton(box, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed";
        WaitForProgram(program);
        EXPECT_EQ(StandardFree(IsFree), std::vector<bool>(10, true)) << "registered while the dialog is open";
    }
    PressButton(dialog, IDCANCEL);
    UnregisterHotKey(NULL, 1);
    WaitForProgram(program);
    EXPECT_EQ(StandardFree(IsFree), std::vector<bool>(10, false));
    EXPECT_TRUE(IsFree(MOD_CONTROL | MOD_ALT, 'Q'));
    EXPECT_TRUE(SavedHotkeys().empty());
}
