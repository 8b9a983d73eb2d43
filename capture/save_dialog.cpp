#include "save_dialog.h"

#include "../state/app_state.h"

// One filter: display text, pattern, and the list's own terminating zero
// (the literal's).
static const char kFilter[] = "png格式\0*.png\0";
static const char kTitle[] = PROGRAM_NAME " 截图保存";
// OFN_NOCHANGEDIR: the dialog would otherwise leave the current directory in
// the folder saved into, keeping it open (it could not be removed or
// ejected) and making it a place bare names are looked for.
static const DWORD kFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                            OFN_CREATEPROMPT | OFN_EXPLORER;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(OPENFILENAMEA) == 88, "the save dialog takes the full 88-byte record");
#endif

BOOL AskSaveFileName(HWND owner)
{
    OPENFILENAMEA record;
    memset(&record, 0, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.hInstance = appState.instance;
    record.lpstrFilter = kFilter;
    record.lpstrFile = appState.fileName;
    record.nMaxFile = sizeof appState.fileName;
    record.lpstrTitle = kTitle;
    record.Flags = kFlags;
    return GetSaveFileNameA(&record);
}
