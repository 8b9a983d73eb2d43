// The real program's screenshot timed from outside, as the user meets it:
// the command to the overlay painted, and, with the save dialog answered
// here, the release to the dialog, its OK to the PNG written and its cancel
// to the picture on the clipboard. Polled every millisecond.
#include "tests/e2e/capture_helpers.h"

#include <algorithm>
#include <stdio.h>

static const double kScreenshotPause = 300;  // the program's own pause, taken out
static const int kOpenings = 7;

static double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// Milliseconds from start until the condition holds; -1 after 10 s.
static double MsUntil(double start, const std::function<bool()> &condition)
{
    while (!condition()) {
        if (NowMs() - start > 10000)
            return -1;
        Sleep(1);
    }
    return NowMs() - start;
}

// Shown with nothing left to paint: the frozen picture is on the window.
static bool OverlayPainted(DWORD processId, HWND &overlay)
{
    overlay = FindOverlay(processId);
    return overlay != NULL && !GetUpdateRect(overlay, NULL, FALSE);
}

static double OpenOverlay(const Program &program, HWND &overlay)
{
    double start = NowMs();
    SendCommand(program, IDM_SCREENSHOT);
    double ms = MsUntil(start, [&] { return OverlayPainted(program.id, overlay); });
    return ms < 0 ? ms : ms - kScreenshotPause;
}

// From the drag to the dialog: its press and move cost next to nothing.
static double ReleaseToDialog(const Program &program, HWND overlay, HWND &dialog)
{
    double start = NowMs();
    PostDrag(overlay, {100, 100}, {500, 400});
    return MsUntil(start, [&] { return (dialog = FindDialog(program.id, kSaveDialogTitle)) != NULL; });
}

// The dialog's button clicked; done once the overlay has gone and the
// output is where it belongs.
static double AnswerDialog(HWND dialog, int button, HWND overlay, const std::function<bool()> &delivered)
{
    double start = NowMs();
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return MsUntil(start, [&] { return !IsWindow(overlay) && delivered(); });
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

static double TimeOpenings(const Program &program)
{
    std::vector<double> openings;
    for (int i = 0; i < kOpenings; i++) {
        HWND overlay = NULL;
        double ms = OpenOverlay(program, overlay);
        if (ms < 0)
            break;
        openings.push_back(ms);
        CancelOverlay(overlay);
    }
    printf("command to overlay painted:   %6.1f ms beyond the %.0f ms pause (median of %zu)\n", Median(openings),
           kScreenshotPause, openings.size());
    return Median(openings);
}

// A drag over a 400x300 region, then the save dialog answered with button.
static void TimeOutput(const Program &program, int button, const std::wstring &path)
{
    HWND overlay = NULL, dialog = NULL;
    if (OpenOverlay(program, overlay) < 0)
        return;
    double toDialog = ReleaseToDialog(program, overlay, dialog);
    if (dialog == NULL)
        return;
    OpenClipboard(NULL);
    EmptyClipboard();
    CloseClipboard();
    SetControlText(FileNameField(dialog), path);
    double answered = AnswerDialog(dialog, button, overlay, [&] {
        return button == IDOK ? FileExists(path)
                              : IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    });
    printf("release to save dialog shown: %6.1f ms, then %s %6.1f ms\n", toDialog,
           button == IDOK ? "OK to PNG written:" : "cancel to picture on clipboard:", answered);
    DeleteFileW(path.c_str());
}

// The opening beside its floor at this size, in a line the script collects
// to compare the sizes.
void RunTimings(double floor)
{
    Program program = StartProgram();
    double opening = TimeOpenings(program);
    for (int button : {IDOK, IDCANCEL})
        TimeOutput(program, button, TempFolder() + L"ombrivale_timing.png");
    StopProgram(program);
    printf("opening %dx%d: %.1f ms, floor %.1f ms\n", GetSystemMetrics(SM_CXVIRTUALSCREEN),
           GetSystemMetrics(SM_CYVIRTUALSCREEN), opening, floor);
}
