// What the hotkey tests share: the main window, a window of another program
// that holds combinations too, and combinations written out in the layout
// the registry keeps them in.
#ifndef OMBRIVALE_TESTS_UNIT_HOTKEYS_HOTKEYS_TEST_H
#define OMBRIVALE_TESTS_UNIT_HOTKEYS_HOTKEYS_TEST_H

#include "tests/fake/win32_test.h"

const HWND kWindow = FakeHandle<HWND>(0x100);
const HWND kOtherProgram = FakeHandle<HWND>(0x900);

constexpr DWORD Combination(UINT modifiers, UINT key)
{
    return modifiers | key << 16;
}

const DWORD kCtrlAltQ = Combination(MOD_CONTROL | MOD_ALT, 'Q');

#endif
