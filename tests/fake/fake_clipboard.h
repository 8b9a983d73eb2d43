// The clipboard as Windows keeps it: EmptyClipboard and SetClipboardData fail
// unless this program has it open, and EmptyClipboard makes the window that
// opened it the owner. With no window (OpenClipboard(NULL)) there is none, so
// every SetClipboardData fails until the clipboard is emptied again by a
// window. Wine lets such calls succeed; the fake refuses them, whatever a
// test says the call returns.
#ifndef OMBRIVALE_TESTS_FAKE_FAKE_CLIPBOARD_H
#define OMBRIVALE_TESTS_FAKE_FAKE_CLIPBOARD_H

#include "platform/win32.h"

void FakeClipboardReset();
void FakeClipboardOpened(HWND owner);
// False when the clipboard is not open.
bool FakeClipboardEmptied();
void FakeClipboardClosed();
bool FakeClipboardRefusesData();

#endif
