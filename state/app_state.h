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

// The reminder's message in UTF-16 units, the terminating zero included.
#define REMINDER_TEXT_LENGTH 1024
// "定时提醒：明天 00:30 关机" and its terminating zero, with room to spare.
#define REMINDER_LINE_LENGTH 24
// The hotkeys the program registers, one per action.
#define HOTKEY_COUNT 10

struct AppState {
    // Shell
    HINSTANCE instance;
    NOTIFYICONDATAW trayIcon;
    DWORD trayIconShown;
    DWORD createdOnce;
    DWORD creationInProgress;
    DWORD leaving;  // the main window's destruction has begun: no box leads anywhere now
    DWORD muted;
    LONG brightnessLevel;
    WCHAR modulePath[MAX_PATH];  // empty when Windows could not give it whole
    HMENU popupMenu;
    HMODULE sessionNotifications;  // wtsapi32, while the window is registered
    DWORD sessionRetries;  // the registration's retries set so far

    // Autostart
    DWORD autostartEnabled;

    // Capture
    DWORD captureActive;
    HBITMAP captureBitmap;
    DWORD dragging;
    Point32 dragAnchor;
    Point32 dragCorner;
    DWORD captureCounter;
    WCHAR fileName[MAX_PATH];
    CLSID pngEncoderClsid;

    // Reminder
    DWORD reminderArmed;
    DWORD reminderAction;
    WCHAR reminderText[REMINDER_TEXT_LENGTH];
    LONG reminderMinutes;
    UINT_PTR reminderTimer;
    HWND reminderDialog;  // the open dialog, visible or armed; none once it has fired
    WCHAR reminderLine[REMINDER_LINE_LENGTH];  // when and what, for the tip and the cancel question
    DWORD reminderQuestion;  // the cancel question: none, open, or open after the time came

    // Hotkeys
    DWORD hotkeys[HOTKEY_COUNT];  // the combinations in force, in registration order; 0 is off
    HWND hotkeyDialog;  // the open settings dialog, until it ends
    HWND hotkeyWindow;  // the window the settings dialog registers the hotkeys on
};

// The identity gamma multiplier, at which brightness starts.
constexpr LONG kNormalBrightness = 256;

// Zero-initialised, so the record takes no room in the executable file;
// SetStartValues gives the few fields that do not start at zero their value.
extern AppState appState;
void SetStartValues();

// The caption of the program's message boxes and its tray tip.
#define PROGRAM_NAME "Ombrivale"

#endif
