// Saving: the database streamed into a DXF file, R2010 with valid handles and owners.
#include <algorithm>
#include <unordered_set>

#include "acad/acdb.h"
#include "db/DatabaseDefaults.h"
#include "db/DatabaseIo.h"
#include "db/TagResbuf.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfTagWriter.h"
#include "dxf/DxfWriter.h"

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

// Gives every record of the save a handle of its own. Objects have theirs by construction; the
// records that belong to an object (BLOCK and ENDBLK, VERTEX, SEQEND, children of entities kept
// whole) get a fresh one when theirs is missing, zero or taken by another record.
class RecordHandles {
public:
    explicit RecordHandles(AcDbDatabase& db) : db_(db) {
        db.forEachObject([&](AcDbObject* o) { objects_.push_back(o->handle().value()); });
        std::sort(objects_.begin(), objects_.end());
    }
    void fix(AcDbHandle& h) {
        const bool taken = h.isNull() ||
                           std::binary_search(objects_.begin(), objects_.end(), h.value()) ||
                           !others_.insert(h.value()).second;
        if (taken) {
            h = db_.allocateHandle();
            others_.insert(h.value());
        }
        db_.noteHandle(h);  // $HANDSEED stays above a kept handle
    }
    void fix(AcDbDxfRecord& r) {
        for (auto& t : r.tags) {
            if (t.code != 5) continue;
            AcDbHandle h(acdbWide(t.value).c_str());
            fix(h);
            t.value = acdbUtf8(h.toString());
            return;
        }
        AcDbHandle h;
        fix(h);
        r.tags.insert(r.tags.begin(), AcDbDxfTag{5, acdbUtf8(h.toString())});
    }

private:
    AcDbDatabase& db_;
    std::vector<uint64_t> objects_;
    std::unordered_set<uint64_t> others_;
};

void assignRecordHandles(AcDbDatabase& db) {
    RecordHandles handles(db);
    db.forEachObject([&](AcDbObject* o) {
        if (o->isErased()) return;
        if (auto* block = dynamic_cast<AcDbBlockTableRecord*>(o)) {
            handles.fix(block->beginHandle);
            handles.fix(block->endHandle);
        } else if (auto* unknown = dynamic_cast<AcDbUnknownEntity*>(o)) {
            for (auto& child : unknown->children()) handles.fix(child);
        } else if (auto* poly = dynamic_cast<AcDbPolyEntity*>(o)) {
            for (auto& v : poly->vertices()) handles.fix(v.handle);
            handles.fix(poly->seqendHandle);
        } else if (auto* ref = dynamic_cast<AcDbBlockReference*>(o);
                   ref && !ref->attributes().empty()) {
            handles.fix(ref->seqendHandle);
        }
    });
}

// Everything a save changes in the database happens here, before anything is written: each
// object prepares itself (tables and markers rebuild their blocks, polylines number their
// vertices), which may add objects; those are prepared in a further round. No object is
// prepared while the object list is walked: each round first takes the list of objects added
// since the last one, then prepares them.
void prepareForSave(AcDbDatabase& db) {
    std::vector<AcDbObject*> batch;
    for (size_t done = 0;;) {
        batch.clear();
        size_t index = 0;
        db.forEachObject([&](AcDbObject* o) {
            if (index++ >= done) batch.push_back(o);
        });
        if (batch.empty()) break;
        done = index;
        for (AcDbObject* o : batch)
            if (!o->isErased()) o->prepareForSave();
    }
    ensureReferences(db);
    assignRecordHandles(db);
}

// Streams the sections of a prepared database. It changes nothing in the database, so the
// walks below see fixed collections; every handle written is checked to be non-zero, below
// $HANDSEED and used once before the file is kept.
class Writer {
public:
    Writer(AcDbDatabase& db, std::string path)
        : db_(db), path_(std::move(path)), seed_(db.handseed().value()) {}
    // The header, the sections kept whole and the order; the four sections of objects are
    // left to bodies().
    dxf::Document frame();
    dxf::SectionBodies bodies() {
        return [this](const std::string& name, dxf::TagWriter& out) { return body(name, out); };
    }

private:
    bool body(const std::string& name, dxf::TagWriter& out);
    void writeTables(dxf::TagWriter& out);
    void writeBlocks(dxf::TagWriter& out, bool layouts);
    void writeEntity(const AcDbEntity* ent, dxf::TagWriter& out);
    void writeObjects(dxf::TagWriter& out);
    void emit(const dxf::Record& r, dxf::TagWriter& out);
    void checkHandles();

    AcDbDatabase& db_;
    std::string path_;  // for messages
    uint64_t seed_;
    std::vector<uint64_t> written_;  // handles of the records written
    int sectionsDone_ = 0;
};

void Writer::emit(const dxf::Record& r, dxf::TagWriter& out) {
    for (const auto& t : r.tags)
        if (t.code == 5 || t.code == 105) {
            written_.push_back(AcDbHandle(acdbWide(t.value).c_str()).value());
            break;
        }
    out.record(r);
}

