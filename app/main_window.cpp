#include "main_window.h"

#include "../autostart/autostart.h"
#include "../resources/resource_ids.h"
#include "../tray/tray_menu.h"
#include "app_state.h"
#include "dispatch.h"
#include "hotkeys.h"
#include "tray_icon.h"

// Runs at window creation and again after every taskbar restart.
static LRESULT OnCreate(HWND window)
{
    GetModuleFileNameA(NULL, appState.modulePath, sizeof appState.modulePath);
    ReadAutostartState();
    RegisterHotkeys(window);
    if (appState.createdOnce == 0) {
        // The start-up add, with its balloon, follows once the window exists.
        appState.createdOnce = 1;
        return 0;
    }
    AddTrayIconQuietly(window);
    return 0;
}

// The window is not destroyed: removing the icon and leaving the loop is all
// the program has to tidy.
static LRESULT OnDestroy(HWND window)
{
    DeleteTrayIcon(window);
    PostQuitMessage(0);
    return 0;
}

static LRESULT OnTrayIcon(HWND window, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN)
        ShowTrayMenu(window);
    return 0;
}

// The shell broadcasts "TaskbarCreated" when Explorer restarts; the icon
// must then be added again.
static LRESULT OnOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RegisterWindowMessageA("TaskbarCreated"))
        return SendMessageA(window, WM_CREATE, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    if (message == WM_DESTROY)
        return OnDestroy(window);
    if (message == WM_COMMAND || message == WM_HOTKEY) {
        DispatchCommand(window, wParam, lParam);
        return 0;
    }
    if (message == WM_TRAYICON)
        return OnTrayIcon(window, lParam);
    return OnOtherMessage(window, message, wParam, lParam);
}
