#include <cstring>

#include "tests/fake/win32_test.h"
#include "system/display.h"
#include "system/gamma_ramp.h"
#include "tests/resolution_presets.h"

using Display = Win32Test;

static const HDC kScreen = FakeHandle<HDC>(0x10);

// The answer tells the dispatcher whether the level may move.
TEST_F(Display, EachBrightnessStepBorrowsTheScreenOnceAndSaysIfTheRampWasSet)
{
    const struct { LONG level; BOOL accepted; } cases[] = {{258, FALSE}, {-2, FALSE}, {258, TRUE}};
    for (const auto &c : cases) {
        InSequence order;
        EXPECT_CALL(win, GetDC(IsNull())).WillOnce(Return(kScreen));
        EXPECT_CALL(win, SetDeviceGammaRamp(kScreen, _)).WillOnce(Invoke([c](HDC, LPVOID ramp) {
            const GammaRamp &sent = *static_cast<const GammaRamp *>(ramp);
            EXPECT_EQ(sent.blue[255], c.level > 0 ? 0xFFFF : 0);
            EXPECT_EQ(sent.red[1], c.level > 0 ? 258 : 0);
            return c.accepted;  // FALSE: refused, as a display without gamma support does
        }));
        EXPECT_CALL(win, ReleaseDC(IsNull(), kScreen)).WillOnce(Return(1));
        EXPECT_EQ(ApplyBrightness(c.level), c.accepted);
    }
    EXPECT_CALL(win, GetDC(IsNull())).WillOnce(Return(nullptr));
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
        EXPECT_CALL(win, MessageBoxA(IsNull(), StrEq("分辨率设置失败，已经恢复默认设置。　"), StrEq("Ombrivale"), 0x30u))
            .WillOnce(Return(IDOK));
        SetResolution(1680, 1050);
        testing::Mock::VerifyAndClearExpectations(&win);
    }
}

static const HKEY kMetricsKey = FakeHandle<HKEY>(0x40);

static auto DataIs(const char *text)
{
    return ::testing::Truly([=](const BYTE *data) { return strcmp((const char *)data, text) == 0; });
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
            EXPECT_CALL(win, RegSetValueExA(kMetricsKey, StrEq("Shell Icon Size"), 0u, 1u, DataIs(test.text),
                                            (DWORD)strlen(test.text) + 1))
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
