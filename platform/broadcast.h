// A message to every top-level window. SendMessageA would wait on each of
// them, so one hung window would freeze the program for good; the bounded
// call gives up on a hung window and, after a while, on a slow one.
#ifndef OMBRIVALE_PLATFORM_BROADCAST_H
#define OMBRIVALE_PLATFORM_BROADCAST_H

#include "win32.h"

static const UINT kBroadcastTimeout = 2000;

inline void BroadcastWithoutHanging(UINT message, WPARAM wParam, LPARAM lParam)
{
    SendMessageTimeoutA(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, kBroadcastTimeout, NULL);
}

#endif
