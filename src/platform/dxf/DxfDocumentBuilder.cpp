#include "dxf/DxfDocumentBuilder.h"

#include <cstring>

#include "dxf/DxfHeader.h"
#include "dxf/DxfValueKind.h"

namespace solx::dxf {
namespace {

constexpr size_t kReleaseEvery = 1 << 16;  // tags between calls of the release hook

std::string shown(std::string_view value) {
    std::string s(value.substr(0, 40));
    for (char& c : s) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    }
    return s;
}

bool isSectionEnd(const RawTag& t) {
    return t.code == 0 && (t.value == "ENDSEC");
}

// An INSERT whose attributes follow it in the stream says so with 66 = 1.
bool hasAttributesFollow(const Record& r) {
    for (const Tag& t : r.tags) {
        long long v = 0;
        if (t.code == 66) return parseIntValue(t.value, v) && v == 1;
    }
    return false;
}

}  // namespace

DocumentBuilder::DocumentBuilder(TagSource& source, const std::string& fileName)
    : source_(source), file_(fileName) {
    decoder_.configure("", "");
    scratch_.reserve(256);
}

void DocumentBuilder::fail(FilePos line, const std::string& reason) const {
    throw DxfError(file_, line, reason);
}

void DocumentBuilder::advance() {
    // Before the next tag, so that the current one's value (a view into the bytes) is done with.
    if (release_ && ++tagCount_ % kReleaseEvery == 0) release_(source_.consumed());
    have_ = source_.next(cur_);
}

void DocumentBuilder::expectMore(const char* what) const {
    if (have_) return;
    if (sectionName_.empty()) fail(source_.endLine(), std::string("file ends before ") + what);
    fail(source_.endLine(), "file ends inside section " + sectionName_ + " (line " +
                                std::to_string(sectionLine_) + ") before its ENDSEC");
}

Tag DocumentBuilder::makeTag(const RawTag& raw, bool decodeText) {
    return makeTag(raw, decodeText, valueKind(raw.code));
}

Tag DocumentBuilder::makeTag(const RawTag& raw, bool decodeText, ValueKind kind) {
    FilePos valueLine = source_.isBinary() ? raw.line : raw.line + 1;
    if (!isValidValue(kind, raw.code, raw.value)) {
        fail(valueLine, "value '" + shown(raw.value) + "' of group code " +
                            std::to_string(raw.code) + " is not a " + valueKindName(kind));
    }
    // References to other objects are text to the reader: some writers put names there.
    if (kind != ValueKind::String && kind != ValueKind::Handle)
        return Tag{raw.code, std::string(raw.value), raw.line};
    if (std::memchr(raw.value.data(), '\0', raw.value.size()))
        fail(valueLine,
             "binary data (a NUL byte) in the text of group code " + std::to_string(raw.code));
    Tag tag{raw.code, {}, raw.line};
    if (!decodeText) {
        tag.value.assign(raw.value);
    } else if (!decoder_.decode(raw.value, tag.value)) {
        fail(valueLine, "text of group code " + std::to_string(raw.code) + " is not valid " +
                            decoder_.encodingName());
    }
    return tag;
}

// Record types and section names are plain ASCII names; anything else is not DXF.
void DocumentBuilder::checkName(const RawTag& tag) const {
    for (char c : tag.value) {
        if (c < 0x20 || c > 0x7E || c == '\\')
            fail(tag.line + (source_.isBinary() ? 0 : 1),
                 "'" + shown(tag.value) + "' is not a record or section name");
    }
}

Record DocumentBuilder::readRecord() {
    checkName(cur_);
    Record rec;
    rec.type.assign(cur_.value);
    rec.line = cur_.line;
    scratch_.clear();
    // Codes are read by their meaning in this record (a dimension style's 5 is a name).
    for (advance(); have_ && cur_.code != 0; advance())
        scratch_.push_back(makeTag(cur_, true, valueKindIn(rec.type, cur_.code)));
    rec.tags.assign(std::make_move_iterator(scratch_.begin()),
                    std::make_move_iterator(scratch_.end()));
    return rec;
}

