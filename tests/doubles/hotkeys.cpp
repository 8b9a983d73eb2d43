#include "fake_routines.h"
#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_set.h"

void LoadHotkeySettings()
{
    ActiveRoutines().LoadHotkeySettings();
}

void RegisterHotkeysInForce(HWND window)
{
    ActiveRoutines().RegisterHotkeysInForce(window);
}

void ShowHotkeysInMenu(HMENU hotkeySubmenu)
{
    ActiveRoutines().ShowHotkeysInMenu(hotkeySubmenu);
}

void OpenHotkeySettings(HWND window)
{
    ActiveRoutines().OpenHotkeySettings(window);
}
