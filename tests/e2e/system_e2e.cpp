// System control seen from outside: the icon size value, display modes
// inside Wine's virtual desktop, brightness on a display that refuses every
// ramp, and the forced shutdown's confirmation (answered No, always).
#include <string>

#include "harness.h"
#include "tests/resolution_presets.h"

static const char kCaption[] = "Ombrivale";
static const char kMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";
static const char kIconSizeValue[] = "Shell Icon Size";

static std::string IconSizeInRegistry()
{
    char text[64] = "";
    DWORD size = sizeof text;
    RegGetValueA(HKEY_CURRENT_USER, kMetricsKey, kIconSizeValue, RRF_RT_REG_SZ, NULL, text, &size);
    return text;
}

class SystemControl : public ProgramTest {};

TEST_F(SystemControl, IconCacheRebuildStoresTheIconWidth)
{
    // A fresh prefix may lack the key; the value starts as nothing the program writes.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kMetricsKey, kIconSizeValue, REG_SZ, "0", 2), ERROR_SUCCESS);
    program = StartProgram();
    SendCommand(program, IDM_REBUILD_ICON_CACHE);
    std::string expected = std::to_string(GetSystemMetrics(SM_CXICON));
    EXPECT_TRUE(WaitUntil([&] { return IconSizeInRegistry() == expected; }))
        << "Shell Icon Size is " << IconSizeInRegistry() << ", the icon width " << expected;
    EXPECT_TRUE(IsRunning(program));
    EXPECT_EQ(CountDialogs(program.id), 0);
}

static DEVMODEA DisplayMode(DWORD which)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(NULL, which, &mode);
    return mode;
}

static bool ModeIs(DWORD which, DWORD width, DWORD height)
{
    DEVMODEA mode = DisplayMode(which);
    return mode.dmPelsWidth == width && mode.dmPelsHeight == height;
}

static bool DesktopListsMode(DWORD width, DWORD height)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(NULL, i, &mode); ++i) {
        if (mode.dmPelsWidth == width && mode.dmPelsHeight == height)
            return true;
    }
    return false;
}

// Our sessions run in a 1280x800 virtual desktop; each test puts it back,
// in the registry too, since an accepted preset is stored there.
class DisplayModes : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = 1280;
        mode.dmPelsHeight = 800;
        EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY), DISP_CHANGE_SUCCESSFUL);
    }
};

TEST_F(DisplayModes, ListedPresetSwitchesTheMode)
{
    ASSERT_TRUE(DesktopListsMode(1024, 768)) << "this desktop does not offer 1024x768";
    program = StartProgram();
    SendCommand(program, IDM_RES_1024X768);
    EXPECT_TRUE(WaitUntil([] { return ModeIs(ENUM_CURRENT_SETTINGS, 1024, 768); })) << "the mode did not change";
    // The mode is stored by a second change, just after the first.
    EXPECT_TRUE(WaitUntil([] { return ModeIs(ENUM_REGISTRY_SETTINGS, 1024, 768); })) << "the new mode was not stored";
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_FALSE(WaitUntil([&] { return CountDialogs(program.id) > 0; }, 1000)) << "an accepted mode warned";
}

TEST_F(DisplayModes, RefusedPresetWarnsInTheStoredMode)
{
    WPARAM refused = 0;
    for (const ResolutionPreset &preset : kResolutionPresets) {
        if (refused == 0 && !DesktopListsMode(preset.width, preset.height))
            refused = preset.command;
    }
    ASSERT_NE(refused, 0u) << "this desktop offers all six presets";
    DEVMODEA stored = DisplayMode(ENUM_REGISTRY_SETTINGS);
    program = StartProgram();
    SendCommand(program, refused);
    HWND box = WaitForDialog(program.id, kCaption);
    ASSERT_NE(box, (HWND)NULL) << "no warning for preset " << refused;
    EXPECT_EQ(MessageBoxText(box), "分辨率设置失败，已经恢复默认设置。　");
    EXPECT_TRUE(ModeIs(ENUM_CURRENT_SETTINGS, stored.dmPelsWidth, stored.dmPelsHeight))
        << "not back in the stored mode " << stored.dmPelsWidth << "x" << stored.dmPelsHeight;
    PressButton(box, IDOK);
    EXPECT_TRUE(IsRunning(program));
}

TEST_F(SystemControl, BrightnessSurvivesARefusedRamp)
{
    program = StartProgram();
    for (WPARAM command : {IDM_BRIGHTNESS_DOWN, IDM_BRIGHTNESS_DOWN, IDM_BRIGHTNESS_UP, IDM_BRIGHTNESS_DEFAULT})
        SendCommand(program, command);
    // Posted after them, the about box comes only once the brightness commands
    // have all been handled; it must be the only box.
    SendCommand(program, IDM_ABOUT);
    HWND box = WaitForDialog(program.id, kCaption);
    ASSERT_NE(box, (HWND)NULL) << "the program stopped handling commands";
    EXPECT_EQ(MessageBoxText(box).substr(0, 10), "版本：v1.5");
    EXPECT_EQ(CountDialogs(program.id), 1);
    PressButton(box, IDOK);
    EXPECT_TRUE(IsRunning(program));
}

// A top-level window on a thread of its own that stops answering messages
// until the test lets it go.
static DWORD WINAPI HungWindowThread(LPVOID release)
{
    HWND window = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    WaitForSingleObject((HANDLE)release, INFINITE);
    DestroyWindow(window);
    return 0;
}

// Both commands broadcast; one hung window must not freeze the program.
TEST_F(SystemControl, HungWindowDoesNotFreezeTheBroadcasts)
{
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kMetricsKey, kIconSizeValue, REG_SZ, "0", 2), ERROR_SUCCESS);
    program = StartProgram();
    HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE thread = CreateThread(NULL, 0, HungWindowThread, release, 0, NULL);
    ASSERT_TRUE(WaitUntil([] { return FindWindowA("STATIC", "hung") != NULL; })) << "no hung window";
    SendCommand(program, IDM_SCREENSAVER);
    SendCommand(program, IDM_REBUILD_ICON_CACHE);
    std::string expected = std::to_string(GetSystemMetrics(SM_CXICON));
    EXPECT_TRUE(WaitUntil([&] { return IconSizeInRegistry() == expected; }, 15000)) << "the icon size was not written";
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &answer), 0)
        << "the program no longer answers";
    SetEvent(release);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CloseHandle(release);
    EXPECT_TRUE(IsRunning(program));
}

TEST_F(SystemControl, ForcedShutdownAsksAndNoCancels)
{
    program = StartProgram();
    for (WPARAM command : {IDM_FORCE_SHUTDOWN, IDM_FORCE_RESTART}) {
        SendCommand(program, command);
        HWND box = WaitForDialog(program.id, kCaption);
        ASSERT_NE(box, (HWND)NULL) << "no confirmation for " << command;
        EXPECT_EQ(MessageBoxText(box), "你确认已经把所有工作都保存了吗？　　　\r\n\r\n取消操作请点击否。");
        EXPECT_NE(GetDlgItem(box, IDYES), (HWND)NULL);
        PressButton(box, IDNO);
        EXPECT_FALSE(WaitUntil([&] { return !IsRunning(program); }, 1000)) << "No did not keep the program";
        EXPECT_EQ(CountDialogs(program.id), 0);
    }
}
