// The clipboard's owner, as Windows keeps it: EmptyClipboard makes the window
// that opened the clipboard its owner, and with no window (OpenClipboard(NULL))
// there is none, so every SetClipboardData fails until the clipboard is
// emptied again by a window. Wine lets such a call succeed; the fake refuses
// it, whatever a test says the call returns.
#ifndef OMBRIVALE_TESTS_FAKE_FAKE_CLIPBOARD_H
#define OMBRIVALE_TESTS_FAKE_FAKE_CLIPBOARD_H

#include "platform/win32.h"

void FakeClipboardReset();
void FakeClipboardOpened(HWND owner);
void FakeClipboardEmptied();
void FakeClipboardClosed();
bool FakeClipboardHasNoOwner();

#endif
