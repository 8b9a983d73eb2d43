#include "reminder_dialog.h"

// Not built yet: the reminder dialog handles no message so far.
INT_PTR CALLBACK ReminderDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