// Comments before the first section wait in their raw bytes until the header (if any) has
// named the encoding.
Tags DocumentBuilder::readComments() {
    Tags out;
    for (; have_ && cur_.code == 999; advance()) out.push_back(makeTag(cur_, decoderReady_));
    return out;
}

void DocumentBuilder::decodeEarlyComments(Document& doc) {
    decoderReady_ = true;
    if (doc.commentsBefore.empty()) return;
    std::string decoded;
    for (Tag& t : doc.commentsBefore.front()) {
        if (!decoder_.decode(t.value, decoded))
            fail(t.line + 1, "text of group code 999 is not valid " + decoder_.encodingName());
        t.value.swap(decoded);
    }
}

Document DocumentBuilder::build() {
    Document doc;
    advance();
    if (!have_) fail(1, "file is empty");
    for (;;) {
        Tags comments = readComments();
        expectMore("its EOF marker");
        if (cur_.code != 0)
            fail(cur_.line, "expected group code 0 (SECTION or EOF), found group code " +
                                std::to_string(cur_.code));
        if (!comments.empty()) {
            doc.commentsBefore.resize(doc.sectionOrder.size() + 1);
            doc.commentsBefore.back() = std::move(comments);
        }
        if (cur_.value == "EOF") {
            if (!decoderReady_) decodeEarlyComments(doc);
            return doc;
        }
        if (cur_.value != "SECTION")
            fail(cur_.line, "expected SECTION or EOF, found '" + shown(cur_.value) + "'");
        readSection(doc);
    }
}

void DocumentBuilder::readSection(Document& doc) {
    sectionLine_ = cur_.line;
    sectionName_ = "at line " + std::to_string(sectionLine_);
    advance();
    expectMore("the section name");
    if (cur_.code != 2) fail(cur_.line, "SECTION without its name (group code 2)");
    checkName(cur_);
    std::string name(cur_.value);
    for (const std::string& seen : doc.sectionOrder) {
        if (seen == name) fail(cur_.line, "section " + name + " appears twice");
    }
    if (name == "HEADER" && !doc.sectionOrder.empty())
        fail(cur_.line, "HEADER section after other sections");
    sectionName_ = name;
    doc.sectionOrder.push_back(name);
    if (name != "HEADER" && !decoderReady_) decodeEarlyComments(doc);
    advance();
    bool modelled = name == "HEADER" || name == "TABLES" || name == "BLOCKS" ||
                    name == "ENTITIES" || name == "OBJECTS";
    Tags inside = modelled && name != "HEADER" ? readComments() : Tags{};
    if (!inside.empty()) {
        doc.commentsInside.resize(doc.sectionOrder.size());
        doc.commentsInside.back() = std::move(inside);
    }
    if (name == "HEADER")
        readHeader(doc);
    else if (name == "TABLES")
        readTables(doc);
    else if (name == "BLOCKS")
        readBlocks(doc);
    else if (name == "ENTITIES" && sink_ && sink_->beginEntities(doc))
        while (!atEndOfSection()) sink_->entity(readEntity());
    else if (name == "ENTITIES")
        readEntities(doc.entities, nullptr);
    else if (name == "OBJECTS")
        readObjects(doc);
    else
        readRaw(doc, name);
    if (!endConsumed_) advance();  // past ENDSEC
    endConsumed_ = false;
    sectionName_.clear();
}

bool DocumentBuilder::atEndOfSection() {
    expectMore("ENDSEC");
    if (cur_.code != 0)
        fail(cur_.line, "expected group code 0 in section " + sectionName_ + ", found " +
                            std::to_string(cur_.code));
    if (cur_.value == "SECTION" || cur_.value == "EOF")
        fail(cur_.line, "section " + sectionName_ + " (line " + std::to_string(sectionLine_) +
                            ") has no ENDSEC before " + std::string(cur_.value));
    return isSectionEnd(cur_);
}

