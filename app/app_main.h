#ifndef OMBRIVALE_APP_APP_MAIN_H
#define OMBRIVALE_APP_APP_MAIN_H

#include "../platform/win32.h"

// Start-up, tray icon and message loop; returns the process exit code.
int AppMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

#endif
