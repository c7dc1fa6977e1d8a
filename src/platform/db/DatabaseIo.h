// Conversion between the tag-level DXF document and the database.
#pragma once

#include <string>
#include <string_view>

#include "acad/AcDbDatabase.h"
#include "dxf/DxfDocument.h"

namespace solx::db {

// Fills an empty database (made with buildDefaultDrawing = false) from a document. Typed
// classes take the tags they model; everything else is kept. Records without handles (R12)
// get fresh ones; missing tables, model and paper space, the named-objects dictionary and
// layouts are added. Throws dxf::DxfError for structure it cannot place (file, line, reason).
void loadDocument(AcDbDatabase& db, const dxf::Document& doc, const std::string& fileName);
// The same, consuming the document: its entity records are released as their objects are
// made, which keeps the peak memory of a file load near the size of the database alone.
void loadDocument(AcDbDatabase& db, dxf::Document&& doc, const std::string& fileName);
// Reads a file into an empty database without ever holding its entities as tags: each entity
// of the ENTITIES section becomes its object as soon as the reader has it (after a quick first
// pass over the file for its handles). The same database as readDocument + loadDocument, and
// the same errors; a load error of an entity is reported where the reader stands, before any
// fault further down the file. Throws dxf::DxfError.
void loadDrawingFile(AcDbDatabase& db, const std::string& path);
// The same for a file's bytes (FILE_NAME only for messages).
void loadDrawingBytes(AcDbDatabase& db, std::string_view bytes, const std::string& fileName);

// Saves the database at PATH (see dxf::writeDocument for how the file is replaced): R2010,
// UTF-8, every record with a handle of its own and owners that exist. The sections are written
// as they are made, never held whole beside the database. Throws dxf::DxfError.
void saveDatabase(AcDbDatabase& db, const std::string& path);
// The same file as one string.
std::string serializeDatabase(AcDbDatabase& db);
// The saved file read back as a document (for tests and tools that look at the records).
dxf::Document saveDocument(AcDbDatabase& db);

// One record's tags into an object (handle, owner, application groups, subclass markers,
// typed fields, kept tags, extended data). Returns the handle found (null when none).
AcDbHandle readRecordFields(AcDbObject& obj, const dxf::Tags& tags);
// One object's record: type, handle, head, owner, typed fields, kept tags, extended data.
dxf::Record writeRecord(const AcDbObject& obj);

// A handle as a file gives it. Handles from 2^62 up read as missing (the record gets a fresh
// one): a file handle at the very top of the range would leave no room above it for the handles
// a session gives out, and those must stay readable (the parser takes at most 2^63 - 1).
AcDbHandle fileHandle(const std::string& hex);

AcDbDxfTags toDbTags(const dxf::Tags& tags);
dxf::Tags toDxfTags(const AcDbDxfTags& tags);

}  // namespace solx::db
