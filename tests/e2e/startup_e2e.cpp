// Start-up, single instance, hotkeys, tray icon, exit: what a user sees of
// the resident program.
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
