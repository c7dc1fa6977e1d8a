// Product-line objects drawn through a block of their own (markers, tables): the anonymous block
// behind the reference is rebuilt from the object's current content on every save, so viewers
// without our classes see what we would draw.
#pragma once

#include "acad/AcDbBlockReference.h"
#include "acad/AcDbBlockTableRecord.h"

namespace solx::dbobject {

// The reference's own anonymous block, made on first use and emptied of its old drawing; null
// when the block cannot be opened. The caller appends the new drawing.
AcDbBlockTableRecord* ClearOwnBlock(AcDbBlockReference& ref);

}  // namespace solx::dbobject