// Some writers put a stray "0 ENDSEC" after $HANDSEED in the middle of the header; when header
// variables follow it, it is dropped and the header goes on.
void DocumentBuilder::readHeader(Document& doc) {
    for (;;) {
        for (; have_ && cur_.code != 0; advance()) doc.header.push_back(makeTag(cur_, false));
        atEndOfSection();
        if (!isSectionEnd(cur_))
            fail(cur_.line, "unexpected '" + shown(cur_.value) + "' in the HEADER section");
        advance();
        if (!have_ || cur_.code != 9) break;
    }
    endConsumed_ = true;
    decodeHeader(doc.header);
    decodeEarlyComments(doc);
}

// The header names the encoding of all text, its own included, so its text is decoded last.
void DocumentBuilder::decodeHeader(Tags& header) {
    Tags version = findHeaderVar(header, "$ACADVER");
    Tags codePage = findHeaderVar(header, "$DWGCODEPAGE");
    decoder_.configure(version.empty() ? "" : version.front().value,
                       codePage.empty() ? "" : codePage.front().value);
    std::string decoded;
    for (Tag& t : header) {
        ValueKind kind = valueKind(t.code);
        if (kind != ValueKind::String && kind != ValueKind::Handle) continue;
        if (!decoder_.decode(t.value, decoded))
            fail(t.line + 1, "text of group code " + std::to_string(t.code) + " is not valid " +
                                 decoder_.encodingName());
        t.value.swap(decoded);
    }
}

void DocumentBuilder::readRaw(Document& doc, const std::string& name) {
    RawSection section{name, {}, {}};
    for (; have_ && cur_.code != 0; advance()) section.head.push_back(makeTag(cur_, true));
    while (!atEndOfSection()) section.records.push_back(readRecord());
    doc.rawSections.push_back(std::move(section));
}

void DocumentBuilder::readTables(Document& doc) {
    while (!atEndOfSection()) {
        if (cur_.value != "TABLE")
            fail(cur_.line,
                 "expected TABLE in the TABLES section, found '" + shown(cur_.value) + "'");
        Table table;
        table.head = readRecord();
        while (!atEndOfSection() && cur_.value != "ENDTAB") {
            if (cur_.value == "TABLE") fail(cur_.line, "TABLE inside a table: ENDTAB missing");
            table.entries.push_back(readRecord());
        }
        if (cur_.value != "ENDTAB")
            fail(cur_.line, "table at line " + std::to_string(table.head.line) + " has no ENDTAB");
        table.end = readRecord();
        doc.tables.push_back(std::move(table));
    }
}

void DocumentBuilder::readBlocks(Document& doc) {
    while (!atEndOfSection()) {
        if (cur_.value != "BLOCK")
            fail(cur_.line,
                 "expected BLOCK in the BLOCKS section, found '" + shown(cur_.value) + "'");
        Block block;
        block.begin = readRecord();
        readEntities(block.entities, "ENDBLK");
        block.end = readRecord();
        doc.blocks.push_back(std::move(block));
    }
}

// Entities up to STOP_TYPE (ENDBLK in a block) or to the end of the section.
void DocumentBuilder::readEntities(std::vector<Entity>& out, const char* stopType) {
    while (!atEndOfSection()) {
        if (stopType && cur_.value == stopType) return;
        if (stopType && cur_.value == "BLOCK")
            fail(cur_.line, "BLOCK inside a block: ENDBLK missing");
        out.push_back(readEntity());
    }
    if (stopType) fail(cur_.line, std::string("block has no ") + stopType);
}

Entity DocumentBuilder::readEntity() {
    Entity entity;
    entity.record = readRecord();
    const char* childType = entity.record.type == "POLYLINE" ? "VERTEX"
                            : entity.record.type == "INSERT" && hasAttributesFollow(entity.record)
                                ? "ATTRIB"
                                : nullptr;
    if (!childType) return entity;
    while (have_ && cur_.code == 0 && cur_.value == childType)
        entity.children.push_back(readRecord());
    if (have_ && cur_.code == 0 && cur_.value == "SEQEND") entity.children.push_back(readRecord());
    return entity;
}

void DocumentBuilder::readObjects(Document& doc) {
    while (!atEndOfSection()) doc.objects.push_back(readRecord());
}

}  // namespace solx::dxf
