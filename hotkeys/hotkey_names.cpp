#include "hotkey_set.h"

// Packed: every name is short, and a key code fits 8 bits.
struct FixedName {
    BYTE code;
    WCHAR name[9];
};

static const FixedName kModifierNames[] = {
    {MOD_CONTROL, WIDE("Ctrl+")},
    {MOD_ALT, WIDE("Alt+")},
    {MOD_SHIFT, WIDE("Shift+")},
};

// The keys the menu has always named this way, whatever the keyboard
// layout would call them.
static const FixedName kKeyNames[] = {
    {VK_RIGHT, WIDE("→")},         {VK_LEFT, WIDE("←")},       {VK_UP, WIDE("↑")},
    {VK_DOWN, WIDE("↓")},          {VK_HOME, WIDE("Home")},    {VK_END, WIDE("End")},
    {VK_INSERT, WIDE("Insert")},   {VK_DELETE, WIDE("Delete")}, {VK_PRIOR, WIDE("PageUp")},
    {VK_NEXT, WIDE("PageDown")},
};

// Copies what fits, always leaving the text ended.
static void Append(WCHAR *text, int &length, int capacity, const WCHAR *part)
{
    while (*part != 0 && length + 1 < capacity)
        text[length++] = *part++;
    text[length] = 0;
}

static const WCHAR *FixedKeyName(UINT key)
{
    for (const FixedName &fixed : kKeyNames) {
        if (fixed.code == key)
            return fixed.name;
    }
    return NULL;
}

// Keys whose scan code comes with the E0 prefix: without the bit they would
// be named after their twin on the number pad or on the left.
static bool HasExtendedBit(UINT key)
{
    return key == VK_CANCEL || key == VK_SNAPSHOT || (key >= VK_LWIN && key <= VK_APPS) || key == VK_DIVIDE ||
           key == VK_NUMLOCK || key == VK_RCONTROL || (key >= VK_RMENU && key <= VK_LAUNCH_APP2);
}

static const WCHAR kDigits[] = WIDE("0123456789ABCDEF");

// "F1" to "F24", a letter or a digit, or the layout's name of the key; a
// key the layout has no name for is shown by its code, "0xE2".
static void AppendKeyName(WCHAR *text, int &length, int capacity, UINT key)
{
    WCHAR name[5] = {};
    if (const WCHAR *fixed = FixedKeyName(key)) {
        Append(text, length, capacity, fixed);
        return;
    }
    if (key >= VK_F1 && key <= VK_F24) {
        UINT number = key - VK_F1 + 1;
        name[0] = 'F';
        name[1] = number >= 10 ? kDigits[number / 10] : kDigits[number];
        name[2] = number >= 10 ? kDigits[number % 10] : 0;
    } else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        name[0] = (WCHAR)key;
    } else {
        LONG scan = (LONG)MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16 | (HasExtendedBit(key) ? 1L << 24 : 0);
        if (length + 1 < capacity && GetKeyNameTextW(scan, text + length, capacity - length) > 0) {
            length += lstrlenW(text + length);
            return;
        }
        name[0] = '0';
        name[1] = 'x';
        name[2] = kDigits[key >> 4 & 15];
        name[3] = kDigits[key & 15];
    }
    Append(text, length, capacity, name);
}

int NameCombination(DWORD combination, WCHAR *text, int capacity)
{
    int length = 0;
    text[0] = 0;
    if (combination == 0)
        return 0;
    for (const FixedName &modifier : kModifierNames) {
        if (HOTKEY_MODIFIERS(combination) & modifier.code)
            Append(text, length, capacity, modifier.name);
    }
    AppendKeyName(text, length, capacity, HOTKEY_KEY(combination));
    return length;
}
