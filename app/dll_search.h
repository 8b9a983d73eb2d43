#ifndef OMBRIVALE_APP_DLL_SEARCH_H
#define OMBRIVALE_APP_DLL_SEARCH_H

#include "../platform/win32.h"

// From here on, a DLL loaded by name (ours, or one the shell or the save
// dialog pulls in for us) comes from the system directory and not from the
// program's folder or the current directory.
void RestrictDllSearchToSystem();

#endif
