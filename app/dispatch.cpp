#include "dispatch.h"

#include "../autostart/autostart.h"
#include "../hotkeys/hotkey_dialog.h"
#include "../resources/resource_ids.h"
#include "../system/display.h"
#include "../system/power.h"
#include "../reminder/reminder_dialog.h"
#include "../state/app_state.h"
#include "shell_actions.h"
#include "tray_icon.h"

// Step of one brightness command on the gamma multiplier.
static const LONG kBrightnessStep = 2;

struct Tool {
    FolderQuery folder;
    LPCWSTR file;
    ToolKind kind;
};

// Where each tool lives, and how it starts.
static Tool ToolFor(WPARAM command)
{
    switch (command) {
    case IDM_TOOL_REGEDIT: return {GetWindowsDirectoryW, WIDE("regedit.exe"), TOOL_ELEVATING_PROGRAM};
    case IDM_TOOL_APPWIZ: return {GetSystemDirectoryW, WIDE("appwiz.cpl"), TOOL_SHELL_FILE};
    case IDM_TOOL_GPEDIT: return {GetSystemDirectoryW, WIDE("gpedit.msc"), TOOL_SHELL_FILE};
    case IDM_TOOL_CMD: return {GetSystemDirectoryW, WIDE("cmd.exe"), TOOL_PROGRAM};
    case IDM_TOOL_TASKMGR: return {GetSystemDirectoryW, WIDE("taskmgr.exe"), TOOL_ELEVATING_PROGRAM};
    case IDM_TOOL_DEVMGMT: return {GetSystemDirectoryW, WIDE("devmgmt.msc"), TOOL_SHELL_FILE};
    case IDM_TOOL_CALC: return {GetSystemDirectoryW, WIDE("calc.exe"), TOOL_PROGRAM};
    case IDM_TOOL_MSINFO: return {GetSystemDirectoryW, WIDE("msinfo32.exe"), TOOL_PROGRAM};
    }
    return {NULL, NULL, TOOL_SHELL_FILE};
}

static bool RunResolutionPreset(WPARAM command)
{
    switch (command) {
    case IDM_RES_1024X768: SetResolution(1024, 768); return true;
    case IDM_RES_1280X800: SetResolution(1280, 800); return true;
    case IDM_RES_1440X900: SetResolution(1440, 900); return true;
    case IDM_RES_1680X1050: SetResolution(1680, 1050); return true;
    case IDM_RES_1366X768: SetResolution(1366, 768); return true;
    case IDM_RES_800X600: SetResolution(800, 600); return true;
    }
    return false;
}

static bool RunPowerCommand(WPARAM command)
{
    switch (command) {
    case IDM_SHUTDOWN: PerformPowerAction(POWER_SHUTDOWN); return true;
    case IDM_RESTART: PerformPowerAction(POWER_RESTART); return true;
    case IDM_LOGOFF: PerformPowerAction(POWER_LOGOFF); return true;
    case IDM_SLEEP: PerformPowerAction(POWER_SLEEP); return true;
    case IDM_HIBERNATE: PerformPowerAction(POWER_HIBERNATE); return true;
    case IDM_FORCE_SHUTDOWN: ForcedShutdown(FORCED_POWER_OFF); return true;
    case IDM_FORCE_RESTART: ForcedShutdown(FORCED_RESTART); return true;
    }
    return false;
}

// Unsigned arithmetic so that a level pushed to its limits wraps instead of
// overflowing; nothing bounds the level here.
static LONG StepBrightness(LONG level, LONG step)
{
    return (LONG)((DWORD)level + (DWORD)step);
}

// An armed reminder's entry asks whether to call it off; otherwise it opens
// the dialog, as the menu's caption for it says.
static void RunReminderCommand()
{
    if (appState.reminderArmed == 1)
        AskToCancelReminder();
    else
        OpenReminderDialog();
}

static bool RunShellCommand(HWND window, WPARAM command, LPARAM lParam)
{
    switch (command) {
    case IDM_VOLUME_UP: SendVolumeCommand(window, APPCOMMAND_VOLUME_UP); return true;
    case IDM_VOLUME_DOWN: SendVolumeCommand(window, APPCOMMAND_VOLUME_DOWN); return true;
    case IDM_MUTE: ToggleMute(window); return true;
    case IDM_BRIGHTNESS_UP: ChangeBrightness(StepBrightness(appState.brightnessLevel, kBrightnessStep)); return true;
    case IDM_BRIGHTNESS_DOWN: ChangeBrightness(StepBrightness(appState.brightnessLevel, -kBrightnessStep)); return true;
    case IDM_BRIGHTNESS_DEFAULT: ChangeBrightness(kNormalBrightness); return true;
    case IDM_TOGGLE_TRAY_ICON: ToggleTrayIcon(window); return true;
    case IDM_EXIT: ConfirmExit(window, command, lParam); return true;
    case IDM_CD_OPEN: SetCdDoor("set CDAudio door open"); return true;
    case IDM_CD_CLOSE: SetCdDoor("set CDAudio door closed"); return true;
    case IDM_SHOW_DESKTOP: ShowDesktop(); return true;
    case IDM_SCREENSAVER: StartScreenSaver(); return true;
    case IDM_MONITOR_OFF: TurnMonitorOffAndLock(window); return true;
    case IDM_LOCK: LockWorkstation(); return true;
    case IDM_ABOUT: ShowAbout(); return true;
    case IDM_SCREENSHOT: OpenCaptureOverlay(); return true;
    case IDM_REMINDER: RunReminderCommand(); return true;
    case IDM_HOTKEY_SETTINGS: OpenHotkeySettings(window); return true;
    }
    return false;
}

static bool RunHandOffCommand(WPARAM command)
{
    switch (command) {
    case IDM_REBUILD_ICON_CACHE: RefreshIconMetrics(); return true;
    case IDM_AUTOSTART: ToggleAutostart(); return true;
    }
    return RunResolutionPreset(command) || RunPowerCommand(command);
}

void DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    // The whole wParam is compared, so a WM_COMMAND carrying a notification
    // code in its high word matches nothing.
    Tool tool = ToolFor(wParam);
    if (tool.file != NULL) {
        StartTool(tool.folder, tool.file, tool.kind);
        return;
    }
    if (RunShellCommand(window, wParam, lParam))
        return;
    RunHandOffCommand(wParam);
}
