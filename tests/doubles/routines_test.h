// The fixture of tests whose code calls other subsystems.
#ifndef OMBRIVALE_TESTS_DOUBLES_ROUTINES_TEST_H
#define OMBRIVALE_TESTS_DOUBLES_ROUTINES_TEST_H

#include "fake_routines.h"
#include "tests/fake/win32_test.h"

// A fixture for code that calls other subsystems: both fakes are strict.
class RoutinesTest : public Win32Test {
protected:
    RoutinesTest() { SetActiveRoutines(&routines); }
    ~RoutinesTest() override { SetActiveRoutines(nullptr); }
    ::testing::StrictMock<FakeRoutines> routines;
};

#endif
