#include "../platform/broadcast.h"
#include "../platform/scoped_gdi.h"
#include "display.h"

static const char kWindowMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";
static const WCHAR kIconSizeValue[] = WIDE("Shell Icon Size");
static const int kUnscaledDpi = 96;

// Writes the icon width as text (with its NUL) and tells every top-level
// window that a setting changed.
static void WriteIconSize(HKEY key, DWORD width)
{
    WCHAR text[11];  // ten digits and the NUL: the longest unsigned 32-bit value
    int length = wsprintfW(text, WIDE("%lu"), width);
    RegSetValueExW(key, kIconSizeValue, 0, REG_SZ, (const BYTE *)text, ((DWORD)length + 1) * sizeof(WCHAR));
    BroadcastWithoutHanging(WM_SETTINGCHANGE, 0, 0);
}

// The program declares itself DPI-aware, so on a scaled display the metric
// comes at the display's scale; the value is written, as it always was, at
// 96 DPI, where it is the same number as before.
static DWORD IconWidthAtUnscaledDpi()
{
    int width = GetSystemMetrics(SM_CXICON);
    ScopedGetDC screen(NULL);
    int dpi = screen.dc != NULL ? GetDeviceCaps(screen.dc, LOGPIXELSX) : kUnscaledDpi;
    if (dpi > 0 && dpi != kUnscaledDpi)
        width = (width * kUnscaledDpi + dpi / 2) / dpi;
    return (DWORD)width;
}

// Writing the value the shell already has, twice, makes it rebuild its icons.
// The key is opened for this refresh alone and closed after it; a key that
// would not open means nothing is written and nothing is announced.
void RefreshIconMetrics()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kWindowMetricsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    DWORD width = IconWidthAtUnscaledDpi();
    WriteIconSize(key, width);
    WriteIconSize(key, width);
    RegCloseKey(key);
}
