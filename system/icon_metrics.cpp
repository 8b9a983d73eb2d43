#include "../app/app_state.h"
#include "display.h"

static const char kWindowMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";
static const char kIconSizeValue[] = "Shell Icon Size";

// Writes the icon width as text (with its NUL) and tells every top-level
// window that a setting changed.
static void WriteIconSize(DWORD width)
{
    char text[11];  // ten digits and the NUL: the longest unsigned 32-bit value
    int length = wsprintfA(text, "%lu", width);
    RegSetValueExA(appState.registryKey, kIconSizeValue, 0, REG_SZ, (const BYTE *)text, (DWORD)length + 1);
    SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0);
}

// Writing the value the shell already has, twice, makes it rebuild its icons.
// The key slot is shared with the autostart value, so a key that would not
// open must not lead to a write through whatever the slot held before.
void RefreshIconMetrics()
{
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kWindowMetricsKey, 0, KEY_ALL_ACCESS, &appState.registryKey) !=
        ERROR_SUCCESS)
        return;
    DWORD width = (DWORD)GetSystemMetrics(SM_CXICON);
    WriteIconSize(width);
    WriteIconSize(width);
    RegCloseKey(appState.registryKey);
    appState.registryKey = NULL;
}
