#include "selection.h"

Point32 PointFromLParam(LPARAM lParam)
{
    Point32 point = {LOWORD(lParam), HIWORD(lParam)};
    return point;
}

bool SelectionHasArea(Point32 anchor, Point32 corner)
{
    return anchor.x != corner.x && anchor.y != corner.y;
}

static DWORD Smaller(DWORD a, DWORD b)
{
    return a < b ? a : b;
}

static DWORD Larger(DWORD a, DWORD b)
{
    return a < b ? b : a;
}

RECT RegionInsideFrame(Point32 anchor, Point32 corner)
{
    // Coordinates are 16-bit values, so the sums cannot overflow a LONG.
    RECT region;
    region.left = (LONG)Smaller(anchor.x, corner.x) + 1;
    region.top = (LONG)Smaller(anchor.y, corner.y) + 1;
    region.right = (LONG)Larger(anchor.x, corner.x) - 1;
    region.bottom = (LONG)Larger(anchor.y, corner.y) - 1;
    return region;
}
