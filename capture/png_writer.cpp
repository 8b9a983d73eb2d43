#include "png_writer.h"

#include "../state/app_state.h"
#include "../platform/system_files.h"

static const GpStatus kGdiplusOk = 0;

int FindEncoderByMime(const GdiplusEntries &gdiplus, LPCWSTR mimeType, CLSID *clsid)
{
    UINT count = 0;
    UINT size = 0;
    gdiplus.getImageEncodersSize(&count, &size);
    if (count == 0)
        return kEncoderNotFound;
    ImageCodecInfo *encoders = (ImageCodecInfo *)GlobalAlloc(GMEM_ZEROINIT, size);
    if (encoders == NULL)
        return kEncoderNotFound;
    gdiplus.getImageEncoders(count, size, encoders);
    int result = kEncoderNotFound;
    for (UINT i = 0; i < count; i++) {
        if (encoders[i].MimeType != NULL && lstrcmpW(encoders[i].MimeType, mimeType) == 0) {
            *clsid = encoders[i].Clsid;
            result = 0;
            break;
        }
    }
    GlobalFree(encoders);
    return result;
}

static BOOL WriteImage(const GdiplusEntries &gdiplus, HBITMAP bitmap, LPCWSTR fileName)
{
    GpBitmap *image = NULL;
    if (gdiplus.createBitmapFromHBITMAP(bitmap, NULL, &image) != kGdiplusOk)
        return FALSE;
    // Not found: the identifier of the last lookup that succeeded is used.
    FindEncoderByMime(gdiplus, WIDE("image/png"), &appState.pngEncoderClsid);
    GpStatus status = gdiplus.saveImageToFile(image, fileName, &appState.pngEncoderClsid, NULL);
    gdiplus.disposeImage(image);
    return status == kGdiplusOk;
}

static BOOL WriteWithGdiplus(const GdiplusEntries &gdiplus, HBITMAP bitmap, LPCWSTR fileName)
{
    GdiplusStartupInput input = {1, NULL, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (gdiplus.startup(&token, &input, NULL) != kGdiplusOk)
        return FALSE;
    BOOL written = WriteImage(gdiplus, bitmap, fileName);
    gdiplus.shutdown(token);
    return written;
}

static bool FindGdiplusEntries(HMODULE module, GdiplusEntries &gdiplus)
{
    return FindEntry(module, "GdiplusStartup", gdiplus.startup) &&
           FindEntry(module, "GdiplusShutdown", gdiplus.shutdown) &&
           FindEntry(module, "GdipCreateBitmapFromHBITMAP", gdiplus.createBitmapFromHBITMAP) &&
           FindEntry(module, "GdipDisposeImage", gdiplus.disposeImage) &&
           FindEntry(module, "GdipGetImageEncodersSize", gdiplus.getImageEncodersSize) &&
           FindEntry(module, "GdipGetImageEncoders", gdiplus.getImageEncoders) &&
           FindEntry(module, "GdipSaveImageToFile", gdiplus.saveImageToFile);
}

// gdiplus.dll is loaded only for a save: on Windows 7 it is no KnownDLL, and
// imported it would be looked for beside the program first at every start.
BOOL SaveBitmapAsPng(HBITMAP bitmap, LPCWSTR fileName)
{
    HMODULE module = LoadSystemLibrary(WIDE("gdiplus.dll"));
    if (module == NULL)
        return FALSE;
    GdiplusEntries gdiplus;
    BOOL written = FindGdiplusEntries(module, gdiplus) && WriteWithGdiplus(gdiplus, bitmap, fileName);
    FreeLibrary(module);
    return written;
}
