#include "save_dialog.h"

#include "../state/app_state.h"

// One filter: display text, pattern, and the list's own terminating zero
// (the literal's).
static const WCHAR kFilter[] = WIDE("png格式\0*.png\0");
static const WCHAR kTitle[] = WIDE(PROGRAM_NAME " 截图保存");
// OFN_NOCHANGEDIR: the dialog would otherwise leave the current directory in
// the folder saved into, keeping it open (it could not be removed or
// ejected) and making it a place bare names are looked for.
static const DWORD kFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                            OFN_CREATEPROMPT | OFN_EXPLORER;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(OPENFILENAMEW) == 88, "the save dialog takes the full 88-byte record");
#endif

BOOL AskSaveFileName(HWND owner)
{
    OPENFILENAMEW record;
    memset(&record, 0, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.hInstance = appState.instance;
    record.lpstrFilter = kFilter;
    record.lpstrFile = appState.fileName;
    record.nMaxFile = MAX_PATH;
    record.lpstrTitle = kTitle;
    record.Flags = kFlags;
    return GetSaveFileNameW(&record);
}
