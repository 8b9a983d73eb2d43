#ifndef OMBRIVALE_TRAY_TRAY_MENU_H
#define OMBRIVALE_TRAY_TRAY_MENU_H

#include "../platform/win32.h"

// Shows the tray popup at the pointer; the choice arrives later as WM_COMMAND.
void ShowTrayMenu(HWND hwnd);

#endif
