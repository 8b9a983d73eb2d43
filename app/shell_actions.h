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
// How a tool of Windows starts natively, also from the i686 build under
// WOW64: a file the shell opens with its own native host (.cpl, .msc), a
// program that asks for no elevation, or one that asks an administrator
// for it.
enum ToolKind { TOOL_SHELL_FILE, TOOL_PROGRAM, TOOL_ELEVATING_PROGRAM };
// A tool of Windows by its full path in that folder.
void StartTool(FolderQuery folder, LPCWSTR file, ToolKind kind);
void SetCdDoor(LPCSTR mciCommand);
void ShowDesktop();
void StartScreenSaver();
void TurnMonitorOffAndLock(HWND window);
void LockWorkstation();
void ShowAbout();
void OpenCaptureOverlay();
void OpenReminderDialog();

#endif
