#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fake/win32_test.h"
#include "system/display.h"
#include "system/gamma_ramp.h"
#include "tests/resolution_presets.h"

using Display = Win32Test;

static const HDC kScreen = FakeHandle<HDC>(0x10);

// Each display attached to the desktop, given the ramp with that answer; one
// that answers TRUE is read back. A last display, not attached to the
// desktop, gets nothing.
static void ExpectDisplays(FakeWin32 &win, const std::vector<HDC> &displays, BOOL answer)
{
    const size_t attached = displays.size();
    for (size_t i = 0; i <= attached; i++) {
        EXPECT_CALL(win, EnumDisplayDevicesA(IsNull(), i, _, 0u))
            .WillOnce(Invoke([i, attached](LPCSTR, DWORD, PDISPLAY_DEVICEA device, DWORD) {
                std::snprintf(device->DeviceName, sizeof device->DeviceName, "\\\\.\\DISPLAY%zu", i + 1);
                device->StateFlags = i < attached ? DISPLAY_DEVICE_ATTACHED_TO_DESKTOP : 0;
                return TRUE;
            }));
        if (i == attached)
            break;
        std::string name = "\\\\.\\DISPLAY" + std::to_string(i + 1);
        EXPECT_CALL(win, CreateDCA(StrEq("DISPLAY"), StrEq(name), IsNull(), IsNull())).WillOnce(Return(displays[i]));
        EXPECT_CALL(win, SetDeviceGammaRamp(displays[i], _)).WillOnce(Return(answer));
        if (answer)
            EXPECT_CALL(win, GetDeviceGammaRamp(displays[i], _)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, DeleteDC(displays[i])).WillOnce(Return(TRUE));
    }
    EXPECT_CALL(win, EnumDisplayDevicesA(IsNull(), attached + 1, _, 0u)).WillOnce(Return(FALSE));
}

// The answer tells the dispatcher whether the level may move: only when a
// display holds the ramp, read back, as Windows may answer TRUE and keep
// the old one. The whole-screen DC first, then each display attached to the
// desktop on its own.
TEST_F(Display, EachBrightnessStepCountsOnlyWhenADisplayHoldsTheRamp)
{
    const HDC kFirst = FakeHandle<HDC>(0x11), kSecond = FakeHandle<HDC>(0x12);
    const struct {
        const char *what;
        int attached;
        int allowedDistance;  // from the identity, beyond which a ramp is dropped silently
        BOOL answer;  // of every SetDeviceGammaRamp, before the fake's rules
        BOOL applied;
        bool displayRefuses = false;  // its own DC refuses what the whole screen took
        LONG from = 256, to = 240;  // the level the displays hold, and the one asked for
    } cases[] = {
        {"one display takes it", 1, 0x10000, TRUE, TRUE},
        {"one display refuses it", 1, 0x10000, FALSE, FALSE},
        {"two displays: the whole screen refuses, each takes it", 2, 0x10000, TRUE, TRUE},
        {"answered TRUE and not kept", 1, 0x100, TRUE, FALSE},
        {"the whole screen holds it, the display's own DC refuses", 1, 0x10000, TRUE, TRUE, true},
        // Neighbouring bright ramps differ by less than 255 in every entry.
        {"bright: answered TRUE and not kept", 1, 37300, TRUE, FALSE, false, 598, 600},
        {"bright: kept", 1, 0x10000, TRUE, TRUE, false, 598, 600},
        {"too bright for 8 bits to tell from the level before", 1, 0x10000, TRUE, FALSE, false, 20000, 20002},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakeGammaReset(c.attached, c.allowedDistance, c.from);
        appState.brightnessLevel = c.from;
        InSequence order;
        EXPECT_CALL(win, GetDC(IsNull())).WillOnce(Return(kScreen));
        EXPECT_CALL(win, SetDeviceGammaRamp(kScreen, _)).WillOnce(Invoke([&c](HDC, LPVOID ramp) {
            const GammaRamp &sent = *static_cast<const GammaRamp *>(ramp);
            EXPECT_EQ(sent.red[1], c.to);
            EXPECT_EQ(sent.blue[2], std::min<LONG>(2 * c.to, 0xFFFF));
            return c.answer;
        }));
        if (c.answer && c.attached == 1)
            EXPECT_CALL(win, GetDeviceGammaRamp(kScreen, _)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, ReleaseDC(IsNull(), kScreen)).WillOnce(Return(1));
        ExpectDisplays(win, c.attached == 1 ? std::vector<HDC>{kFirst} : std::vector<HDC>{kFirst, kSecond},
                       c.answer && !c.displayRefuses);
        EXPECT_EQ(ApplyBrightness(c.to), c.applied);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
    FakeGammaReset();
    InSequence order;
    EXPECT_CALL(win, GetDC(IsNull())).WillOnce(Return(nullptr));
    ExpectDisplays(win, {}, TRUE);
    EXPECT_FALSE(ApplyBrightness(256));
}

// The record as the display must receive it: 148 bytes, zero but for these.
static DEVMODEA ExpectedMode(DWORD width, DWORD height)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = 148;
    mode.dmFields = 0x40000 | 0x80000 | 0x100000;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    return mode;
}

