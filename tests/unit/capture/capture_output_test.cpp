// The output of a selection: the save dialog, the PNG file, the clipboard.
#include <cstring>
#include <string>
#include <vector>

#include "capture/file_name.h"
#include "capture/png_writer.h"
#include "capture_fixture.h"

static const CLSID kBmpClsid = {0xB1, 0, 0, {}};
static const CLSID kPngClsid = {0x9A, 0, 0, {}};
static const CLSID kPngClsid2 = {0x9B, 0, 0, {}};

// The installed encoders as GDI+ would list them.
struct Encoders {
    std::vector<std::u16string> types;
    std::vector<CLSID> ids;
    std::vector<char> block;  // what GlobalAlloc hands out
};

// The entries of the fake's gdiplus.dll are the fake's own GDI+ calls.
static const GdiplusEntries kGdiplus = {GdiplusStartup, GdiplusShutdown, GdipCreateBitmapFromHBITMAP, GdipDisposeImage,
                                        GdipGetImageEncodersSize, GdipGetImageEncoders, GdipSaveImageToFile};

static FARPROC GdiplusEntry(LPCSTR name)
{
    const std::pair<const char *, FARPROC> entries[] = {
        {"GdiplusStartup", AsEntry(kGdiplus.startup)},
        {"GdiplusShutdown", AsEntry(kGdiplus.shutdown)},
        {"GdipCreateBitmapFromHBITMAP", AsEntry(kGdiplus.createBitmapFromHBITMAP)},
        {"GdipDisposeImage", AsEntry(kGdiplus.disposeImage)},
        {"GdipGetImageEncodersSize", AsEntry(kGdiplus.getImageEncodersSize)},
        {"GdipGetImageEncoders", AsEntry(kGdiplus.getImageEncoders)},
        {"GdipSaveImageToFile", AsEntry(kGdiplus.saveImageToFile)},
    };
    for (const auto &[entryName, entry] : entries) {
        if (std::strcmp(entryName, name) == 0)
            return entry;
    }
    return nullptr;
}

class CaptureOutput : public CaptureTest {
protected:
    GpImage *const image = FakeHandle<GpImage *>(0x40);
    const HMODULE gdiplusModule = FakeHandle<HMODULE>(0x7800);

    // The system's gdiplus.dll and its entries, but for one that is missing:
    // "gdiplus.dll" when the module itself is.
    void ExpectGdiplusLoaded(const char *missing)
    {
        EXPECT_CALL(win, GetSystemDirectoryW(_, MAX_PATH)).WillOnce(ReturnFolder(u"C:\\WINDOWS\\system32"));
        bool loads = missing == nullptr || std::strcmp(missing, "gdiplus.dll") != 0;
        EXPECT_CALL(win, LoadLibraryW(WideEq(u"C:\\WINDOWS\\system32\\gdiplus.dll")))
            .WillOnce(Return(loads ? gdiplusModule : nullptr));
        if (!loads)
            return;
        // Which entries are looked up before a missing one stops the search is not the point.
        EXPECT_CALL(win, GetProcAddress(gdiplusModule, _)).Times(AnyNumber()).WillRepeatedly(Invoke([=](HMODULE, LPCSTR name) {
            return missing != nullptr && std::strcmp(name, missing) == 0 ? nullptr : GdiplusEntry(name);
        }));
    }

    void ExpectEncoderLookup(Encoders &encoders, bool allocates = true)
    {
        UINT count = (UINT)encoders.types.size();
        UINT size = count * sizeof(ImageCodecInfo);
        encoders.block.assign(size + 1, 0);
        EXPECT_CALL(win, GdipGetImageEncodersSize(_, _))
            .WillOnce(DoAll(SetArgPointee<0>(count), SetArgPointee<1>(size), Return(0)));
        if (count == 0)
            return;
        HGLOBAL block = allocates ? (HGLOBAL)encoders.block.data() : nullptr;
        EXPECT_CALL(win, GlobalAlloc(GMEM_ZEROINIT, (SIZE_T)size)).WillOnce(Return(block));
        if (!allocates)
            return;
        EXPECT_CALL(win, GdipGetImageEncoders(count, size, _)).WillOnce(Invoke([&encoders](UINT n, UINT, ImageCodecInfo *list) {
            for (UINT i = 0; i < n; i++) {
                list[i].Clsid = encoders.ids[i];
                list[i].MimeType = encoders.types[i].c_str();
            }
            return 0;
        }));
        EXPECT_CALL(win, GlobalFree(block)).WillOnce(Return(nullptr));
    }

