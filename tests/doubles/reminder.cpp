#include "fake_routines.h"
#include "reminder/reminder_dialog.h"

// Only its address matters to the callers under test.
INT_PTR CALLBACK ReminderDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void AskToCancelReminder()
{
    ActiveRoutines().AskToCancelReminder();
}
