// The simple actions the dispatcher carries out itself.
#ifndef OMBRIVALE_APP_SHELL_ACTIONS_H
#define OMBRIVALE_APP_SHELL_ACTIONS_H

#include "../platform/system_files.h"

void SendVolumeCommand(HWND window, UINT appCommand);
void ToggleMute(HWND window);
void ChangeBrightness(LONG newLevel);
// Sets the chosen level again after the system put its own ramp back.
void RestoreBrightness();
void ConfirmExit(HWND window, WPARAM wParam, LPARAM lParam);
// The folder of Windows' native programs, a FolderQuery: under WOW64 the
// Sysnative alias, which only a 32-bit program sees (Vista on); elsewhere
// the system directory. Callers pass a buffer of MAX_PATH.
UINT WINAPI NativeSystemFolder(LPSTR folder, UINT size);
// A tool of Windows by its full path in that folder.
void StartTool(FolderQuery folder, LPCSTR file);
// The native registry editor, also from the i686 build under WOW64.
void StartRegistryEditor();
void SetCdDoor(LPCSTR mciCommand);
void ShowDesktop();
void StartScreenSaver();
void TurnMonitorOffAndLock(HWND window);
void LockWorkstation();
void ShowAbout();
void OpenCaptureOverlay();
void OpenReminderDialog();

#endif
