#include "capture_output.h"

#include "../state/app_state.h"
#include "capture_overlay.h"
#include "file_name.h"
#include "png_writer.h"
#include "save_dialog.h"

// Another program may hold the clipboard for a moment: a few tries within
// about half a second before giving up.
static const int kClipboardTries = 5;
static const DWORD kClipboardRetryDelay = 100;

// The clipboard needs an owner that outlives the data: with none, Windows
// refuses SetClipboardData. The overlay ends right after, so the hidden main
// window, which lives for the whole run (the tray icon's window), owns it.
static BOOL OpenClipboardForMainWindow()
{
    HWND owner = appState.trayIcon.hWnd;
    for (int tries = 1;; tries++) {
        if (OpenClipboard(owner))
            return TRUE;
        if (tries == kClipboardTries)
            return FALSE;
        Sleep(kClipboardRetryDelay);
    }
}

// True once the picture is the clipboard's; otherwise it has been released.
static bool HandPictureToClipboard()
{
    bool placed = false;
    if (OpenClipboardForMainWindow()) {
        EmptyClipboard();
        placed = SetClipboardData(CF_BITMAP, appState.captureBitmap) != NULL;
        CloseClipboard();
    }
    if (!placed)
        DeleteObject(appState.captureBitmap);
    return placed;
}

static void CloseAfterClipboard(HWND overlay)
{
    SendMessageA(overlay, WM_CLOSE, kOverlayEndResult, 0);
    appState.captureActive = 0;
}

static void SaveAndClose(HWND overlay)
{
    appState.captureCounter++;
    AppendPngExtension(appState.fileName, MAX_PATH);
    if (!SaveBitmapAsPng(appState.captureBitmap, appState.fileName)) {
        // No file to find: the error sound, and the picture is kept on the
        // clipboard so the user can still paste it.
        MessageBeep(MB_ICONHAND);
        HandPictureToClipboard();
        CloseAfterClipboard(overlay);
        return;
    }
    MessageBeep(MB_ICONASTERISK);
    appState.captureActive = 0;
    SendMessageA(overlay, WM_CLOSE, kOverlayEndResult, 0);
    DeleteObject(appState.captureBitmap);
    InvalidateRect(overlay, NULL, FALSE);
}

static void CopyToClipboardAndClose(HWND overlay)
{
    if (!HandPictureToClipboard())
        MessageBeep(MB_ICONHAND);  // the picture is lost: not silently
    CloseAfterClipboard(overlay);
}

void OutputCapture(HWND overlay)
{
    SuggestFileName(appState.fileName, appState.captureCounter);
    if (AskSaveFileName(overlay))
        SaveAndClose(overlay);
    else
        CopyToClipboardAndClose(overlay);
}
