// PNG files through the GDI+ flat interface.
#ifndef OMBRIVALE_CAPTURE_PNG_WRITER_H
#define OMBRIVALE_CAPTURE_PNG_WRITER_H

#include "../platform/win32.h"

// FindEncoderByMime's result when no installed encoder has the type.
static const int kEncoderNotFound = 21;

// Writes the bitmap as a PNG file; TRUE only when the file was written.
// GDI+ runs only for the duration of the call.
BOOL SaveBitmapAsPng(HBITMAP bitmap, LPCSTR fileName);
// 0 and the encoder's identifier in clsid for the first encoder with exactly
// that MIME type; kEncoderNotFound, clsid untouched, otherwise.
int FindEncoderByMime(LPCSTR mimeType, CLSID *clsid);

#endif