static auto ModeIs(DWORD width, DWORD height)
{
    return ::testing::Truly([=](LPDEVMODEA mode) {
        DEVMODEA expected = ExpectedMode(width, height);
        return mode != nullptr && memcmp(mode, &expected, 148) == 0;
    });
}

TEST_F(Display, EveryPresetIsTriedThenStored)
{
    for (const ResolutionPreset &preset : kResolutionPresets) {
        InSequence order;
        EXPECT_CALL(win, ChangeDisplaySettingsA(ModeIs(preset.width, preset.height), 0u))
            .WillOnce(Return(DISP_CHANGE_SUCCESSFUL));
        EXPECT_CALL(win, ChangeDisplaySettingsA(ModeIs(preset.width, preset.height), 1u))
            .WillOnce(Return(DISP_CHANGE_FAILED));  // ignored: the mode is already on
        SetResolution(preset.width, preset.height);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

TEST_F(Display, AnyOtherResultReturnsToTheStoredModeAndWarns)
{
    for (LONG refusal : {DISP_CHANGE_RESTART, DISP_CHANGE_FAILED, DISP_CHANGE_BADMODE}) {
        SCOPED_TRACE(testing::Message() << "result " << refusal);
        InSequence order;
        EXPECT_CALL(win, ChangeDisplaySettingsA(ModeIs(1680, 1050), 0u)).WillOnce(Return(refusal));
        EXPECT_CALL(win, ChangeDisplaySettingsA(IsNull(), 0u)).WillOnce(Return(DISP_CHANGE_SUCCESSFUL));
        EXPECT_CALL(win, MessageBoxW(IsNull(), WideEq(u"分辨率设置失败，已经恢复默认设置。　"), WideEq(u"Ombrivale"), 0x30u))
            .WillOnce(Return(IDOK));
        SetResolution(1680, 1050);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

static const HKEY kMetricsKey = FakeHandle<HKEY>(0x40);

// The UTF-16 text of a value's data; the size checks its zero.
static auto DataIs(const char *text)
{
    std::u16string wide(text, text + strlen(text));
    return ::testing::Truly([=](const BYTE *data) { return Text((const WCHAR *)data) == wide; });
}

TEST_F(Display, IconSizeIsWrittenTwiceEachWithABroadcast)
{
    static const struct {
        int width;
        int dpi;  // the screen's, which scales the metric of a DPI-aware program
        const char *text;
    } cases[] = {{32, 96, "32"}, {-1, 96, "4294967295"}, {48, 144, "32"}, {40, 120, "32"}};
    const HDC screen = FakeHandle<HDC>(0x41);
    for (const auto &test : cases) {
        InSequence order;
        EXPECT_CALL(win, RegOpenKeyExA(HKEY_CURRENT_USER, StrEq("Control Panel\\Desktop\\WindowMetrics"), 0u,
                                       0xF003Fu, _))
            .WillOnce(DoAll(SetArgPointee<4>(kMetricsKey), Return(ERROR_SUCCESS)));
        EXPECT_CALL(win, GetSystemMetrics(11)).WillOnce(Return(test.width));
        EXPECT_CALL(win, GetDC(nullptr)).WillOnce(Return(screen));
        EXPECT_CALL(win, GetDeviceCaps(screen, LOGPIXELSX)).WillOnce(Return(test.dpi));
        EXPECT_CALL(win, ReleaseDC(nullptr, screen)).WillOnce(Return(1));
        for (int write = 0; write < 2; ++write) {
            EXPECT_CALL(win, RegSetValueExW(kMetricsKey, WideEq(u"Shell Icon Size"), 0u, 1u, DataIs(test.text),
                                            ((DWORD)strlen(test.text) + 1) * 2))
                .WillOnce(Return(ERROR_SUCCESS));
            // Bounded, and skipping hung windows: one of them must not hold the program.
            EXPECT_CALL(win, SendMessageTimeoutA(HWND_BROADCAST, 0x1Au, 0u, 0, SMTO_ABORTIFHUNG,
                                                 AllOf(::testing::Ge(1000u), ::testing::Le(5000u)), _))
                .WillOnce(Return(0));
        }
        EXPECT_CALL(win, RegCloseKey(kMetricsKey)).WillOnce(Return(ERROR_SUCCESS));
        RefreshIconMetrics();
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

// A strict fake: a write through some other handle, or a broadcast, fails it.
TEST_F(Display, UnopenedMetricsKeyWritesNothing)
{
    EXPECT_CALL(win, RegOpenKeyExA(HKEY_CURRENT_USER, _, _, _, _)).WillOnce(Return(2 /* ERROR_FILE_NOT_FOUND */));
    RefreshIconMetrics();
}
