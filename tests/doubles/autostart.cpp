#include "autostart/autostart.h"
#include "fake_routines.h"

void ReadAutostartState()
{
    ActiveRoutines().ReadAutostartState();
}

void ToggleAutostart()
{
    ActiveRoutines().ToggleAutostart();
}
