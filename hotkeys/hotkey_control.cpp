#include "hotkey_control.h"

#include "../platform/system_files.h"
#include "hotkey_set.h"

// The control's flags and RegisterHotKey's modifiers name the same three
// keys with Alt and Shift swapped: HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2,
// HOTKEYF_ALT 4 against MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4. The swap is
// its own inverse, so one function converts both ways.
static UINT SwapAltAndShift(UINT bits)
{
    return (bits & 2) | (bits & 1) << 2 | (bits & 4) >> 2;
}

// The keys the control names by their extended scan code: without the flag,
// Ctrl+← reads as the number pad's Ctrl+4.
static bool HasExtendedKey(UINT key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
}

WORD HotkeyControlValue(DWORD combination)
{
    UINT key = HOTKEY_KEY(combination);
    UINT flags = SwapAltAndShift(HOTKEY_MODIFIERS(combination) & 7);
    if (HasExtendedKey(key))
        flags |= HOTKEYF_EXT;
    return (WORD)(key | flags << 8);
}

// The extended flag only names the physical key; it is no modifier.
DWORD CombinationOfHotkeyControl(LRESULT value)
{
    UINT key = (UINT)value & 0xFF;
    UINT modifiers = SwapAltAndShift((UINT)value >> 8 & 7);
    return key != 0 && modifiers != 0 ? HOTKEY_COMBINATION(modifiers, key) : 0;
}

typedef BOOL(WINAPI *InitControlsCall)(const INITCOMMONCONTROLSEX *classes);

// comctl32.dll stays out of the import table, where only the core system
// DLLs belong: like winmm, it is loaded from the system folder by its full
// path, only while the dialog needs it.
HMODULE LoadHotkeyControlClass()
{
    HMODULE comctl = LoadSystemLibrary(WIDE("comctl32.dll"));
    if (comctl == NULL)
        return NULL;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_HOTKEY_CLASS};
    InitControlsCall initControls;
    if (FindEntry(comctl, "InitCommonControlsEx", initControls) && initControls(&classes))
        return comctl;
    FreeLibrary(comctl);
    return NULL;
}
