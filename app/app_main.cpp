#include "app_main.h"

#include "../state/app_state.h"
#include "main_window.h"
#include "tray_icon.h"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "the 32-bit class record is 48 bytes");
#endif

static const WCHAR kSecondCopyWarning[] = WIDE("你不用开很多次的，已经够啦！");

// The system colour number plus one, as a class brush; never painted.
static const ULONG_PTR kBackgroundBrush = 12;

static const char kInstanceMutexName[] = "Ombrivale.SingleInstance";

// Any top-level window with our title means a copy is already running. Two
// copies started at the same instant both pass that check before either
// window exists, so the first to create the named mutex is the one that
// runs; it holds the mutex until its loop ends.
static bool AnotherCopyIsRunning(HANDLE *instanceMutex)
{
    *instanceMutex = NULL;
    if (FindWindowW(NULL, WIDE(MAIN_WINDOW_TITLE)) != NULL)
        return true;
    *instanceMutex = CreateMutexA(NULL, FALSE, kInstanceMutexName);
    // Refused access means a copy running as administrator holds it.
    if (*instanceMutex == NULL)
        return GetLastError() == ERROR_ACCESS_DENIED;
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    CloseHandle(*instanceMutex);
    *instanceMutex = NULL;
    return true;
}

static void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "QZ");
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)kBackgroundBrush;
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    windowClass.hIconSm = windowClass.hIcon;
    RegisterClassExA(&windowClass);
}

// WS_POPUP alone keeps the window invisible; it exists to receive messages.
static HWND CreateMainWindow(HINSTANCE instance)
{
    return CreateWindowExA(WS_EX_TOOLWINDOW, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_POPUP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           NULL, NULL, instance, NULL);
}

static int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int AppMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HANDLE instanceMutex;
    if (AnotherCopyIsRunning(&instanceMutex)) {
        MessageBoxW(NULL, kSecondCopyWarning, WIDE(PROGRAM_NAME), MB_ICONWARNING);
        ExitProcess(0);
        return 0;
    }
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    AddTrayIconWithBalloon(window);
    int exitCode = RunMessageLoop();
    ReleaseTrayIcon();
    if (instanceMutex != NULL)
        CloseHandle(instanceMutex);
    return exitCode;
}
