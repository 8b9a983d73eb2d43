// PNG files through the GDI+ flat interface.
#ifndef OMBRIVALE_CAPTURE_PNG_WRITER_H
#define OMBRIVALE_CAPTURE_PNG_WRITER_H

#include "../platform/win32.h"

// FindEncoderByMime's result when no installed encoder has the type.
static const int kEncoderNotFound = 21;

// The GDI+ entries a save uses, looked up in the system's gdiplus.dll.
struct GdiplusEntries {
    decltype(&GdiplusStartup) startup;
    decltype(&GdiplusShutdown) shutdown;
    decltype(&GdipCreateBitmapFromHBITMAP) createBitmapFromHBITMAP;
    decltype(&GdipDisposeImage) disposeImage;
    decltype(&GdipGetImageEncodersSize) getImageEncodersSize;
    decltype(&GdipGetImageEncoders) getImageEncoders;
    decltype(&GdipSaveImageToFile) saveImageToFile;
};

// Writes the bitmap as a PNG file; TRUE only when the file was written.
// gdiplus.dll is loaded, and GDI+ runs, only for the duration of the call;
// without the module or one of its entries nothing is written.
BOOL SaveBitmapAsPng(HBITMAP bitmap, LPCWSTR fileName);
// 0 and the encoder's identifier in clsid for the first encoder with exactly
// that MIME type; kEncoderNotFound, clsid untouched, otherwise.
int FindEncoderByMime(const GdiplusEntries &gdiplus, LPCWSTR mimeType, CLSID *clsid);

#endif
