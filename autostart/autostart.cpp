#include "autostart.h"

// Not built yet: start with Windows does nothing so far.
void ReadAutostartState()
{
}

void ToggleAutostart()
{
}
