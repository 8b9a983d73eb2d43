// The few GDI+ flat-interface calls the program makes, declared here so that
// the program does not pull in the C++ GDI+ wrapper headers. On the host the
// calls themselves come from the call list (host/win32_api.def), so only the
// types are declared there.
#ifndef OMBRIVALE_PLATFORM_GDIPLUS_FLAT_H
#define OMBRIVALE_PLATFORM_GDIPLUS_FLAT_H

typedef int GpStatus;
// Opaque to us: a GDI+ bitmap is an image, and the flat calls take either.
struct GpImage;
typedef GpImage GpBitmap;

typedef void(WINAPI *DebugEventProc)(int level, CHAR *message);

struct GdiplusStartupInput {
    UINT GdiplusVersion;
    DebugEventProc DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};

struct GdiplusStartupOutput {
    void *NotificationHook;
    void *NotificationUnhook;
};

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR *CodecName;
    const WCHAR *DllName;
    const WCHAR *FormatDescription;
    const WCHAR *FilenameExtension;
    const WCHAR *MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE *SigPattern;
    const BYTE *SigMask;
};

// Only ever passed as NULL.
struct EncoderParameters;

#ifdef _WIN32
extern "C" {
GpStatus __stdcall GdiplusStartup(ULONG_PTR *token, const GdiplusStartupInput *input, GdiplusStartupOutput *output);
void __stdcall GdiplusShutdown(ULONG_PTR token);
GpStatus __stdcall GdipCreateBitmapFromHBITMAP(HBITMAP bitmap, HPALETTE palette, GpBitmap **image);
GpStatus __stdcall GdipDisposeImage(GpImage *image);
GpStatus __stdcall GdipGetImageEncodersSize(UINT *count, UINT *size);
GpStatus __stdcall GdipGetImageEncoders(UINT count, UINT size, ImageCodecInfo *encoders);
GpStatus __stdcall GdipSaveImageToFile(GpImage *image, const WCHAR *fileName, const CLSID *encoder,
                                       const EncoderParameters *parameters);
}
#endif

#endif
