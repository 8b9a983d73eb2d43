#ifndef OMBRIVALE_HOTKEYS_HOTKEY_DIALOG_H
#define OMBRIVALE_HOTKEYS_HOTKEY_DIALOG_H

#include "../platform/win32.h"

// Opens the hotkey settings for the hotkeys registered on the window, or
// brings the open dialog to the front: there is never a second one.
void OpenHotkeySettings(HWND window);
// Dialog procedure of the hotkey settings; its creation parameter is that window.
INT_PTR CALLBACK HotkeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
