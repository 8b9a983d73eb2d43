// Files of Windows itself, always named by their full path. A bare name is
// searched for, and the current directory or the program's own folder come
// before the system's on that search: a file planted there would run in our
// place, with our rights, elevated if we are.
#ifndef OMBRIVALE_PLATFORM_SYSTEM_FILES_H
#define OMBRIVALE_PLATFORM_SYSTEM_FILES_H

#include "win32.h"

// GetSystemDirectoryW or GetWindowsDirectoryW. Paths go the wide way too:
// nothing promises that the Windows folder is named in the ANSI code page.
typedef UINT(WINAPI *FolderQuery)(LPWSTR folder, UINT size);

// folder\name in path; false when the folder is unknown or the whole does
// not fit, and then path is not to be used.
inline bool WindowsFilePath(FolderQuery queryFolder, LPCWSTR name, WCHAR (&path)[MAX_PATH])
{
    UINT length = queryFolder(path, MAX_PATH);
    if (length == 0 || length + 1 + (UINT)lstrlenW(name) >= MAX_PATH)
        return false;
    path[length] = '\\';
    lstrcpyW(path + length + 1, name);
    return true;
}

// The system directory's copy of a DLL, never one found by a search; NULL
// when it cannot be loaded.
inline HMODULE LoadSystemLibrary(LPCWSTR name)
{
    WCHAR path[MAX_PATH];
    return WindowsFilePath(GetSystemDirectoryW, name, path) ? LoadLibraryW(path) : NULL;
}

// An entry of a loaded module, typed as the caller declares it; false when
// the module lacks it. The trip through void (*)() is the cast the compiler
// accepts between unrelated function types; only the caller knows the real one.
template <class Function>
inline bool FindEntry(HMODULE module, LPCSTR name, Function &entry)
{
    entry = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return entry != NULL;
}

#endif
