#include "tray_icon.h"

#include "../resources/resource_ids.h"
#include "../state/app_state.h"

static const char kBalloonTitle[] = PROGRAM_NAME " v1.5";
// A number no subscriber can have: in China's numbering plan local numbers
// begin with 2 to 9, and 0 is the trunk prefix.
static const char kBalloonText[] =
    "作者：岑远舟　联系电话：0571-06651425\r\n"
    "立志做小巧的系统辅助软件，简单、方便、快捷。";

static_assert(sizeof kBalloonText <= sizeof appState.trayIcon.szInfo, "balloon text must fit its field");
#if defined(_WIN32) && !defined(_WIN64)
static_assert(TRAY_ICON_RECORD_SIZE == 488, "the 32-bit shell expects the 488-byte tray record");
#endif
static_assert(sizeof kBalloonTitle <= sizeof appState.trayIcon.szInfoTitle, "balloon title must fit its field");

static const UINT kTrayIconId = 1;
static const UINT kQuietFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
static const UINT kBalloonTimeout = 3;

static void AddressTrayIcon(HWND window)
{
    appState.trayIcon.hWnd = window;
    appState.trayIcon.uID = kTrayIconId;
}

// The fields every add sets: what, where the clicks go, and the tip.
static void DescribeTrayIcon(UINT flags)
{
    NOTIFYICONDATAA &icon = appState.trayIcon;
    icon.uFlags = flags;
    icon.uCallbackMessage = WM_TRAYICON;
    icon.hIcon = LoadIconA(appState.instance, "QZ");
    lstrcpyA(icon.szTip, PROGRAM_NAME);
}

static void AddTrayIcon()
{
    Shell_NotifyIconA(NIM_ADD, &appState.trayIcon);
    appState.trayIconShown = 1;
}

void AddTrayIconWithBalloon(HWND window)
{
    NOTIFYICONDATAA &icon = appState.trayIcon;
    icon.cbSize = TRAY_ICON_RECORD_SIZE;
    AddressTrayIcon(window);
    DescribeTrayIcon(kQuietFlags | NIF_INFO);
    icon.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    icon.uTimeout = kBalloonTimeout;
    lstrcpyA(icon.szInfo, kBalloonText);
    lstrcpyA(icon.szInfoTitle, kBalloonTitle);
    AddTrayIcon();
}

void AddTrayIconQuietly(HWND window)
{
    appState.trayIcon.cbSize = TRAY_ICON_RECORD_SIZE;
    AddressTrayIcon(window);
    DescribeTrayIcon(kQuietFlags);
    AddTrayIcon();
}

void DeleteTrayIcon(HWND window)
{
    AddressTrayIcon(window);
    Shell_NotifyIconA(NIM_DELETE, &appState.trayIcon);
}

void ToggleTrayIcon(HWND window)
{
    if (appState.trayIconShown == 0) {
        AddTrayIconQuietly(window);
        return;
    }
    DeleteTrayIcon(window);
    appState.trayIconShown = 0;
}
