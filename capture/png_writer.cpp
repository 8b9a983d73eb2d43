#include "png_writer.h"

#include "../app/app_state.h"

static const GpStatus kGdiplusOk = 0;

static bool MimeTypeIs(const WCHAR *mimeType, LPCSTR wanted)
{
    char converted[40];
    // A type too long for the buffer fails to convert and may leave it
    // unterminated; it cannot be the one wanted either.
    if (WideCharToMultiByte(CP_ACP, 0, mimeType, -1, converted, sizeof converted, NULL, NULL) == 0)
        return false;
    return lstrcmpA(converted, wanted) == 0;
}

int FindEncoderByMime(LPCSTR mimeType, CLSID *clsid)
{
    UINT count = 0;
    UINT size = 0;
    GdipGetImageEncodersSize(&count, &size);
    if (count == 0)
        return kEncoderNotFound;
    ImageCodecInfo *encoders = (ImageCodecInfo *)GlobalAlloc(GMEM_ZEROINIT, size);
    if (encoders == NULL)
        return kEncoderNotFound;
    GdipGetImageEncoders(count, size, encoders);
    int result = kEncoderNotFound;
    for (UINT i = 0; i < count; i++) {
        if (MimeTypeIs(encoders[i].MimeType, mimeType)) {
            *clsid = encoders[i].Clsid;
            result = 0;
            break;
        }
    }
    GlobalFree(encoders);
    return result;
}

static BOOL WriteImage(HBITMAP bitmap, LPCSTR fileName)
{
    GpBitmap *image = NULL;
    if (GdipCreateBitmapFromHBITMAP(bitmap, NULL, &image) != kGdiplusOk)
        return FALSE;
    // Not found: the identifier of the last lookup that succeeded is used.
    FindEncoderByMime("image/png", &appState.pngEncoderClsid);
    WCHAR wideName[MAX_PATH];
    wideName[0] = 0;  // a name that fails to convert is then empty, not garbage
    MultiByteToWideChar(CP_ACP, 0, fileName, -1, wideName, MAX_PATH);
    GpStatus status = GdipSaveImageToFile(image, wideName, &appState.pngEncoderClsid, NULL);
    GdipDisposeImage(image);
    return status == kGdiplusOk;
}

BOOL SaveBitmapAsPng(HBITMAP bitmap, LPCSTR fileName)
{
    GdiplusStartupInput input = {1, NULL, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, NULL) != kGdiplusOk)
        return FALSE;
    BOOL written = WriteImage(bitmap, fileName);
    GdiplusShutdown(token);
    return written;
}
