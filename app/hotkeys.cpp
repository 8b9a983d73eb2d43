#include "hotkeys.h"

#include "../resources/resource_ids.h"
#include "../state/app_state.h"

// Each hotkey is registered under the number of the command it stands for,
// so the dispatcher serves hotkeys and menu items alike. Its name is the
// caption of its entry in the hotkey submenu, with the keys after the tab
// put in brackets, so the warning names it as the menu shows it. Packed:
// every command number fits 16 bits, modifiers and key 8 bits each.
struct Hotkey {
    WORD command;
    BYTE modifiers;
    BYTE key;
    const WCHAR *name;
};

static constexpr Hotkey kHotkeys[] = {
    {IDM_VOLUME_UP, MOD_CONTROL, VK_RIGHT, WIDE("加大音量（Ctrl+→）")},
    {IDM_VOLUME_DOWN, MOD_CONTROL, VK_LEFT, WIDE("减小音量（Ctrl+←）")},
    {IDM_MUTE, MOD_CONTROL, VK_END, WIDE("静音（Ctrl+End）")},
    {IDM_BRIGHTNESS_UP, MOD_CONTROL, VK_UP, WIDE("加大亮度（Ctrl+↑）")},
    {IDM_BRIGHTNESS_DOWN, MOD_CONTROL, VK_DOWN, WIDE("减小亮度（Ctrl+↓）")},
    {IDM_BRIGHTNESS_DEFAULT, MOD_CONTROL, VK_HOME, WIDE("默认亮度（Ctrl+Home）")},
    {IDM_TOGGLE_TRAY_ICON, MOD_CONTROL, VK_F12, WIDE("隐藏/显示程序（Ctrl+F12）")},
    {IDM_EXIT, MOD_SHIFT, VK_END, WIDE("退出程序（Shift+End）")},
    {IDM_MONITOR_OFF, MOD_SHIFT, VK_INSERT, WIDE("关闭显示器（Shift+Insert）")},
    {IDM_SCREENSHOT, MOD_CONTROL, VK_F3, WIDE("屏幕截图（Ctrl+F3）")},
};

static constexpr WCHAR kHotkeyWarning[] =
    WIDE("注册热键失败，部分功能你将无法正常使用。\r\n\r\n以下热键未能注册（可改用托盘菜单）：");
static constexpr WCHAR kLineBreak[] = WIDE("\r\n");

static constexpr int TextLength(const WCHAR *text)
{
    int length = 0;
    while (text[length] != 0)
        length++;
    return length;
}

// Room for the warning with all ten named, and its terminating zero.
static constexpr int WarningCapacity()
{
    int length = TextLength(kHotkeyWarning) + 1;
    for (const Hotkey &hotkey : kHotkeys)
        length += TextLength(kLineBreak) + TextLength(hotkey.name);
    return length;
}

// One box for all the failures, naming each: every command is still
// reachable from the menu.
void RegisterHotkeys(HWND window)
{
    WCHAR warning[WarningCapacity()];
    lstrcpyW(warning, kHotkeyWarning);
    bool anyFailed = false;
    for (const Hotkey &hotkey : kHotkeys) {
        if (RegisterHotKey(window, hotkey.command, hotkey.modifiers, hotkey.key))
            continue;
        anyFailed = true;
        lstrcatW(warning, kLineBreak);
        lstrcatW(warning, hotkey.name);
    }
    if (anyFailed)
        MessageBoxW(NULL, warning, WIDE(PROGRAM_NAME), MB_ICONWARNING);
}

// Windows refuses a combination that is already registered, even by this
// window, so a re-registration must let go of the ten first.
void UnregisterHotkeys(HWND window)
{
    for (const Hotkey &hotkey : kHotkeys)
        UnregisterHotKey(window, hotkey.command);
}
