#include "fake_clipboard.h"

static bool open;
static HWND openedBy;
static bool ownerless;

void FakeClipboardReset()
{
    open = false;
    openedBy = NULL;
    ownerless = false;
}

void FakeClipboardOpened(HWND owner)
{
    open = true;
    openedBy = owner;
}

bool FakeClipboardEmptied()
{
    if (!open)
        return false;
    ownerless = openedBy == NULL;
    return true;
}

void FakeClipboardClosed()
{
    open = false;
}

bool FakeClipboardRefusesData()
{
    return !open || ownerless;
}
