// The arithmetic of a dragged selection: where the pointer is, whether the
// rectangle has an area, and which pixels lie inside its frame.
#ifndef OMBRIVALE_CAPTURE_SELECTION_H
#define OMBRIVALE_CAPTURE_SELECTION_H

#include "../app/app_state.h"

// The pointer position of a mouse message, both words read as unsigned.
Point32 PointFromLParam(LPARAM lParam);
// False when the two corners share a column or a row.
bool SelectionHasArea(Point32 anchor, Point32 corner);
// The rectangle spanned by the corners, whatever the drag's direction, shrunk
// by one pixel on every side so that none of the frame's pixels is in it.
RECT RegionInsideFrame(Point32 anchor, Point32 corner);

#endif
