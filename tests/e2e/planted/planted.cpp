// Stands in for a file planted where a bare name is looked for. Built as
// calc.exe and as winmm.dll, it does nothing but leave a mark beside itself
// (its own name plus ".ran"), so that a test can tell it ran or was loaded.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

static void LeaveMark(HMODULE self)
{
    wchar_t path[MAX_PATH + 4];
    DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    lstrcpyW(path + length, L".ran");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

#ifdef PLANTED_DLL
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMark(self);
    return TRUE;
}

// What a program importing winmm.dll for its CD command binds to.
extern "C" __declspec(dllexport) DWORD WINAPI mciSendStringA(LPCSTR, LPSTR, UINT, HWND)
{
    return 0;
}
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LeaveMark(NULL);
    return 0;
}
#endif
