// The names of saved screenshots.
#ifndef OMBRIVALE_CAPTURE_FILE_NAME_H
#define OMBRIVALE_CAPTURE_FILE_NAME_H

#include "../platform/win32.h"

// "截图00.png", "截图01.png" ... "截图100.png": the name the save dialog offers.
void SuggestFileName(WCHAR *name, DWORD counter);
// Adds ".png" unless the path already contains it anywhere (case-sensitive)
// or the buffer of that many characters has no room left for it.
void AppendPngExtension(WCHAR *path, int size);

#endif
