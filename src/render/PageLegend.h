#pragma once
// The legend's room on a fitted single page (see PlanPages).

#include "MapPages.h"

namespace hexlane::render {

// Places the legend of a fitted single page of the print look and, when it
// must, makes the map smaller to give it room; the plan of any other page or
// look is left as it is.
void MakeRoomForLegend(PagePlan& plan, const TUniverse& universe, const QRectF& areaHexes, double dpi,
                       const PageSetup& setup);

}  // namespace hexlane::render
