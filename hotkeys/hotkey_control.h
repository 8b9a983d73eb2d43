// The hotkey control (msctls_hotkey32) that the settings dialog shows each
// combination in: its class, and its values against the program's
// combinations.
#ifndef OMBRIVALE_HOTKEYS_HOTKEY_CONTROL_H
#define OMBRIVALE_HOTKEYS_HOTKEY_CONTROL_H

#include "../platform/win32.h"

// HKM_SETHOTKEY's value for a combination (0 for none): the key in the low
// byte, the HOTKEYF_ flags in the high one.
WORD HotkeyControlValue(DWORD combination);
// The combination of what HKM_GETHOTKEY answers; 0 when it holds no key or
// no modifier.
DWORD CombinationOfHotkeyControl(LRESULT value);
// Loads the system's comctl32 and registers the control's class; the module
// to free once the dialog is gone, or NULL when the control is unavailable.
HMODULE LoadHotkeyControlClass();

#endif
