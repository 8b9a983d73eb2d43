#ifndef OMBRIVALE_REMINDER_REMINDER_DIALOG_H
#define OMBRIVALE_REMINDER_REMINDER_DIALOG_H

#include "../platform/win32.h"

// Dialog procedure of the timed reminder.
INT_PTR CALLBACK ReminderDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Asks whether to call off the armed reminder, and does so on Yes.
void AskToCancelReminder();

#endif
