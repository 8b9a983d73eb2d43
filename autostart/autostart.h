#ifndef OMBRIVALE_AUTOSTART_AUTOSTART_H
#define OMBRIVALE_AUTOSTART_AUTOSTART_H

#include "../platform/win32.h"

// Sets autostartEnabled from the program's Run value.
void ReadAutostartState();
// Writes or deletes the Run value and flips autostartEnabled.
void ToggleAutostart();

#endif
