// The process entry point. The program needs no C runtime start-up: it reads
// no command line and has no static constructors.
// COM's header comes in here alone: it declares names (ForcedShutdown among
// them) that the program's own headers use for other things.
#include <objbase.h>

#include "app_main.h"
#include "../state/app_state.h"
#include "dll_search.h"

extern "C" void WinMainCRTStartup()
{
    SetStartValues();
    RestrictDllSearchToSystem();
    // ShellExecute may hand a file to a COM-based handler (the web page, the
    // .msc and .cpl tools), which needs an apartment on the calling thread.
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    appState.instance = GetModuleHandleA(NULL);
    ExitProcess(AppMain(appState.instance, NULL, NULL, SW_SHOW));
}
