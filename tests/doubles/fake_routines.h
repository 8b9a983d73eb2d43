// Test doubles for the routines one subsystem calls in another. A test of
// the caller expects these calls like any Windows call. The doubles include
// only this, not the Windows fake, which is costly to compile.
#ifndef OMBRIVALE_TESTS_DOUBLES_FAKE_ROUTINES_H
#define OMBRIVALE_TESTS_DOUBLES_FAKE_ROUTINES_H

#include <gmock/gmock.h>

#include "platform/win32.h"
#include "system/power.h"

class FakeRoutines {
public:
    FakeRoutines();
    ~FakeRoutines();

    MOCK_METHOD(void, ShowTrayMenu, (HWND hwnd));
    MOCK_METHOD(BOOL, PerformPowerAction, (PowerAction action));
    MOCK_METHOD(void, ForcedShutdown, (ForcedPowerAction action));
    MOCK_METHOD(BOOL, TurnDisplayOff, (HWND window));
    MOCK_METHOD(BOOL, ApplyBrightness, (LONG level));
    MOCK_METHOD(void, SetResolution, (DWORD width, DWORD height));
    MOCK_METHOD(void, RefreshIconMetrics, ());
    MOCK_METHOD(void, ReadAutostartState, ());
    MOCK_METHOD(void, ToggleAutostart, ());
    MOCK_METHOD(void, AskToCancelReminder, ());
    MOCK_METHOD(void, LoadHotkeySettings, ());
    MOCK_METHOD(void, RegisterHotkeysInForce, (HWND window));
    MOCK_METHOD(void, ShowHotkeysInMenu, (HMENU hotkeySubmenu));
    MOCK_METHOD(void, OpenHotkeySettings, (HWND window));
};

FakeRoutines &ActiveRoutines();
void SetActiveRoutines(FakeRoutines *routines);

#endif
