#include "dll_search.h"

#include "../platform/system_files.h"

typedef BOOL(WINAPI *SetDefaultDllDirectoriesFunction)(DWORD directoryFlags);

// SetDefaultDllDirectories needs Windows 8 or an update of 7, so it is looked
// up; where it is missing or refuses, the empty DLL directory at least takes
// the current directory off the search.
void RestrictDllSearchToSystem()
{
    SetDefaultDllDirectoriesFunction setDefaultDirectories;
    if (FindEntry(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories", setDefaultDirectories) &&
        setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    SetDllDirectoryA("");
}
