// Builds the tag-level document from a stream of raw tags: checks the structure (sections,
// tables, blocks, entity sequences), validates each value against its group code and decodes
// text into UTF-8. One pass, one tag of lookahead.
#pragma once

#include <functional>
#include <string>

#include "dxf/DxfDocument.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfTagSource.h"
#include "dxf/DxfTextCodec.h"
#include "dxf/DxfValueKind.h"

namespace solx::dxf {

class DocumentBuilder {
public:
    DocumentBuilder(TagSource& source, const std::string& fileName);
    // Reads the whole input. Throws DxfError naming the file, line and reason.
    Document build();
    // Called now and then with the number of input bytes the builder is done with, so a caller
    // that mapped the file can let go of the pages already read.
    void setReleaseHook(std::function<void(size_t)> hook) { release_ = std::move(hook); }
    // Entities of the ENTITIES section go to SINK when it takes them (see EntitySink).
    void setEntitySink(EntitySink* sink) { sink_ = sink; }

private:
    void advance();
    [[noreturn]] void fail(FilePos line, const std::string& reason) const;
    void expectMore(const char* what) const;
    Tag makeTag(const RawTag& raw, bool decodeText);
    Tag makeTag(const RawTag& raw, bool decodeText, ValueKind kind);
    void checkName(const RawTag& tag) const;
    Record readRecord();
    Tags readComments();
    void decodeEarlyComments(Document& doc);
    void readSection(Document& doc);
    void readHeader(Document& doc);
    void decodeHeader(Tags& header);
    void readRaw(Document& doc, const std::string& name);
    void readTables(Document& doc);
    void readBlocks(Document& doc);
    void readEntities(std::vector<Entity>& out, const char* stopType);
    Entity readEntity();
    void readObjects(Document& doc);
    bool atEndOfSection();

    TagSource& source_;
    const std::string& file_;
    TextDecoder decoder_;
    RawTag cur_;
    bool have_ = false;
    bool decoderReady_ = false;  // the file's encoding is known
    bool endConsumed_ = false;   // the section reader already moved past its ENDSEC
    FilePos sectionLine_ = 0;
    std::string sectionName_;
    Tags scratch_;
    size_t tagCount_ = 0;
    std::function<void(size_t)> release_;
    EntitySink* sink_ = nullptr;
};

}  // namespace solx::dxf
