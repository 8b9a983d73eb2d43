#ifndef OMBRIVALE_APP_HOTKEYS_H
#define OMBRIVALE_APP_HOTKEYS_H

#include "../platform/win32.h"

// Registers every hotkey on the window, in table order, and warns once when
// any of them could not be registered, naming those.
void RegisterHotkeys(HWND window);
// Releases the ten combinations registered on the window.
void UnregisterHotkeys(HWND window);

#endif
