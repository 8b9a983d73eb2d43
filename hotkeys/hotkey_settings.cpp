#include "hotkey_set.h"

static const WCHAR kHotkeysKey[] = WIDE("Software\\Ombrivale\\Hotkeys");

// Modifiers the settings dialog can show: no plain key, and not the Windows
// key, whose combinations Windows keeps for itself.
static bool Usable(DWORD combination)
{
    UINT modifiers = HOTKEY_MODIFIERS(combination);
    UINT key = HOTKEY_KEY(combination);
    return modifiers != 0 && (modifiers & ~(MOD_ALT | MOD_CONTROL | MOD_SHIFT)) == 0 && key != 0 && key <= 0xFE;
}

// 0 turns the hotkey off; anything but a usable four-byte REG_DWORD leaves
// the standard combination.
static DWORD ReadCombination(HKEY key, const HotkeyAction &action)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, action.valueName, NULL, &type, (LPBYTE)&value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return action.standard;
    return value == 0 || Usable(value) ? value : action.standard;
}

void LoadHotkeySettings()
{
    HKEY key;
    bool opened = RegOpenKeyExW(HKEY_CURRENT_USER, kHotkeysKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
    for (int i = 0; i < HOTKEY_COUNT; i++)
        appState.hotkeys[i] = opened ? ReadCombination(key, kHotkeyActions[i]) : kHotkeyActions[i].standard;
    if (opened)
        RegCloseKey(key);
}

static bool AnyDiffersFromStandard(const DWORD set[HOTKEY_COUNT])
{
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        if (set[i] != kHotkeyActions[i].standard)
            return true;
    }
    return false;
}

// A value that is already gone is as good as deleted.
static LSTATUS SaveCombination(HKEY key, const HotkeyAction &action, DWORD combination)
{
    if (combination != action.standard)
        return RegSetValueExW(key, action.valueName, 0, REG_DWORD, (const BYTE *)&combination, sizeof combination);
    LSTATUS status = RegDeleteValueW(key, action.valueName);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// The key is created only for a value to write: going back to the standard set
// writes nothing, and where there is no key there is no value to delete.
LSTATUS SaveHotkeySettings(const DWORD set[HOTKEY_COUNT])
{
    HKEY key;
    bool write = AnyDiffersFromStandard(set);
    LSTATUS status = write ? RegCreateKeyExW(HKEY_CURRENT_USER, kHotkeysKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL)
                           : RegOpenKeyExW(HKEY_CURRENT_USER, kHotkeysKey, 0, KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND && !write ? ERROR_SUCCESS : status;
    for (int i = 0; i < HOTKEY_COUNT; i++) {
        LSTATUS saved = SaveCombination(key, kHotkeyActions[i], set[i]);
        if (status == ERROR_SUCCESS)
            status = saved;
    }
    RegCloseKey(key);
    return status;
}
