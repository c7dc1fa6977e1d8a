// The drawing every database starts from, and completion of drawings that lack parts of it.
#pragma once

#include "acad/AcDbDatabase.h"

namespace solx::db {

// Tables with their standard records, model and paper space, the named-objects dictionary
// with the group and layout dictionaries, and the header variables the program reads.
void buildDefaultDrawing(AcDbDatabase& db);
// After the tables of a file: adds missing standard tables and records.
void completeTables(AcDbDatabase& db);
// After the blocks: model and paper space exist.
void completeBlocks(AcDbDatabase& db);
// After the objects: the named-objects dictionary, ACAD_GROUP, ACAD_LAYOUT with a layout for
// model and paper space, each block record pointing at its layout.
void completeObjects(AcDbDatabase& db);
// Before a save: every layer, linetype, text style and application that objects name exists.
void ensureReferences(AcDbDatabase& db);

}  // namespace solx::db
