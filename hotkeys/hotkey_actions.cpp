#include "hotkey_set.h"

#include "../resources/resource_ids.h"

// Each hotkey is registered under the number of the command it stands for,
// so the dispatcher serves hotkeys and menu items alike.
const HotkeyAction kHotkeyActions[HOTKEY_COUNT] = {
    {IDM_VOLUME_UP, 0, HOTKEY_COMBINATION(MOD_CONTROL, VK_RIGHT), WIDE("加大音量"), WIDE("VolumeUp")},
    {IDM_VOLUME_DOWN, 1, HOTKEY_COMBINATION(MOD_CONTROL, VK_LEFT), WIDE("减小音量"), WIDE("VolumeDown")},
    {IDM_MUTE, 2, HOTKEY_COMBINATION(MOD_CONTROL, VK_END), WIDE("静音"), WIDE("Mute")},
    {IDM_BRIGHTNESS_UP, 4, HOTKEY_COMBINATION(MOD_CONTROL, VK_UP), WIDE("加大亮度"), WIDE("BrightnessUp")},
    {IDM_BRIGHTNESS_DOWN, 5, HOTKEY_COMBINATION(MOD_CONTROL, VK_DOWN), WIDE("减小亮度"), WIDE("BrightnessDown")},
    {IDM_BRIGHTNESS_DEFAULT, 6, HOTKEY_COMBINATION(MOD_CONTROL, VK_HOME), WIDE("默认亮度"), WIDE("BrightnessDefault")},
    {IDM_TOGGLE_TRAY_ICON, 11, HOTKEY_COMBINATION(MOD_CONTROL, VK_F12), WIDE("隐藏/显示程序"), WIDE("ToggleTrayIcon")},
    {IDM_EXIT, 12, HOTKEY_COMBINATION(MOD_SHIFT, VK_END), WIDE("退出程序"), WIDE("Exit")},
    {IDM_MONITOR_OFF, 8, HOTKEY_COMBINATION(MOD_SHIFT, VK_INSERT), WIDE("关闭显示器"), WIDE("MonitorOff")},
    {IDM_SCREENSHOT, 9, HOTKEY_COMBINATION(MOD_CONTROL, VK_F3), WIDE("屏幕截图"), WIDE("Screenshot")},
};

const BYTE kHotkeyMenuOrder[HOTKEY_COUNT] = {0, 1, 2, 3, 4, 5, 8, 9, 6, 7};
