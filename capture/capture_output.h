#ifndef OMBRIVALE_CAPTURE_CAPTURE_OUTPUT_H
#define OMBRIVALE_CAPTURE_CAPTURE_OUTPUT_H

#include "../platform/win32.h"

// Delivers the region picture in captureBitmap: saved as a PNG file when the
// user picks one, else put on the clipboard; then ends the overlay.
void OutputCapture(HWND overlay);

#endif
