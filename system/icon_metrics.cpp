#include "../platform/broadcast.h"
#include "display.h"

static const char kWindowMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";
static const char kIconSizeValue[] = "Shell Icon Size";

// Writes the icon width as text (with its NUL) and tells every top-level
// window that a setting changed.
static void WriteIconSize(HKEY key, DWORD width)
{
    char text[11];  // ten digits and the NUL: the longest unsigned 32-bit value
    int length = wsprintfA(text, "%lu", width);
    RegSetValueExA(key, kIconSizeValue, 0, REG_SZ, (const BYTE *)text, (DWORD)length + 1);
    BroadcastWithoutHanging(WM_SETTINGCHANGE, 0, 0);
}

// Writing the value the shell already has, twice, makes it rebuild its icons.
// The key is opened for this refresh alone and closed after it; a key that
// would not open means nothing is written and nothing is announced.
void RefreshIconMetrics()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kWindowMetricsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    DWORD width = (DWORD)GetSystemMetrics(SM_CXICON);
    WriteIconSize(key, width);
    WriteIconSize(key, width);
    RegCloseKey(key);
}
