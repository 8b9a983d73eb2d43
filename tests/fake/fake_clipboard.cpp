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

void FakeClipboardEmptied()
{
    if (open)
        ownerless = openedBy == NULL;
}

void FakeClipboardClosed()
{
    open = false;
}

bool FakeClipboardHasNoOwner()
{
    return ownerless;
}
