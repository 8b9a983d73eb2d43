#include "fake_routines.h"
#include "tray/tray_menu.h"

void ShowTrayMenu(HWND hwnd)
{
    ActiveRoutines().ShowTrayMenu(hwnd);
}
