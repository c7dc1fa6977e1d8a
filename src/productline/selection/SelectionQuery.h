#pragma once
// Queries over the entities of the working drawing's model space, for the selection wrappers.

#include <functional>
#include <string>
#include <vector>

#include "EntityHit.h"
#include "acad/AcDbCore.h"
#include "acad/adsdef.h"

namespace solx::selection {

// The model-space entities (not erased) of the working drawing, in drawing order.
std::vector<AcDbObjectId> ModelSpaceEntities();

// The entities that pass filter and the geometric test (null test: all). An error text when
// the filter is malformed or there is no drawing.
struct QueryResult {
    std::vector<AcDbObjectId> ids;
    std::wstring error;
};
QueryResult Query(const resbuf* filter, const std::function<bool(const HitShape&)>& test);

// The entity nearest to p within aperture that passes filter; null id when none.
AcDbObjectId PickNearest(const resbuf* filter, Point2 p, double aperture);
// The last entity drawn that passes filter; null id when none.
AcDbObjectId LastEntity(const resbuf* filter);
// The entity with the given hexadecimal handle when it is in model space and passes filter.
AcDbObjectId ByHandle(const std::wstring& hex, const resbuf* filter);

// The PICKBOX aperture of the view in drawing units.
double PickAperture();

}  // namespace solx::selection
