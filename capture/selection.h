// The arithmetic of a dragged selection: where the pointer is, whether the
// frame holds any pixels, and which pixels lie inside or under the frame.
#ifndef OMBRIVALE_CAPTURE_SELECTION_H
#define OMBRIVALE_CAPTURE_SELECTION_H

#include "../state/app_state.h"

// The pointer position of a mouse message, both words read as signed and the
// point clamped to a client area of that size (a captured pointer may be
// reported beyond it, at negative positions left of or above it).
Point32 PointFromLParam(LPARAM lParam, SIZE client);
// The rectangle spanned by the corners, whatever the drag's direction, shrunk
// by one pixel on every side so that none of the frame's pixels is in it.
RECT RegionInsideFrame(Point32 anchor, Point32 corner);
// False when the region inside the frame has no pixel: corners in the same,
// or in neighbouring or next-but-one, columns or rows.
bool RegionHasPixels(const RECT &region);
// Every pixel the frame's four lines can touch, right and bottom exclusive.
RECT FrameBounds(Point32 anchor, Point32 corner);

#endif
