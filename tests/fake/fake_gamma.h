#ifndef OMBRIVALE_TESTS_FAKE_FAKE_GAMMA_H
#define OMBRIVALE_TESTS_FAKE_FAKE_GAMMA_H

#include "platform/win32.h"

// Gamma ramps as Windows 10 and 11 treat them, which Wine does not: the
// whole-screen DC (GetDC(NULL)) refuses every ramp while more than one
// display is attached; a ramp further from the identity than the system
// allows is answered TRUE and not kept. Each DC holds the ramp of heldLevel
// (257 is the identity) until a ramp is kept; GetDeviceGammaRamp reads back
// what it holds.
void FakeGammaReset(int attachedDisplays = 1, int allowedDistance = 0x10000, LONG heldLevel = 257);
void FakeGammaWholeScreen(HDC dc);
BOOL FakeGammaSet(HDC dc, const void *ramp, BOOL answer);
void FakeGammaHeld(HDC dc, void *ramp);

#endif
