// Saving: the database into a document, R2010 with valid handles and owners.
#include "acad/acdb.h"
#include "db/DatabaseDefaults.h"
#include "db/DatabaseIo.h"
#include "db/TagResbuf.h"

namespace solx::db {

namespace {

dxf::Record toRecord(std::string type, const AcDbDxfTags& tags) {
    return dxf::Record{std::move(type), toDxfTags(tags), 0};
}

void appendXData(const AcDbObject& obj, AcDbDxfTags& tags) {
    std::wstring tag = obj.solxTypeTag();
    if (!tag.empty()) {
        tags.push_back({1001, acdbUtf8(kSolxTypeApp)});
        tags.push_back({1000, acdbUtf8(tag)});
        obj.dxfOutSolxData(tags);
    }
    for (const auto& app : obj.xDataApps()) {
        tags.push_back({1001, acdbUtf8(app.app)});
        tags.insert(tags.end(), app.tags.begin(), app.tags.end());
    }
}

class Writer {
public:
    explicit Writer(AcDbDatabase& db) : db_(db) {}
    dxf::Document write();

private:
    void writeHeader(dxf::Document& doc);
    void writeTables(dxf::Document& doc);
    void writeBlocks(dxf::Document& doc);
    dxf::Entity writeEntity(const AcDbEntity* ent);
    void writeObjects(dxf::Document& doc);
    AcDbDatabase& db_;
};

void Writer::writeHeader(dxf::Document& doc) {
    db_.setHeaderVar("$ACADVER", {{1, "AC1024"}});
    db_.setHeaderVar("$DWGCODEPAGE", {{3, "ANSI_1252"}});
    db_.setHeaderVar("$HANDSEED", {{5, acdbUtf8(db_.handseed().toString())}});
    for (const auto& v : db_.header()) {
        doc.header.push_back({9, v.name, 0});
        for (const auto& t : v.tags) doc.header.push_back({t.code, t.value, 0});
    }
}

void Writer::writeTables(dxf::Document& doc) {
    for (AcDbObjectId tid : db_.tableIds()) {
        auto* table = dynamic_cast<AcDbSymbolTable*>(tid.object());
        if (!table || table->isErased()) continue;
        dxf::Table out;
        out.head = writeRecord(*table);
        for (AcDbObjectId rid : table->recordIds()) {
            AcDbObject* rec = rid.object();
            if (rec && !rec->isErased()) out.entries.push_back(writeRecord(*rec));
        }
        doc.tables.push_back(std::move(out));
    }
}

dxf::Entity Writer::writeEntity(const AcDbEntity* ent) {
    dxf::Entity out;
    out.record = writeRecord(*ent);
    if (auto* unknown = dynamic_cast<const AcDbUnknownEntity*>(ent)) {
        for (const auto& c : unknown->children()) out.children.push_back(toRecord(c.type, c.tags));
    } else if (auto* poly = dynamic_cast<const AcDbPolyEntity*>(ent)) {
        for (const auto& v : poly->vertices())
            out.children.push_back(toRecord("VERTEX", poly->writeVertex(v)));
        out.children.push_back(toRecord("SEQEND", poly->writeSeqend()));
    } else if (auto* ref = dynamic_cast<const AcDbBlockReference*>(ent);
               ref && !ref->attributes().empty()) {
        for (const AcDbAttribute* att : ref->attributes())
            if (!att->isErased()) out.children.push_back(writeRecord(*att));
        out.children.push_back(toRecord("SEQEND", ref->writeSeqend()));
    }
    return out;
}

void Writer::writeBlocks(dxf::Document& doc) {
    auto* table = dynamic_cast<AcDbSymbolTable*>(db_.blockTableId().object());
    if (!table) return;
    AcDbObjectId model = db_.modelSpaceId(), paper = db_.paperSpaceId();
    for (AcDbObjectId bid : table->recordIds()) {
        auto* block = dynamic_cast<AcDbBlockTableRecord*>(bid.object());
        if (!block || block->isErased()) continue;
        dxf::Block out;
        out.begin = toRecord("BLOCK", block->writeBlockBegin());
        out.end = toRecord("ENDBLK", block->writeBlockEnd());
        bool layout = bid == model || bid == paper;
        for (AcDbObjectId eid : block->entityIds()) {
            auto* ent = dynamic_cast<AcDbEntity*>(eid.object());
            if (!ent || ent->isErased()) continue;
            (layout ? doc.entities : out.entities).push_back(writeEntity(ent));
        }
        doc.blocks.push_back(std::move(out));
    }
}

void Writer::writeObjects(dxf::Document& doc) {
    AcDbObject* root = db_.namedObjectsDictionaryId().object();
    if (root) doc.objects.push_back(writeRecord(*root));
    db_.forEachObject([&](AcDbObject* o) {
        if (o == root || o->isErased() || dynamic_cast<AcDbEntity*>(o) ||
            dynamic_cast<AcDbSymbolTable*>(o) || dynamic_cast<AcDbSymbolTableRecord*>(o))
            return;
        doc.objects.push_back(writeRecord(*o));
    });
}

dxf::Document Writer::write() {
    db_.forEachObject([](AcDbObject* o) {
        if (!o->isErased()) o->prepareForSave();
    });
    ensureReferences(db_);
    dxf::Document doc;
    writeTables(doc);
    writeBlocks(doc);
    writeObjects(doc);
    writeHeader(doc);  // last: $HANDSEED above every handle handed out meanwhile
    for (auto& [name, section] : db_.rawSections()) {
        if (name == "THUMBNAILIMAGE") continue;  // a stale picture of the drawing
        dxf::RawSection raw{name, {}, toDxfTags(section.head)};
        for (const auto& r : section.records) raw.records.push_back(toRecord(r.type, r.tags));
        doc.rawSections.push_back(std::move(raw));
    }
    doc.sectionOrder = {"HEADER"};
    if (db_.rawSections().count("CLASSES")) doc.sectionOrder.push_back("CLASSES");
    for (const char* s : {"TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}) doc.sectionOrder.push_back(s);
    for (const auto& s : doc.rawSections)
        if (s.name != "CLASSES") doc.sectionOrder.push_back(s.name);
    return doc;
}

}  // namespace

dxf::Record writeRecord(const AcDbObject& obj) {
    AcDbDxfFiler f(&obj.keptTags());
    AcDbHandle owner = obj.ownerHandle();
    // Tables and the named-objects dictionary belong to no one: their owner is written as 0.
    bool topLevel = dynamic_cast<const AcDbSymbolTable*>(&obj) ||
                    (owner.isNull() && dynamic_cast<const AcDbDictionary*>(&obj));
    f.writeHead(obj.handleCode(), obj.handle(), owner);
    if (topLevel && owner.isNull()) f.writeUtf8(330, "0");
    obj.dxfOutFields(f);
    AcDbDxfTags tags = f.finish();
    if (auto* table = dynamic_cast<const AcDbSymbolTable*>(&obj))  // "0 TABLE" then "2 name"
        tags.insert(tags.begin(), AcDbDxfTag{2, acdbUtf8(table->tableName())});
    appendXData(obj, tags);
    return toRecord(obj.dxfRecordType(), tags);
}

dxf::Document saveDocument(AcDbDatabase& db) {
    return Writer(db).write();
}

}  // namespace solx::db
