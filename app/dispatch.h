#ifndef OMBRIVALE_APP_DISPATCH_H
#define OMBRIVALE_APP_DISPATCH_H

#include "../platform/win32.h"

// Carries out the command whose identifier is wParam (a hotkey's or a menu
// item's); identifiers it does not know are ignored. lParam is passed on
// only to the exit confirmation.
void DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam);

#endif
