#include "app_state.h"

// Zero-initialised: it lies in .bss and takes no room in the file.
AppState appState;

void SetStartValues()
{
    appState.brightnessLevel = kNormalBrightness;
}
