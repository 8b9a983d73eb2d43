// Test doubles for the routines one subsystem calls in another. A test of
// the caller expects these calls like any Windows call.
#ifndef OMBRIVALE_TESTS_DOUBLES_FAKE_ROUTINES_H
#define OMBRIVALE_TESTS_DOUBLES_FAKE_ROUTINES_H

#include <gmock/gmock.h>

#include "system/power.h"
#include "tests/fake/win32_test.h"

class FakeRoutines {
public:
    MOCK_METHOD(void, ShowTrayMenu, (HWND hwnd));
    MOCK_METHOD(BOOL, PerformPowerAction, (PowerAction action));
    MOCK_METHOD(void, ForcedShutdown, (ForcedPowerAction action));
    MOCK_METHOD(BOOL, ApplyBrightness, (LONG level));
    MOCK_METHOD(void, SetResolution, (DWORD width, DWORD height));
    MOCK_METHOD(void, RefreshIconMetrics, ());
    MOCK_METHOD(void, ReadAutostartState, ());
    MOCK_METHOD(void, ToggleAutostart, ());
};

FakeRoutines &ActiveRoutines();
void SetActiveRoutines(FakeRoutines *routines);

// A fixture for code that calls other subsystems: both fakes are strict.
class RoutinesTest : public Win32Test {
protected:
    RoutinesTest() { SetActiveRoutines(&routines); }
    ~RoutinesTest() override { SetActiveRoutines(nullptr); }
    ::testing::StrictMock<FakeRoutines> routines;
};

#endif
