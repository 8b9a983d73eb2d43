#include "file_name.h"

static const char kExtension[] = ".png";

void SuggestFileName(char *name, DWORD counter)
{
    wsprintfA(name, "截图%02u.png", counter);
}

void AppendPngExtension(char *path, int size)
{
    if (strstr(path, kExtension) != NULL)
        return;
    // A path too long to take the extension is saved under the name the user
    // chose rather than written past the end of its buffer.
    if (lstrlenA(path) + (int)(sizeof kExtension) > size)
        return;
    lstrcatA(path, kExtension);
}
