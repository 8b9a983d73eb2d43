// The one process-wide record of the program's state, and the names every
// layer shares. Every subsystem reads and writes its own fields here; all of
// them live for the whole run. It sits below the subsystems, so that none of
// them reaches up into the program's shell for it.
#ifndef OMBRIVALE_STATE_APP_STATE_H
#define OMBRIVALE_STATE_APP_STATE_H

#include "../platform/win32.h"

struct Point32 {
    DWORD x;
    DWORD y;
};

struct AppState {
    // Shell
    HINSTANCE instance;
    NOTIFYICONDATAA trayIcon;
    DWORD trayIconShown;
    DWORD createdOnce;
    DWORD creationInProgress;
    DWORD muted;
    LONG brightnessLevel;
    char modulePath[MAX_PATH];
    HMENU popupMenu;
    HMODULE sessionNotifications;  // wtsapi32, while the window is registered

    // Autostart
    DWORD autostartEnabled;

    // Capture
    DWORD captureActive;
    HBITMAP captureBitmap;
    DWORD dragging;
    Point32 dragAnchor;
    Point32 dragCorner;
    DWORD captureCounter;
    char fileName[MAX_PATH];
    CLSID pngEncoderClsid;

    // Reminder
    DWORD reminderArmed;
    DWORD reminderAction;
    char reminderText[1024];
    LONG reminderMinutes;
    UINT_PTR reminderTimer;
    HWND reminderDialog;  // the open dialog, visible or armed; none once it has fired
};

// Brightness starts at the identity gamma multiplier; everything else is zero.
constexpr LONG kNormalBrightness = 256;
constexpr AppState kAppStateAtStart = {.brightnessLevel = kNormalBrightness};

extern AppState appState;

// The caption of the program's message boxes and its tray tip.
#define PROGRAM_NAME "Ombrivale"

#endif
