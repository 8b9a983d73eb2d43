#include "app_state.h"

// Named .bss outright: with one data section per variable, MinGW's GCC puts
// even a zero-initialised record in a data section that the file carries
// byte for byte, about 4 KB of zeros here.
AppState appState __attribute__((section(".bss")));

void SetStartValues()
{
    appState.brightnessLevel = kNormalBrightness;
}
