#pragma once
// Polygon operations of the region engine for callers that work on polygons rather than on
// region entities (the shadow outlines): a cascaded union and the repair of crossing rings.

#include <vector>

#include "acad/AcDbRegion.h"

namespace solx::region {

// The union of the polygons in one cascaded pass, as valid polygons: outer rings
// counter-clockwise, holes clockwise, closing points not repeated, pieces and holes of area up
// to minArea dropped. The inputs are trusted to be valid; only when the union fails or comes
// out invalid are they repaired and the union done again. False when the engine fails even
// then (`out` is then empty).
bool UnitePolygons(const std::vector<const AcDbRegionPolygon*>& polygons, double minArea,
                   std::vector<AcDbRegionPolygon>& out);

// The area that a closed ring encloses as valid polygons: a simple ring as it is, a
// self-crossing one split into all its lobes. Empty when it encloses no area.
std::vector<AcDbRegionPolygon> RepairRing(const AcDbRegionRing& ring);

}  // namespace solx::region
