#ifndef OMBRIVALE_TESTS_FAKE_FAKE_HOTKEYS_H
#define OMBRIVALE_TESTS_FAKE_FAKE_HOTKEYS_H

#include "platform/win32.h"

// Windows refuses a hotkey combination that is already registered, by anyone,
// the same window included, until it is unregistered; Wine does not always.
// A second registration of a window's identifier with another combination
// keeps the first beside it (Wine replaces it) until the identifier is
// unregistered. The fake keeps the registered combinations so that a test
// meets both rules.
BOOL FakeHotkeyRegister(BOOL allowed, HWND window, int id, UINT modifiers, UINT key);
void FakeHotkeyUnregister(HWND window, int id);
// Whether that window (any, for NULL) holds the combination.
bool FakeHotkeyHeld(HWND window, UINT modifiers, UINT key);
void FakeHotkeysReset();

#endif
