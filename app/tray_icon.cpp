#include "tray_icon.h"

#include "../platform/system_files.h"
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

// The fields every add sets. A re-add keeps the icon of the record and the
// tip of the moment, which may tell of an armed reminder.
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
static HICON LoadTrayIconSized(int width, int height)
{
    return (HICON)LoadImageW(appState.instance, WIDE("QZ"), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
}

static HICON LoadTrayIcon()
{
    int width = GetSystemMetrics(SM_CXSMICON);
    return LoadTrayIconSized(width, GetSystemMetrics(SM_CYSMICON));
}

typedef UINT(WINAPI *WindowDpiCall)(HWND window);
typedef int(WINAPI *MetricForDpiCall)(int index, UINT dpi);

// A change of the display's scale leaves GetSystemMetrics at the scale the
// program started with; the taskbar's own DPI tells the size the shell shows
// now. The calls exist from Windows 10 1607 on, so they are looked up; NULL
// where they are missing, or no taskbar is found (Wine has none): the icon
// then stays as it is.
static HICON LoadTrayIconAtTaskbarScale()
{
    HWND taskbar = FindWindowW(WIDE("Shell_TrayWnd"), NULL);
    if (taskbar == NULL)
        return NULL;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    WindowDpiCall dpiOfWindow;
    MetricForDpiCall metricForDpi;
    if (!FindEntry(user32, "GetDpiForWindow", dpiOfWindow) || !FindEntry(user32, "GetSystemMetricsForDpi", metricForDpi))
        return NULL;
    UINT dpi = dpiOfWindow(taskbar);
    if (dpi == 0)
        return NULL;
    int width = metricForDpi(SM_CXSMICON, dpi);
    return LoadTrayIconSized(width, metricForDpi(SM_CYSMICON, dpi));
}

static void DestroyTrayIcon(HICON icon)
{
    if (icon != NULL)
        DestroyIcon(icon);
}

static BOOL AddTrayIcon()
{
    BOOL added = Shell_NotifyIconW(NIM_ADD, &appState.trayIcon);
    appState.trayIconShown = 1;
    return added;
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

// Without a balloon: the toggle's add, and one after a taskbar restart.
static BOOL AddTrayIconQuietly(HWND window)
{
    appState.trayIcon.cbSize = TRAY_ICON_RECORD_SIZE;
    AddressTrayIcon(window);
    DescribeTrayIcon(kQuietFlags);
    return AddTrayIcon();
}

// Since Windows 10 a change of scale brings "TaskbarCreated" from an
// Explorer that did not restart and still shows the icon: the add fails
// there, and a modify hands it the new one. The icon it showed is destroyed
// once it holds the new one; if it took neither, it may still show the old
// one, which then stays, and the new one goes.
void AddTrayIconAgain(HWND window)
{
    NOTIFYICONDATAW &icon = appState.trayIcon;
    HICON previous = icon.hIcon;
    HICON resized = LoadTrayIconAtTaskbarScale();
    if (resized != NULL)
        icon.hIcon = resized;
    BOOL held = AddTrayIconQuietly(window) || Shell_NotifyIconW(NIM_MODIFY, &icon);
    if (resized == NULL)
        return;
    if (!held) {
        icon.hIcon = previous;
        previous = resized;
    }
    DestroyTrayIcon(previous);
}

void ReleaseTrayIcon()
{
    DestroyTrayIcon(appState.trayIcon.hIcon);
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
