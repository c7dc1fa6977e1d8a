// Which typed class stands for a DXF record.
#pragma once

#include <string>

#include "acad/AcDbDatabase.h"
#include "dxf/DxfDocument.h"

namespace solx::db {

// Registers the platform's own classes (idempotent).
void registerPlatformClasses();
// A new typed object for a record of the ENTITIES/BLOCKS or OBJECTS sections: by SOLX_TYPE tag
// first, then by record type (POLYLINE by its flags); an unknown object when nothing matches.
AcDbObject* newEntityFor(const std::string& type, const AcDbDxfTags& tags);
AcDbObject* newObjectFor(const std::string& type, const AcDbDxfTags& tags);
// The same straight from the reader's tags (no copy of the record).
AcDbObject* newEntityFor(const std::string& type, const dxf::Tags& tags);
AcDbObject* newObjectFor(const std::string& type, const dxf::Tags& tags);
// A new record of a symbol table by table name ("LAYER", ...).
AcDbSymbolTableRecord* newTableRecord(const std::wstring& table);
// The SOLX_TYPE tag of a record's extended data; empty when none.
std::wstring solxTypeOf(const AcDbDxfTags& tags);

}  // namespace solx::db
