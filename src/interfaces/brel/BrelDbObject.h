// Drawing-object services of the product line: adding entities to the drawing, full
// explosion into primitives, the drawing unit.
#pragma once

#include "acad/AcDbEntity.h"

// Adds an entity to model space (or the current space) of the working database, which owns
// it from then on; closes it when `close` is non-zero. Returns the new id (null on failure,
// and the entity is then still the caller's).
AcDbObjectId AddToModelSpace(AcDbEntity* entity, int close = 1);
AcDbObjectId AddToCurrentSpace(AcDbEntity* entity, int close = 1);

// Explodes an entity down to primitives (lines, arcs, circles, points, texts, faces,
// lightweight polylines...): blocks and meshes recursively, as new entities the caller owns
// (free them with ReleaseEntSet). Primitive entities are copied. Returns the count added.
int VxDbFullExplode3d(const AcDbEntity* entity, AcDbVoidPtrArray& result);
void ReleaseEntSet(AcDbVoidPtrArray& entities);

// 0 for a millimetre drawing, 1 for metres (from INSUNITS).
int VxDbGetDrawUnit(AcDbDatabase* db = nullptr);