void Writer::checkHandles() {
    std::sort(written_.begin(), written_.end());
    auto bad = [&](const char* what, uint64_t h) {
        throw dxf::DxfError(
            path_, 0,
            std::string("cannot save: ") + what + " " + acdbUtf8(AcDbHandle(h).toString()));
    };
    if (!written_.empty() && written_.front() == 0) bad("a record would be written with handle", 0);
    if (auto dup = std::adjacent_find(written_.begin(), written_.end()); dup != written_.end())
        bad("two records would share the handle", *dup);
    if (!written_.empty() && written_.back() >= seed_)
        bad("a record's handle is not below $HANDSEED:", written_.back());
    std::vector<uint64_t>().swap(written_);
}

dxf::Document Writer::frame() {
    db_.setHeaderVar("$ACADVER", {{1, "AC1024"}});
    db_.setHeaderVar("$DWGCODEPAGE", {{3, "ANSI_1252"}});
    db_.setHeaderVar("$HANDSEED", {{5, acdbUtf8(db_.handseed().toString())}});
    dxf::Document doc;
    for (const auto& v : db_.header()) {
        doc.header.push_back({9, v.name, 0});
        for (const auto& t : v.tags) doc.header.push_back({t.code, t.value, 0});
    }
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

bool Writer::body(const std::string& name, dxf::TagWriter& out) {
    if (name == "TABLES")
        writeTables(out);
    else if (name == "BLOCKS")
        writeBlocks(out, false);
    else if (name == "ENTITIES")
        writeBlocks(out, true);
    else if (name == "OBJECTS")
        writeObjects(out);
    else
        return false;
    if (++sectionsDone_ == 4) checkHandles();
    return true;
}

void Writer::writeTables(dxf::TagWriter& out) {
    for (AcDbObjectId tid : db_.tableIds()) {
        auto* table = dynamic_cast<AcDbSymbolTable*>(tid.object());
        if (!table || table->isErased()) continue;
        emit(writeRecord(*table), out);
        for (AcDbObjectId rid : table->recordIds()) {
            AcDbObject* rec = rid.object();
            if (rec && !rec->isErased()) emit(writeRecord(*rec), out);
        }
        out.record(dxf::Record{"ENDTAB", {}, 0});
    }
}

void Writer::writeEntity(const AcDbEntity* ent, dxf::TagWriter& out) {
    emit(writeRecord(*ent), out);
    if (auto* unknown = dynamic_cast<const AcDbUnknownEntity*>(ent)) {
        for (const auto& c : unknown->children()) emit(toRecord(c.type, c.tags), out);
    } else if (auto* poly = dynamic_cast<const AcDbPolyEntity*>(ent)) {
        for (const auto& v : poly->vertices()) emit(toRecord("VERTEX", poly->writeVertex(v)), out);
        emit(toRecord("SEQEND", poly->writeSeqend()), out);
    } else if (auto* ref = dynamic_cast<const AcDbBlockReference*>(ent);
               ref && !ref->attributes().empty()) {
        for (const AcDbAttribute* att : ref->attributes())
            if (!att->isErased()) emit(writeRecord(*att), out);
        emit(toRecord("SEQEND", ref->writeSeqend()), out);
    }
}

// LAYOUTS false: the BLOCKS section, every block with its entities except those of model and
// paper space, which (LAYOUTS true) make the ENTITIES section, model space first.
void Writer::writeBlocks(dxf::TagWriter& out, bool layouts) {
    auto* table = dynamic_cast<AcDbSymbolTable*>(db_.blockTableId().object());
    if (!table) return;
    AcDbObjectId model = db_.modelSpaceId(), paper = db_.paperSpaceId();
    auto writeContents = [&](const AcDbBlockTableRecord& block) {
        for (AcDbObjectId eid : block.entityIds()) {
            auto* ent = dynamic_cast<AcDbEntity*>(eid.object());
            if (ent && !ent->isErased()) writeEntity(ent, out);
        }
    };
    if (layouts) {
        for (AcDbObjectId bid : {model, paper})
            if (auto* block = dynamic_cast<AcDbBlockTableRecord*>(bid.object());
                block && !block->isErased())
                writeContents(*block);
        return;
    }
    for (AcDbObjectId bid : table->recordIds()) {
        auto* block = dynamic_cast<AcDbBlockTableRecord*>(bid.object());
        if (!block || block->isErased()) continue;
        emit(toRecord("BLOCK", block->writeBlockBegin()), out);
        if (bid != model && bid != paper) writeContents(*block);
        emit(toRecord("ENDBLK", block->writeBlockEnd()), out);
    }
}

void Writer::writeObjects(dxf::TagWriter& out) {
    AcDbObject* root = db_.namedObjectsDictionaryId().object();
    if (root) emit(writeRecord(*root), out);
    db_.forEachObject([&](AcDbObject* o) {
        if (o == root || o->isErased() || dynamic_cast<AcDbEntity*>(o) ||
            dynamic_cast<AcDbSymbolTable*>(o) || dynamic_cast<AcDbSymbolTableRecord*>(o))
            return;
        emit(writeRecord(*o), out);
    });
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

void saveDatabase(AcDbDatabase& db, const std::string& path) {
    prepareForSave(db);
    Writer writer(db, path);
    dxf::writeDocument(writer.frame(), path, writer.bodies());
}

std::string serializeDatabase(AcDbDatabase& db) {
    prepareForSave(db);
    Writer writer(db, "(memory)");
    return dxf::serializeDocument(writer.frame(), writer.bodies());
}

dxf::Document saveDocument(AcDbDatabase& db) {
    return dxf::parseDocument(serializeDatabase(db), "saved.dxf");
}

}  // namespace solx::db
