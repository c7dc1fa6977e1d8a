#pragma once
// Writes a generated district as an ASCII DXF (AutoCAD 2010 format) of its own: slabs as closed
// LWPOLYLINEs with elevation and thickness, windows as "_SUNWD" INSERTs with attributes, roofs
// as 3DFACEs, with the tables, the block definition and the objects a reader expects.

#include <ostream>

#include "DistrictModel.h"

namespace district {

void WriteDxf(const District& d, std::ostream& out);

}  // namespace district
