// The simple actions the dispatcher carries out itself.
#ifndef OMBRIVALE_APP_SHELL_ACTIONS_H
#define OMBRIVALE_APP_SHELL_ACTIONS_H

#include "../platform/system_files.h"

void SendVolumeCommand(HWND window, UINT appCommand);
void ToggleMute(HWND window);
void ChangeBrightness(LONG newLevel);
void ConfirmExit(HWND window, WPARAM wParam, LPARAM lParam);
// A tool of Windows by its full path in that folder.
void StartTool(FolderQuery folder, LPCSTR file);
void SetCdDoor(LPCSTR mciCommand);
void ShowDesktop();
void StartScreenSaver();
void TurnMonitorOffAndLock(HWND window);
void LockWorkstation();
void ShowAbout();
void OpenCaptureOverlay();
void OpenReminderDialog();

#endif
