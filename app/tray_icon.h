#ifndef OMBRIVALE_APP_TRAY_ICON_H
#define OMBRIVALE_APP_TRAY_ICON_H

#include "../platform/win32.h"

// The record size of the balloon-capable form without the balloon GUID.
#define TRAY_ICON_RECORD_SIZE NOTIFYICONDATAW_V2_SIZE

// Adds the icon with the start-up balloon; the only add that shows it.
void AddTrayIconWithBalloon(HWND window);
// Adds the icon without a balloon (after a taskbar restart or the toggle).
void AddTrayIconQuietly(HWND window);
void DeleteTrayIcon(HWND window);
// Destroys the icon loaded for the start-up add, once the loop has ended.
void ReleaseTrayIcon();
// Hides a shown icon, shows a hidden one.
void ToggleTrayIcon(HWND window);

#endif
