#include "hotkey_set.h"

// Names packed one after another, each ended by its zero, in the order of
// the codes they stand for.
static const BYTE kModifierCodes[] = {MOD_CONTROL, MOD_ALT, MOD_SHIFT};
static const WCHAR kModifierNames[] = WIDE("Ctrl+\0Alt+\0Shift+");
// The keys the menu has always named this way, whatever the keyboard
// layout would call them.
static const BYTE kKeyCodes[] = {VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_INSERT, VK_DELETE, VK_PRIOR, VK_NEXT};
static const WCHAR kKeyNames[] = WIDE("→\0←\0↑\0↓\0Home\0End\0Insert\0Delete\0PageUp\0PageDown");

static const WCHAR *NthName(const WCHAR *names, int n)
{
    while (n-- > 0)
        names += lstrlenW(names) + 1;
    return names;
}

// Copies what fits, always leaving the text ended.
static void Append(WCHAR *text, int &length, int capacity, const WCHAR *part)
{
    while (*part != 0 && length + 1 < capacity)
        text[length++] = *part++;
    text[length] = 0;
}

static const WCHAR *FixedKeyName(UINT key)
{
    for (int i = 0; i < (int)sizeof kKeyCodes; i++) {
        if (kKeyCodes[i] == key)
            return NthName(kKeyNames, i);
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
        WCHAR *digit = name;
        *digit++ = 'F';
        if (number >= 10)
            *digit++ = kDigits[number / 10];
        *digit = kDigits[number % 10];
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
    for (int i = 0; i < (int)sizeof kModifierCodes; i++) {
        if (HOTKEY_MODIFIERS(combination) & kModifierCodes[i])
            Append(text, length, capacity, NthName(kModifierNames, i));
    }
    AppendKeyName(text, length, capacity, HOTKEY_KEY(combination));
    return length;
}
