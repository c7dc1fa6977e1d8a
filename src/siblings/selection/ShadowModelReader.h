#pragma once
// Turns one drawing object into obstruction records (see "solx/SolxSelUtility.h").

#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"

class AcDbEntity;

namespace solx::shadow {

// Appends the records `entity` makes; the number appended (0 for objects that do not
// obstruct or are degenerate).
int ReadObstruction(const AcDbEntity& entity, SolxBuildingList& buildings,
                    SolxShadowSourceList& sources);

// Segments of the polygon that stands for a circle's outline.
constexpr int kCircleSegments = 36;

}  // namespace solx::shadow
