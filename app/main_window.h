#ifndef OMBRIVALE_APP_MAIN_WINDOW_H
#define OMBRIVALE_APP_MAIN_WINDOW_H

#include "../platform/win32.h"

#define MAIN_WINDOW_CLASS "KORVAN"
#define MAIN_WINDOW_TITLE "KORVANFOREVER"

// Window procedure of the hidden main window: hotkeys, menu commands, tray
// clicks and the taskbar's restart all arrive here.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
