#ifndef OMBRIVALE_APP_TRAY_ICON_H
#define OMBRIVALE_APP_TRAY_ICON_H

#include "../platform/win32.h"

// The record size of the balloon-capable form without the balloon GUID.
#define TRAY_ICON_RECORD_SIZE NOTIFYICONDATAW_V2_SIZE

// Adds the icon with the start-up balloon; the only add that shows it.
void AddTrayIconWithBalloon(HWND window);
// After "TaskbarCreated": the icon at the taskbar's scale, added, or handed
// to a shell that still shows it.
void AddTrayIconAgain(HWND window);
void DeleteTrayIcon(HWND window);
// Destroys the icon of the record, once the loop has ended.
void ReleaseTrayIcon();
// Hides a shown icon, shows a hidden one.
void ToggleTrayIcon(HWND window);

#endif