    // The save dialog answered: the chosen path (or a cancel, on NULL).
    void ExpectSaveDialog(const char16_t *chosen, const char16_t *suggested)
    {
        EXPECT_CALL(win, GetSaveFileNameW(_)).WillOnce(Invoke([=, this](LPOPENFILENAMEW record) {
            EXPECT_EQ(Text(record->lpstrFile), suggested);
            CheckRecord(*record);
            if (chosen == nullptr)
                return FALSE;
            lstrcpyW(record->lpstrFile, chosen);
            return TRUE;
        }));
    }

    void CheckRecord(const OPENFILENAMEW &record)
    {
        static const char16_t filter[] = u"png格式\0*.png\0";
        EXPECT_EQ(std::memcmp(record.lpstrFilter, filter, sizeof filter), 0);
        EXPECT_EQ(Text(record.lpstrTitle), u"Ombrivale 截图保存");
        // Every other field zero, over the whole record.
        OPENFILENAMEW expected;
        std::memset(&expected, 0, sizeof expected);
        expected.lStructSize = sizeof expected;
        expected.hwndOwner = overlay;
        expected.hInstance = appState.instance;
        expected.lpstrFilter = record.lpstrFilter;
        expected.lpstrFile = appState.fileName;
        expected.nMaxFile = MAX_PATH;
        expected.lpstrTitle = record.lpstrTitle;
        expected.Flags = 0x8280E;
        EXPECT_EQ(std::memcmp(&record, &expected, sizeof expected), 0);
    }

    // The release of a valid drag, up to the output; the overlay is opened
    // mid-drag before any of it is expected.
    void ExpectRegionGrab()
    {
        EXPECT_CALL(win, ReleaseCapture());
        ExpectCrop(11, 21, 98, 198, region);
        EXPECT_CALL(win, DeleteObject((HGDIOBJ)frozen));
    }

    void Release() { EXPECT_EQ(CaptureOverlayProc(overlay, WM_LBUTTONUP, 0, 0), TRUE); }
};

struct PngWrite {
    const char *name;
    GpStatus startup, convert, save;
    UINT beep;
    const char16_t *suggested;
    const char *missing = nullptr;  // the module, or the entry, the system lacks
};

TEST_F(CaptureOutput, SavePathWritesPngBeepsClearsFlagClosesAndDeletesOrKeepsAFailedWriteOnClipboard)
{
    const PngWrite writes[] = {
        {"written", 0, 0, 0, MB_ICONASTERISK, u"截图00.png"},
        {"write fails", 0, 0, 10, MB_ICONHAND, u"截图01.png"},
        {"no GDI+", 18, 0, 0, MB_ICONHAND, u"截图02.png"},
        {"no conversion", 0, 2, 0, MB_ICONHAND, u"截图03.png"},
        {"no gdiplus.dll", 0, 0, 0, MB_ICONHAND, u"截图04.png", "gdiplus.dll"},
        {"no save entry", 0, 0, 0, MB_ICONHAND, u"截图05.png", "GdipSaveImageToFile"},
        {"no startup entry", 0, 0, 0, MB_ICONHAND, u"截图06.png", "GdiplusStartup"},
    };
    appState.instance = FakeHandle<HINSTANCE>(0x400000);
    DWORD counter = 0;
    for (const PngWrite &write : writes) {
        SCOPED_TRACE(write.name);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        Encoders encoders = {{u"image/bmp", u"image/png"}, {kBmpClsid, kPngClsid}, {}};
        OpenOverlayState({10, 20}, {110, 220}, 1);
        InSequence order;
        ExpectRegionGrab();
        ExpectSaveDialog(u"C:\\shots\\a", write.suggested);
        ExpectGdiplusLoaded(write.missing);
        if (write.missing == nullptr) {
            EXPECT_CALL(win, GdiplusStartup(_, _, nullptr)).WillOnce(Invoke([&](ULONG_PTR *token, const GdiplusStartupInput *input, GdiplusStartupOutput *) {
                EXPECT_EQ(input->GdiplusVersion, 1u);
                EXPECT_EQ(input->DebugEventCallback, nullptr);
                EXPECT_EQ(input->SuppressBackgroundThread + input->SuppressExternalCodecs, 0);
                *token = 0x77;
                return write.startup;
            }));
        }
        if (write.missing == nullptr && write.startup == 0) {
            EXPECT_CALL(win, GdipCreateBitmapFromHBITMAP(region, nullptr, _))
                .WillOnce(DoAll(SetArgPointee<2>(image), Return(write.convert)));
            if (write.convert == 0) {
                ExpectEncoderLookup(encoders);
                // Saved under the chosen name with its extension.
                EXPECT_CALL(win, GdipSaveImageToFile(image, _, &appState.pngEncoderClsid, nullptr))
                    .WillOnce(Invoke([&](GpImage *, LPCWSTR name, const CLSID *, const EncoderParameters *) {
                        EXPECT_EQ(std::u16string(name), u"C:\\shots\\a.png");
                        return write.save;
                    }));
                EXPECT_CALL(win, GdipDisposeImage(image));
            }
            EXPECT_CALL(win, GdiplusShutdown(0x77u));
        }
        if (write.missing == nullptr || std::strcmp(write.missing, "gdiplus.dll") != 0)
            EXPECT_CALL(win, FreeLibrary(gdiplusModule)).WillOnce(Return(TRUE));
        EXPECT_CALL(win, MessageBeep(write.beep));
        const bool written = write.beep == MB_ICONASTERISK;
        // A failed write keeps the picture: it goes to the clipboard instead.
        if (!written)
            ExpectClipboardHandOver(region);
        EXPECT_CALL(win, SendMessageA(overlay, WM_CLOSE, 1u, 0)).WillOnce(Invoke([=](HWND w, UINT m, WPARAM p, LPARAM l) {
            EXPECT_EQ(appState.captureActive, written ? 0u : 1u) << "the flag is cleared where that path clears it";
            return (LRESULT)CaptureOverlayProc(w, m, p, l);
        }));
        EXPECT_CALL(win, EndDialog(overlay, 1));
        if (written) {
            EXPECT_CALL(win, DeleteObject((HGDIOBJ)region));
            EXPECT_CALL(win, InvalidateRect(overlay, nullptr, FALSE));
        }
        Release();
        EXPECT_EQ(appState.captureCounter, ++counter) << "every OK counts, written or not";
        EXPECT_EQ(appState.captureActive, 0u);
    }
    EXPECT_EQ(std::memcmp(&appState.pngEncoderClsid, &kPngClsid, sizeof(CLSID)), 0);
}

