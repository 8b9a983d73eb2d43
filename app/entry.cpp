// The process entry point. The program needs no C runtime start-up: it reads
// no command line and has no static constructors.
#include "app_main.h"
#include "app_state.h"

extern "C" void WinMainCRTStartup()
{
    appState.instance = GetModuleHandleA(NULL);
    ExitProcess(AppMain(appState.instance, NULL, NULL, SW_SHOW));
}
