#include "hotkey_set.h"

#include "../resources/resource_ids.h"

// The submenu's own text, "名称\t组合" or, for a hotkey that is off, the name
// alone. An entry whose hotkey is the standard one already reads right.
static void ShowHotkeyInMenu(HMENU submenu, const HotkeyAction &action, DWORD combination)
{
    WCHAR text[8 + 1 + HOTKEY_NAME_LENGTH];
    lstrcpyW(text, action.name);
    if (combination != 0) {
        lstrcatW(text, WIDE("\t"));
        int length = lstrlenW(text);
        NameCombination(combination, text + length, HOTKEY_NAME_LENGTH);
    }
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    if (combination == 0 && action.command == IDM_TOGGLE_TRAY_ICON) {
        info.fMask |= MIIM_STATE;
        info.fState = MFS_GRAYED;
    }
    SetMenuItemInfoW(submenu, HOTKEY_MENU_FIRST_POSITION + action.menuPosition, TRUE, &info);
}

void ShowHotkeysInMenu(HMENU hotkeySubmenu)
{
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        if (appState.hotkeys[i] != kHotkeyActions[i].standard)
            ShowHotkeyInMenu(hotkeySubmenu, kHotkeyActions[i], appState.hotkeys[i]);
    }
}
