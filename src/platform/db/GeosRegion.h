// Planar polygon operations on GEOS (reentrant C API): normalising, booleans, areas.
#pragma once

#include <optional>
#include <vector>

#include "acad/AcDbRegion.h"

namespace solx::db {

// Valid polygons (self-crossings repaired, outer rings counter-clockwise, holes clockwise,
// slivers dropped); empty for degenerate input; nullopt when the engine fails.
std::optional<std::vector<AcDbRegionPolygon>> normalisePolygons(
    const std::vector<AcDbRegionPolygon>& in);
// a op b with the same normalisation; nullopt when the engine fails.
std::optional<std::vector<AcDbRegionPolygon>> polygonBoolean(
    const std::vector<AcDbRegionPolygon>& a, const std::vector<AcDbRegionPolygon>& b,
    AcDb::BoolOperType op);

}  // namespace solx::db
