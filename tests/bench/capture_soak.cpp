// Soak of the screenshot: many overlays opened and cancelled, then many
// saves, with the program's memory before and after. Wine counts no GDI
// objects (GetGuiResources gives 0), so a leak shows as memory growth.
#include "tests/e2e/capture_helpers.h"

#include <psapi.h>
#include <stdio.h>

static SIZE_T MemoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.PagefileUsage;
}

static bool CancelledOverlay(const Program &program)
{
    SendCommand(program, IDM_SCREENSHOT);
    HWND overlay = WaitForOverlay(program.id);
    if (overlay == NULL)
        return false;
    return CancelOverlay(overlay);
}

static bool SavedShot(const Program &program, const std::wstring &path)
{
    SendCommand(program, IDM_SCREENSHOT);
    HWND overlay = WaitForOverlay(program.id);
    if (overlay == NULL)
        return false;
    PostDrag(overlay, {100, 100}, {400, 300});
    HWND dialog = WaitForSaveDialog(program.id);
    if (dialog == NULL)
        return false;
    ChooseFileAndSave(dialog, path);
    bool ended = WaitUntil([&] { return !IsWindow(overlay); });
    DeleteFileW(path.c_str());  // so that the next save is not asked to overwrite
    return ended;
}

static void Report(const char *what, int done, SIZE_T before, SIZE_T after)
{
    printf("%-28s %3d done, private memory %zu kB -> %zu kB (%+ld kB)\n", what, done, before / 1024, after / 1024,
           (long)(after / 1024) - (long)(before / 1024));
}

void RunSoak(int overlays, int saves)
{
    Program program = StartProgram();
    std::wstring path = TempFolder() + L"ombrivale_soak.png";
    for (int i = 0; i < 10; i++)  // warm-up: first-use allocations are no leak
        CancelledOverlay(program);
    SavedShot(program, path);
    SIZE_T before = MemoryOf(program.process);
    int done = 0;
    while (done < overlays && CancelledOverlay(program))
        done++;
    SIZE_T middle = MemoryOf(program.process);
    Report("overlays opened, cancelled:", done, before, middle);
    done = 0;
    while (done < saves && SavedShot(program, path))
        done++;
    Report("saves:", done, middle, MemoryOf(program.process));
    StopProgram(program);
}
