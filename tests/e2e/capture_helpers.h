// Helpers for the screenshot tests: a window of known colours, real pointer
// input through xdotool, the overlay and its save dialog, and PNG decoding.
#ifndef OMBRIVALE_TESTS_E2E_CAPTURE_HELPERS_H
#define OMBRIVALE_TESTS_E2E_CAPTURE_HELPERS_H

#include <string>
#include <vector>

#include "harness.h"

// 32-bit 0x00RRGGBB pixels, row by row, as GetDIBits gives them.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> rgb;
    DWORD At(int x, int y) const { return rgb[y * width + x]; }
};

// A topmost window at place, painted in four quadrants of known colours.
HWND ShowColourWindow(RECT place);
// Handles this process's messages for a while, so its windows paint.
void PumpMessages(DWORD milliseconds);

// Runs /usr/bin/xdotool with these arguments (the X pointer and keyboard);
// under Wine a Unix path starts the native program.
void Xdotool(const std::string &arguments);
// The xdotool command that moves the pointer to the screen point (x, y).
std::string MoveTo(int x, int y);
// Left drag with the real pointer from (x1, y1) to (x2, y2).
void DragPointer(int x1, int y1, int x2, int y2);

// The program's visible overlay: a captionless dialog window; NULL if none.
HWND FindOverlay(DWORD processId);
HWND WaitForOverlay(DWORD processId, DWORD milliseconds = 5000);
// A drag posted to the overlay: press, one move, release.
void PostDrag(HWND overlay, POINT from, POINT to);
// A right release posted to the overlay; true once it has gone.
bool CancelOverlay(HWND overlay);
int CountOverlays(DWORD processId);
// A visible dialog of the process other than the overlay (a message box).
HWND WaitForBoxBeside(DWORD processId, HWND overlay, DWORD milliseconds = 5000);

const wchar_t kSaveDialogTitle[] = L"Ombrivale 截图保存";
HWND WaitForSaveDialog(DWORD processId);
// The edit that holds the save dialog's file name.
HWND FileNameField(HWND dialog);
std::wstring SaveDialogFileName(HWND dialog);
// Types the path into the file name field and presses Save.
void ChooseFileAndSave(HWND dialog, const std::wstring &path);

Pixels GrabScreenPixels(RECT rect);
Pixels BitmapPixels(HBITMAP bitmap);
// Decoded through GDI+; width 0 when the file cannot be read.
Pixels ReadPng(const std::wstring &path);
// The size of the CF_BITMAP on the clipboard, {0, 0} when there is none.
SIZE ClipboardBitmapSize();
// The same, read in this process, as MAKELONG(height, width); what the test
// program answers when started with this argument.
const wchar_t kClipboardSizeArgument[] = L"--clipboard-bitmap-size";
DWORD ClipboardBitmapSizeHere();

#endif
