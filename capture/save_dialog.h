#ifndef OMBRIVALE_CAPTURE_SAVE_DIALOG_H
#define OMBRIVALE_CAPTURE_SAVE_DIALOG_H

#include "../platform/win32.h"

// Shows the system's save dialog over owner, offering the name in fileName.
// Non-zero when the user chose a file, whose path is then in fileName.
BOOL AskSaveFileName(HWND owner);

#endif
