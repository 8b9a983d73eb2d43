#include "hotkeys.h"

#include "../resources/resource_ids.h"
#include "../state/app_state.h"

// Each hotkey is registered under the number of the command it stands for,
// so the dispatcher serves hotkeys and menu items alike.
struct Hotkey {
    int command;
    UINT modifiers;
    UINT key;
};

static const Hotkey kHotkeys[] = {
    {IDM_VOLUME_UP, MOD_CONTROL, VK_RIGHT},
    {IDM_VOLUME_DOWN, MOD_CONTROL, VK_LEFT},
    {IDM_MUTE, MOD_CONTROL, VK_END},
    {IDM_BRIGHTNESS_UP, MOD_CONTROL, VK_UP},
    {IDM_BRIGHTNESS_DOWN, MOD_CONTROL, VK_DOWN},
    {IDM_BRIGHTNESS_DEFAULT, MOD_CONTROL, VK_HOME},
    {IDM_TOGGLE_TRAY_ICON, MOD_CONTROL, VK_F12},
    {IDM_EXIT, MOD_SHIFT, VK_END},
    {IDM_MONITOR_OFF, MOD_SHIFT, VK_INSERT},
    {IDM_SCREENSHOT, MOD_CONTROL, VK_F3},
};

static const WCHAR kHotkeyWarning[] = WIDE("注册热键失败，部分功能你将无法正常使用。");

void RegisterHotkeys(HWND window)
{
    bool anyFailed = false;
    for (const Hotkey &hotkey : kHotkeys) {
        if (!RegisterHotKey(window, hotkey.command, hotkey.modifiers, hotkey.key))
            anyFailed = true;
    }
    // One box, naming none: every command is still reachable from the menu.
    if (anyFailed)
        MessageBoxW(NULL, kHotkeyWarning, WIDE(PROGRAM_NAME), MB_ICONWARNING);
}

// Windows refuses a combination that is already registered, even by this
// window, so a re-registration must let go of the ten first.
void UnregisterHotkeys(HWND window)
{
    for (const Hotkey &hotkey : kHotkeys)
        UnregisterHotKey(window, hotkey.command);
}
