#ifndef OMBRIVALE_TRAY_TRAY_MENU_H
#define OMBRIVALE_TRAY_TRAY_MENU_H

#include <stddef.h>

#include "../platform/win32.h"

// The item record without its last field (the item bitmap), the size every
// version of Windows accepts: 44 bytes on 32-bit Windows.
#define MENU_ITEM_INFO_SIZE offsetof(MENUITEMINFOW, hbmpItem)

// Shows the tray popup at the pointer; the choice arrives later as WM_COMMAND.
void ShowTrayMenu(HWND hwnd);

#endif
