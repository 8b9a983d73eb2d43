#include "capture_output.h"

#include "../app/app_state.h"
#include "capture_overlay.h"
#include "file_name.h"
#include "png_writer.h"
#include "save_dialog.h"

static void SaveAndClose(HWND overlay)
{
    appState.captureCounter++;
    AppendPngExtension(appState.fileName, sizeof appState.fileName);
    BOOL saved = SaveBitmapAsPng(appState.captureBitmap, appState.fileName);
    // The asterisk tells the user the file is there; a failed write gets the
    // error sound instead, as there is no file to find.
    MessageBeep(saved ? MB_ICONASTERISK : MB_ICONHAND);
    appState.captureActive = 0;
    SendMessageA(overlay, WM_CLOSE, kOverlayEndResult, 0);
    DeleteObject(appState.captureBitmap);
    InvalidateRect(overlay, NULL, FALSE);
}

static void CopyToClipboardAndClose(HWND overlay)
{
    if (OpenClipboard(NULL)) {
        EmptyClipboard();
        // Once placed, the picture is the clipboard's; refused, it is still ours.
        if (SetClipboardData(CF_BITMAP, appState.captureBitmap) == NULL)
            DeleteObject(appState.captureBitmap);
        CloseClipboard();
    } else {
        DeleteObject(appState.captureBitmap);
    }
    SendMessageA(overlay, WM_CLOSE, kOverlayEndResult, 0);
    appState.captureActive = 0;
}

void OutputCapture(HWND overlay)
{
    SuggestFileName(appState.fileName, appState.captureCounter);
    if (AskSaveFileName(overlay))
        SaveAndClose(overlay);
    else
        CopyToClipboardAndClose(overlay);
}
