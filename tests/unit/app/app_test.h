// What the tests of the resident program share: its window and module as
// the fake hands them out, and a fixture with the module already stored.
#ifndef OMBRIVALE_TESTS_UNIT_APP_APP_TEST_H
#define OMBRIVALE_TESTS_UNIT_APP_APP_TEST_H

#include "resources/resource_ids.h"
#include "tests/doubles/routines_test.h"

const HWND kWindow = FakeHandle<HWND>(0x100);
const HINSTANCE kInstance = FakeHandle<HINSTANCE>(0x400000);

class AppTest : public RoutinesTest {
protected:
    AppTest() { ResetState(); }

    static void ResetState()
    {
        appState = AppState();
        SetStartValues();
        appState.instance = kInstance;
    }
};

#endif
