#ifndef OMBRIVALE_TESTS_FAKE_FAKE_HOTKEYS_H
#define OMBRIVALE_TESTS_FAKE_FAKE_HOTKEYS_H

#include "platform/win32.h"

// Windows refuses a hotkey combination that is already registered, even by
// the same window, until it is unregistered; Wine does not always. The fake
// keeps the registered combinations so that a test meets the refusal too.
BOOL FakeHotkeyRegister(BOOL allowed, HWND window, int id, UINT modifiers, UINT key);
void FakeHotkeyUnregister(HWND window, int id);
void FakeHotkeysReset();

#endif