struct ClipboardCase {
    const char *name;
    HWND owner;     // the main window, as the tray icon record holds it
    int busyTries;  // opens refused before one succeeds; 5 or more: never
    bool placed;    // what SetClipboardData answers
};

TEST_F(CaptureOutput, CancelPutsPictureOnClipboardOfTheMainWindowThenClosesThenClearsFlag)
{
    const HWND main = mainWindow;
    const ClipboardCase cases[] = {
        {"placed", main, 0, true},
        {"refused: released, error sound", main, 0, false},
        {"held a moment by another program", main, 2, true},
        {"held throughout: released, error sound", main, 5, false},
        // Windows refuses data on a clipboard emptied without an owner, and so does the fake.
        {"no owner window", nullptr, 0, true},
    };
    appState.captureCounter = 100;
    for (const ClipboardCase &clip : cases) {
        SCOPED_TRACE(clip.name);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        OpenOverlayState({10, 20}, {110, 220}, 1);
        appState.trayIcon.hWnd = clip.owner;
        InSequence order;
        ExpectRegionGrab();
        ExpectSaveDialog(nullptr, u"截图100.png");
        const int refusals = clip.busyTries < 5 ? clip.busyTries : 5;
        for (int i = 0; i < refusals; i++) {
            EXPECT_CALL(win, OpenClipboard(clip.owner)).WillOnce(Return(FALSE));
            if (i < 4)
                EXPECT_CALL(win, Sleep(100u));
        }
        const bool opens = clip.busyTries < 5;
        if (opens) {
            EXPECT_CALL(win, OpenClipboard(clip.owner)).WillOnce(Return(TRUE));
            EXPECT_CALL(win, EmptyClipboard()).WillOnce(Return(TRUE));
            EXPECT_CALL(win, SetClipboardData(CF_BITMAP, (HANDLE)region)).WillOnce(Return(clip.placed ? (HANDLE)region : nullptr));
            EXPECT_CALL(win, CloseClipboard());
        }
        const bool kept = opens && clip.placed && clip.owner != nullptr;
        if (!kept) {
            EXPECT_CALL(win, DeleteObject((HGDIOBJ)region));
            EXPECT_CALL(win, MessageBeep(MB_ICONHAND));
        }
        EXPECT_CALL(win, SendMessageA(overlay, WM_CLOSE, 1u, 0)).WillOnce(Invoke([](HWND w, UINT m, WPARAM p, LPARAM l) {
            EXPECT_EQ(appState.captureActive, 1u) << "cleared only after the close";
            return (LRESULT)CaptureOverlayProc(w, m, p, l);
        }));
        EXPECT_CALL(win, EndDialog(overlay, 1));
        Release();
        EXPECT_EQ(appState.captureActive, 0u);
        EXPECT_EQ(appState.captureCounter, 100u) << "a cancel keeps the number";
    }
}

