#pragma once
// The GEOS side of the shadow polygons (reentrant C API, one context per thread): cascaded
// unions and the repair of self-crossing outlines.

#include <vector>

#include "solx/SolxShadowPoly.h"

namespace shadow {

// The union of the polygons in one cascaded pass (GEOSUnaryUnion over one collection), as
// valid polygons: outer rings counter-clockwise, holes clockwise, closing points not repeated,
// pieces and holes of area up to minArea dropped. The inputs are trusted to be valid; only when
// the union fails or comes out invalid are they repaired and the union done again. False when
// the engine fails even then (`out` is then empty).
bool UnitePolygons(const std::vector<const AcDbRegionPolygon*>& polygons, double minArea,
                   SolxShadowShape& out);

// The area that a closed ring encloses as valid polygons: a simple ring as it is, a
// self-crossing one split into all its lobes (GEOSMakeValid). Empty when it encloses no area.
SolxShadowShape RepairRing(const AcDbRegionRing& ring);

// True when the ring is simple (GEOSisValid of the polygon it bounds).
bool IsSimpleRing(const AcDbRegionRing& ring);

}  // namespace shadow
