#include "file_name.h"

static const WCHAR kExtension[] = WIDE(".png");

void SuggestFileName(WCHAR *name, DWORD counter)
{
    wsprintfW(name, WIDE("截图%02u.png"), counter);
}

void AppendPngExtension(WCHAR *path, int size)
{
    if (wcsstr(path, kExtension) != NULL)
        return;
    // A path too long to take the extension is saved under the name the user
    // chose rather than written past the end of its buffer.
    if (lstrlenW(path) + (int)(sizeof kExtension / sizeof kExtension[0]) > size)
        return;
    lstrcatW(path, kExtension);
}
