// Helpers for driving the tray popup from outside the program: open it the
// way the shell does, press keys and click as a user would, look at its
// pixels, and read the memory of the program's Wine process from Linux.
#ifndef OMBRIVALE_TESTS_E2E_TRAY_MENU_HELPERS_H
#define OMBRIVALE_TESTS_E2E_TRAY_MENU_HELPERS_H

#include "harness.h"

// The visible popup menu windows ("#32768") of the process, outermost first.
std::vector<HWND> MenuWindows(DWORD processId);
// Posts the tray callback with that mouse message, the pointer at 'at', and
// waits up to 'milliseconds' for the popup; NULL when none opens.
HWND OpenTrayMenu(const Program &program, LPARAM mouseMessage, POINT at, DWORD milliseconds = 3000);
bool WaitForMenusClosed(DWORD processId, DWORD milliseconds = 3000);

// Opens the tray popup at 'at', then its submenu at that position with the
// keyboard, and returns the submenu's pixels (empty, with a test failure, if
// it did not open); the menu is closed again.
std::vector<COLORREF> SubmenuPixels(const Program &program, int position, POINT at, int &width);
// The first row, counted from the top, where two pictures differ; -1 if none.
int FirstDifferentRow(const std::vector<COLORREF> &a, const std::vector<COLORREF> &b, int width);

void PressKey(WORD key);
void ClickAt(POINT at);

// The pixels of a window as they are on the screen, row by row, and the
// rectangle they were taken from (empty if the window is gone).
std::vector<COLORREF> WindowPixels(HWND window, RECT &rect);
// The middle of the row of a menu window drawn in the highlight colour.
bool FindHighlightedRow(HWND menu, POINT &middle);
// Presses the key and waits until the menu's highlight has moved away from
// where it was (or appeared), so that each press is counted: a loaded machine
// can hold several presses in the queue. The new row's middle goes in at.
bool MoveHighlight(HWND menu, WORD key, POINT &at);

// The Linux pid of the newest Wine process running the executable at that
// Windows path (0 if none), and its resident memory in kB, read from /proc
// through Wine's Z: drive.
DWORD UnixProcessOf(const std::wstring &executablePath);
long ResidentKilobytes(DWORD unixPid);

#endif
