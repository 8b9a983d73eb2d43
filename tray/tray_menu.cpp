#include "tray_menu.h"

// Not built yet: the tray popup menu does nothing so far.
void ShowTrayMenu(HWND)
{
}
