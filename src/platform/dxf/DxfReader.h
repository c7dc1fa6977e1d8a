// Reading DXF files into the tag-level document.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

// Takes the entities of the ENTITIES section one at a time, as they are read, instead of
// collecting them all in Document::entities: a large drawing is then never held whole as tags.
class EntitySink {
public:
    virtual ~EntitySink() = default;
    // Before the parse, a quick pass over the raw tags names every section in file order and
    // every record of TABLES, BLOCKS, ENTITIES and OBJECTS (ENDTAB aside) with the text of its
    // handle (group 105 in a DIMSTYLE, else 5; empty when it has none), as it stands in the
    // file. The pass stops quietly at a malformed tag: the parse that follows reports it.
    virtual void scannedSection(std::string_view /*name*/) {}
    virtual void scannedRecord(std::string_view /*type*/, std::string_view /*handle*/) {}
    // At the start of the ENTITIES section; DOC holds every section read before it. False: the
    // entities are collected in doc.entities as without a sink.
    virtual bool beginEntities(Document& doc) = 0;
    // One entity (with its VERTEX / ATTRIB / SEQEND records). A DxfError thrown here ends the
    // parse with that error.
    virtual void entity(Entity&& entity) = 0;
};

// Parses the bytes of a DXF file (ASCII, LF or CRLF, R12 to R2018; or binary DXF). FILE_NAME is
// only used in messages. Throws DxfError(file, line, reason) for anything malformed: a group
// code that is not a number, a value of the wrong kind for its group code, text not valid in
// the file's encoding, a truncated file, a section without ENDSEC, a missing EOF.
// With a SINK, the entities go to it (see EntitySink) and the document holds the rest.
Document parseDocument(std::string_view bytes, const std::string& fileName,
                       EntitySink* sink = nullptr);

// Maps the file and parses it. Throws DxfError (line 0) when the file cannot be opened.
Document readDocument(const std::string& path, EntitySink* sink = nullptr);

}  // namespace solx::dxf