TEST_F(CaptureOutput, CancelReleaseAndCloseDuringSaveDialogLeavePictureToOutput)
{
    OpenOverlayState({10, 20}, {110, 220}, 1);
    InSequence order;
    ExpectRegionGrab();
    EXPECT_CALL(win, GetSaveFileNameW(_)).WillOnce(Invoke([&](LPOPENFILENAMEW) {
        // The overlay, disabled under the dialog, still gets sent messages:
        // a right release, the printer settings broadcast, a second release
        // and another program's close.
        for (UINT message : {WM_RBUTTONUP, WM_DEVMODECHANGE, WM_LBUTTONUP, WM_CLOSE})
            EXPECT_EQ(CaptureOverlayProc(overlay, message, 0, 0), TRUE);
        EXPECT_EQ(appState.captureActive, 1u) << "a second overlay could open meanwhile";
        return FALSE;
    }));
    EXPECT_CALL(win, EndDialog(overlay, 0));
    ExpectClipboardHandOver(region);
    ExpectClose(1, 1);
    Release();
    EXPECT_EQ(appState.captureActive, 0u);
    // The ledger (checked after the test) shows each picture released or handed over once.
}

TEST_F(CaptureOutput, SuggestedNameCountsFromZeroWithAtLeastTwoDigits)
{
    const std::pair<DWORD, const char16_t *> names[] = {
        {0, u"截图00.png"}, {1, u"截图01.png"}, {99, u"截图99.png"}, {100, u"截图100.png"}};
    for (const auto &[counter, expected] : names) {
        WCHAR name[MAX_PATH];
        SuggestFileName(name, counter);
        EXPECT_EQ(Text(name), expected);
    }
}

TEST_F(CaptureOutput, ExtensionAddedOnlyWhenMissingAndOnlyWhereItFits)
{
    struct Guarded {
        WCHAR name[MAX_PATH];
        WCHAR guard[8];
    };
    const std::u16string longName = u"C:\\" + std::u16string(300, u'x');
    // Characters of any script count one UTF-16 unit each, as ASCII does.
    const std::u16string otherScripts = u"C:\\" + std::u16string(251, u'截') + u"\\도구-Łódź";
    const struct {
        std::u16string chosen, expected;
    } cases[] = {
        {u"C:\\shots\\a", u"C:\\shots\\a.png"},
        {u"C:\\shots\\a.PNG", u"C:\\shots\\a.PNG.png"},
        {u"C:\\my.png\\a", u"C:\\my.png\\a"},
        {u"C:\\shots\\a.png", u"C:\\shots\\a.png"},
        {longName.substr(0, 200), longName.substr(0, 200) + u".png"},  // past the old 128 bytes
        {longName.substr(0, 255), longName.substr(0, 255) + u".png"},  // exactly fills the 259 units
        {otherScripts.substr(0, 255), otherScripts.substr(0, 255) + u".png"},
        {otherScripts.substr(0, 256), otherScripts.substr(0, 256)},
        {longName.substr(0, 256), longName.substr(0, 256)},  // no room: saved as chosen
        {longName.substr(0, 259), longName.substr(0, 259)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chosen.size());
        Guarded buffer;
        std::memset(&buffer, 0x5A, sizeof buffer);
        lstrcpyW(buffer.name, c.chosen.c_str());
        AppendPngExtension(buffer.name, MAX_PATH);
        EXPECT_EQ(Text(buffer.name), c.expected);
        EXPECT_EQ(std::u16string(buffer.guard, 8), std::u16string(8, 0x5A5A)) << "written past the buffer";
    }
}

TEST_F(CaptureOutput, FindEncoderByMimeTakesFirstMatchAndFreesTheList)
{
    const std::u16string tooLong(60, u'x');
    struct Lookup {
        const char *name;
        Encoders encoders;
        bool allocates;
        int result;
        CLSID found;
    } lookups[] = {
        {"first of two", {{u"image/bmp", u"image/png", u"image/png"}, {kBmpClsid, kPngClsid, kPngClsid2}}, true, 0, kPngClsid},
        {"none matches", {{u"image/bmp", tooLong}, {kBmpClsid, kPngClsid}}, true, 21, kBmpClsid},
        {"no encoders", {}, true, 21, kBmpClsid},
        {"no memory", {{u"image/png"}, {kPngClsid}}, false, 21, kBmpClsid},
    };
    for (Lookup &lookup : lookups) {
        SCOPED_TRACE(lookup.name);
        ::testing::Mock::VerifyAndClearExpectations(&win);
        ExpectEncoderLookup(lookup.encoders, lookup.allocates);
        CLSID place = kBmpClsid;  // untouched unless found
        EXPECT_EQ(FindEncoderByMime(kGdiplus, u"image/png", &place), lookup.result);
        EXPECT_EQ(std::memcmp(&place, &lookup.found, sizeof place), 0);
    }
}
