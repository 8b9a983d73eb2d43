#include "tray_icon.h"

#include "../resources/resource_ids.h"
#include "../state/app_state.h"

static const WCHAR kBalloonTitle[] = WIDE(PROGRAM_NAME " v1.5");
// A number no subscriber can have: in China's numbering plan local numbers
// begin with 2 to 9, and 0 is the trunk prefix.
static const WCHAR kBalloonText[] =
    WIDE("作者：岑远舟　联系电话：0571-06651425\r\n"
         "立志做小巧的系统辅助软件，简单、方便、快捷。");

static_assert(sizeof kBalloonText <= sizeof appState.trayIcon.szInfo, "balloon text must fit its field");
static_assert(TRAY_ICON_RECORD_SIZE == (sizeof(void *) == 8 ? 952 : 936),
              "the shell expects the balloon-capable record: 936 bytes in a 32-bit program, 952 in a 64-bit one");
static_assert(sizeof kBalloonTitle <= sizeof appState.trayIcon.szInfoTitle, "balloon title must fit its field");

static const UINT kTrayIconId = 1;
static const UINT kQuietFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
static const UINT kBalloonTimeout = 3;

static void AddressTrayIcon(HWND window)
{
    appState.trayIcon.hWnd = window;
    appState.trayIcon.uID = kTrayIconId;
}

// The fields every add sets. A re-add keeps the icon loaded at start-up and
// the tip of the moment, which may tell of an armed reminder.
static void DescribeTrayIcon(UINT flags)
{
    NOTIFYICONDATAW &icon = appState.trayIcon;
    icon.uFlags = flags;
    icon.uCallbackMessage = WM_TRAYICON;
}

// The notification area shows the small icon, 16 px times the display's
// scale. The icon has frames drawn at 16, 20 and 24 px, so at 100, 125 and
// 150 % the shell gets one it need not scale (LoadIcon would give the large
// size, which the shell scales down and blurs).
static HICON LoadTrayIcon()
{
    int width = GetSystemMetrics(SM_CXSMICON);
    int height = GetSystemMetrics(SM_CYSMICON);
    return (HICON)LoadImageW(appState.instance, WIDE("QZ"), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
}

static void AddTrayIcon()
{
    Shell_NotifyIconW(NIM_ADD, &appState.trayIcon);
    appState.trayIconShown = 1;
}

void AddTrayIconWithBalloon(HWND window)
{
    NOTIFYICONDATAW &icon = appState.trayIcon;
    icon.cbSize = TRAY_ICON_RECORD_SIZE;
    AddressTrayIcon(window);
    DescribeTrayIcon(kQuietFlags | NIF_INFO);
    icon.hIcon = LoadTrayIcon();
    lstrcpyW(icon.szTip, WIDE(PROGRAM_NAME));
    icon.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    icon.uTimeout = kBalloonTimeout;
    lstrcpyW(icon.szInfo, kBalloonText);
    lstrcpyW(icon.szInfoTitle, kBalloonTitle);
    AddTrayIcon();
}

void AddTrayIconQuietly(HWND window)
{
    appState.trayIcon.cbSize = TRAY_ICON_RECORD_SIZE;
    AddressTrayIcon(window);
    DescribeTrayIcon(kQuietFlags);
    AddTrayIcon();
}

void ReleaseTrayIcon()
{
    if (appState.trayIcon.hIcon != NULL)
        DestroyIcon(appState.trayIcon.hIcon);
}

void DeleteTrayIcon(HWND window)
{
    AddressTrayIcon(window);
    Shell_NotifyIconW(NIM_DELETE, &appState.trayIcon);
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
