// Loading a whole document: header, kept sections, tables, blocks, entities and objects.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "acad/acdb.h"
#include "db/ClassRegistry.h"
#include "db/DatabaseDefaults.h"
#include "db/DatabaseIo.h"
#include "db/TagResbuf.h"
#include "dxf/DxfReader.h"

namespace solx::db {

namespace {

// A set of handle values: an open-addressing table (0, the null handle, marks a free slot).
class HandleSet {
public:
    size_t count(uint64_t h) const {
        if (h == 0 || slots_.empty()) return 0;
        for (size_t i = slot(h);; i = (i + 1) & mask_) {
            if (slots_[i] == h) return 1;
            if (slots_[i] == 0) return 0;
        }
    }
    void insert(uint64_t h) {
        if (h == 0) return;
        if ((size_ + 1) * 2 > slots_.size()) rehash(std::max<size_t>(64, slots_.size() * 2));
        for (size_t i = slot(h);; i = (i + 1) & mask_) {
            if (slots_[i] == h) return;
            if (slots_[i] == 0) {
                slots_[i] = h;
                ++size_;
                return;
            }
        }
    }

private:
    size_t slot(uint64_t h) const { return (h * 0x9E3779B97F4A7C15ull >> 17) & mask_; }
    void rehash(size_t wanted) {
        size_t n = 64;
        while (n < wanted) n *= 2;
        std::vector<uint64_t> old(n, 0);
        old.swap(slots_);
        mask_ = n - 1;
        size_ = 0;
        for (uint64_t h : old)
            if (h) insert(h);
    }
    std::vector<uint64_t> slots_;
    size_t mask_ = 0;
    size_t size_ = 0;
};

class Loader : public dxf::EntitySink {
public:
    Loader(AcDbDatabase& db, const std::string& file) : db_(db), file_(file) {}
    // With `consumable` (the same document, given up by the caller), each entity's tags are
    // released once its object is made, so a large drawing is never held twice (as tags and as
    // objects) at the peak of a load.
    void load(const dxf::Document& doc, dxf::Document* consumable);
    // The end of a streamed load, once the reader is through (doc: what it did not stream).
    void finish(dxf::Document& doc);

    // Streaming from the reader: the first pass gives every handle of the file, so fresh
    // handles given out while loading never meet one further down the file.
    void scannedSection(std::string_view name) override;
    void scannedRecord(std::string_view type, std::string_view handle) override;
    bool beginEntities(dxf::Document& doc) override;
    void entity(dxf::Entity&& e) override { loadEntity(e, nullptr); }

private:
    void reserveHandles(const dxf::Document& doc);
    void noteRecord(const dxf::Record& r);
    // Header, raw sections, tables and blocks: everything entities may refer to.
    void loadFront(const dxf::Document& doc, dxf::Document* consumable);
    // Objects, then what can only be done once everything is in.
    void loadBack(const dxf::Document& doc);
    AcDbObjectId add(AcDbObject* obj, const dxf::Record& r);
    void loadHeader(const dxf::Tags& header);
    void loadRaw(const dxf::Document& doc);
    void loadTable(const dxf::Table& table);
    void loadBlock(const dxf::Block& block, dxf::Block* consumable);
    AcDbBlockTableRecord* blockFor(const dxf::Record& begin);
    AcDbObjectId loadEntity(const dxf::Entity& e, AcDbBlockTableRecord* owner);
    void loadChildren(AcDbEntity* ent, const dxf::Entity& e);
    AcDbBlockTableRecord* ownerOfTopEntity(const AcDbEntity* ent);
    void markBlockCycles();

    AcDbDatabase& db_;
    const std::string& file_;
    // Handles of block begin and end records (not objects of their own): a handle is taken
    // when an object of the database or one of these has it.
    HandleSet blockEnds_;
    bool taken(AcDbHandle h) const { return !db_.idOf(h).isNull() || blockEnds_.count(h.value()); }
    size_t records_ = 0;    // records of the document, counted while reserving their handles
    size_t rawLoaded_ = 0;  // raw sections already loaded
    bool frontLoaded_ = false;
    // The first pass: whether a TABLES or BLOCKS section comes after ENTITIES (then the
    // entities wait for the whole file, as they need the tables and blocks first).
    bool seenEntities_ = false, lateTables_ = false;
};

void Loader::noteRecord(const dxf::Record& r) {
    ++records_;
    int code = r.type == "DIMSTYLE" ? 105 : 5;
    for (const auto& t : r.tags)
        if (t.code == code) {
            db_.noteHandle(fileHandle(t.value));
            return;
        }
}

// Handles of the file are kept; records without one get fresh handles above all of them.
void Loader::reserveHandles(const dxf::Document& doc) {
    for (const auto& t : doc.tables) {
        noteRecord(t.head);
        for (const auto& r : t.entries) noteRecord(r);
    }
    auto noteEntity = [&](const dxf::Entity& e) {
        noteRecord(e.record);
        for (const auto& c : e.children) noteRecord(c);
    };
    for (const auto& b : doc.blocks) {
        noteRecord(b.begin);
        noteRecord(b.end);
        for (const auto& e : b.entities) noteEntity(e);
    }
    for (const auto& e : doc.entities) noteEntity(e);
    for (const auto& r : doc.objects) noteRecord(r);
    // One growth of the handle sets instead of a rehash at every doubling.
    db_.reserveObjects(records_);
}

AcDbObjectId Loader::add(AcDbObject* obj, const dxf::Record& r) {
    AcDbHandle h;
    try {
        h = readRecordFields(*obj, r.tags);
    } catch (const std::runtime_error& e) {  // data a typed class refuses
        std::string handle;
        for (const auto& t : r.tags)
            if (t.code == obj->handleCode()) {
                handle = " (handle " + t.value + ")";
                break;
            }
        delete obj;
        throw dxf::DxfError(file_, r.line, r.type + handle + ": " + e.what());
    }
    AcDbObjectId id;
    if (h.isNull() || blockEnds_.count(h.value()) ||
        db_.addAcDbObjectWithHandle(id, obj, h) != Acad::eOk)
        db_.addAcDbObject(id, obj);  // missing or repeated handle: a fresh one
    return id;
}

void Loader::loadHeader(const dxf::Tags& header) {
    auto& vars = db_.header();
    for (const auto& t : header) {
        if (t.code == 9)
            vars.push_back({t.value, {}});
        else if (!vars.empty())
            vars.back().tags.push_back({t.code, t.value});
    }
}

void Loader::loadTable(const dxf::Table& table) {
    std::wstring name;
    for (const auto& t : table.head.tags)
        if (t.code == 2) name = acdbWide(t.value);
    auto* tableObj = new AcDbSymbolTable(upper(name));
    AcDbObjectId tableId = add(tableObj, table.head);
    db_.tableIds().append(tableId);
    for (const auto& r : table.entries) {
        AcDbSymbolTableRecord* rec = newTableRecord(name);
        // A table we do not model keeps its records' own type: its name may be anything, even
        // "ENDSEC", which written as a record type would end the section.
        if (dynamic_cast<AcDbUnknownTableRecord*>(rec)) {
            delete rec;
            rec = new AcDbUnknownTableRecord(r.type);
        }
        AcDbObjectId id = add(rec, r);
        // A block is written under its record's name, and a block needs one.
        if (dynamic_cast<AcDbBlockTableRecord*>(rec) && rec->getName().empty())
            throw dxf::DxfError(file_, r.line, "block record without a name");
        rec->setOwnerId(tableId);
        tableObj->recordIds().append(id);
    }
}

AcDbBlockTableRecord* Loader::blockFor(const dxf::Record& begin) {
    std::wstring name;
    for (const auto& t : begin.tags)
        if (t.code == 2) name = acdbWide(t.value);
    if (name.empty()) throw dxf::DxfError(file_, begin.line, "block without a name");
    if (sameName(name, L"$MODEL_SPACE")) name = L"*Model_Space";  // R12 spellings
    if (sameName(name, L"$PAPER_SPACE")) name = L"*Paper_Space";
    AcDbObjectId id = db_.symbolId(L"BLOCK_RECORD", name);
    if (id.isNull()) id = db_.addBlock(name);  // files without a BLOCK_RECORD table
    return dynamic_cast<AcDbBlockTableRecord*>(id.object());
}

void Loader::loadBlock(const dxf::Block& block, dxf::Block* consumable) {
    AcDbBlockTableRecord* rec = blockFor(block.begin);
    if (!rec) throw dxf::DxfError(file_, block.begin.line, "block record is not a block");
    rec->readBlockBegin(toDbTags(block.begin.tags));
    rec->readBlockEnd(toDbTags(block.end.tags));
    if (rec->beginHandle.isNull() || taken(rec->beginHandle))
        rec->beginHandle = db_.allocateHandle();
    if (rec->endHandle.isNull() || taken(rec->endHandle)) rec->endHandle = db_.allocateHandle();
    blockEnds_.insert(rec->beginHandle.value());
    blockEnds_.insert(rec->endHandle.value());
    for (size_t i = 0; i < block.entities.size(); ++i) {
        loadEntity(block.entities[i], rec);
        if (consumable) consumable->entities[i] = dxf::Entity{};
    }
}

AcDbBlockTableRecord* Loader::ownerOfTopEntity(const AcDbEntity* ent) {
    auto* owner = dynamic_cast<AcDbBlockTableRecord*>(db_.idOf(ent->ownerHandle()).object());
    if (owner) return owner;
    auto paper = ent->AcDbObject::groupValue(67);
    AcDbObjectId space = paper && paper->number == 1 ? db_.paperSpaceId() : db_.modelSpaceId();
    return dynamic_cast<AcDbBlockTableRecord*>(space.object());
}

// True when a record gives an extrusion direction (210, 220, 230) of length zero.
bool hasZeroExtrusion(const dxf::Tags& tags) {
    bool given = false;
    double length2 = 0;
    for (const auto& t : tags)
        if (t.code == 210 || t.code == 220 || t.code == 230) {
            double v = std::strtod(t.value.c_str(), nullptr);
            given = true, length2 += v * v;
        }
    return given && length2 == 0;
}

AcDbObjectId Loader::loadEntity(const dxf::Entity& e, AcDbBlockTableRecord* owner) {
    auto* ent = static_cast<AcDbEntity*>(newEntityFor(e.record.type, e.record.tags));
    ent->keepOwnProperties();
    AcDbObjectId id = add(ent, e.record);
    // A window block placed without a plane would be analysed facing up without a word.
    if (dynamic_cast<AcDbBlockReference*>(ent) && hasZeroExtrusion(e.record.tags))
        db_.addLoadWarning(acdbWide(file_) + L":" + std::to_wstring(e.record.line) +
                           L": INSERT (handle " + id.handle().toString() +
                           L") has an extrusion direction of length zero: read as (0, 0, 1)");
    if (!owner) owner = ownerOfTopEntity(ent);
    if (!owner) throw dxf::DxfError(file_, e.record.line, "no model space for the entity");
    ent->setOwnerId(owner->objectId());
    owner->entityIds().append(id);
    loadChildren(ent, e);
    return id;
}

void Loader::loadChildren(AcDbEntity* ent, const dxf::Entity& e) {
    if (auto* unknown = dynamic_cast<AcDbUnknownEntity*>(ent)) {
        for (const auto& c : e.children) unknown->children().push_back({c.type, toDbTags(c.tags)});
    } else if (auto* poly = dynamic_cast<AcDbPolyEntity*>(ent)) {
        for (const auto& c : e.children) {
            if (c.type == "VERTEX")
                poly->readVertex(toDbTags(c.tags));
            else if (c.type == "SEQEND")
                poly->readSeqend(toDbTags(c.tags));
        }
        poly->dxfLoadedVertices();
    } else if (auto* ref = dynamic_cast<AcDbBlockReference*>(ent)) {
        for (const auto& c : e.children) {
            if (c.type == "ATTRIB") {
                auto* att = new AcDbAttribute();
                add(att, c);
                att->setOwnerId(ref->objectId());
                ref->adoptAttribute(att);
            } else if (c.type == "SEQEND") {
                ref->readSeqend(toDbTags(c.tags));
            }
        }
    }
}

// Inserts whose block leads back to the block that holds them (a block inserting itself, two
// blocks inserting each other, an insert of model space in model space) would never finish
// being measured or drawn. They are the inserts between blocks of one strongly connected
// component of the "block inserts block" graph (Tarjan's algorithm, without recursion: files
// nest blocks many thousand deep). Each is marked and reported.
void Loader::markBlockCycles() {
    auto* table = dynamic_cast<AcDbSymbolTable*>(db_.blockTableId().object());
    if (!table) return;
    std::vector<AcDbBlockTableRecord*> blocks;
    std::unordered_map<const AcDbObject*, size_t> index;
    for (AcDbObjectId id : table->recordIds())
        if (auto* b = dynamic_cast<AcDbBlockTableRecord*>(id.object())) {
            index.emplace(b, blocks.size());
            blocks.push_back(b);
        }
    struct Edge {
        AcDbBlockReference* ref;
        size_t to;
    };
    std::vector<std::vector<Edge>> edges(blocks.size());
    for (size_t b = 0; b < blocks.size(); ++b)
        for (AcDbObjectId id : blocks[b]->entityIds())
            if (auto* ref = dynamic_cast<AcDbBlockReference*>(id.object())) {
                auto it = index.find(ref->blockTableRecord().object());
                if (it != index.end()) edges[b].push_back({ref, it->second});
            }

    constexpr size_t kNone = SIZE_MAX;
    std::vector<size_t> order(blocks.size(), kNone), low(blocks.size()), component(blocks.size());
    std::vector<bool> onStack(blocks.size());
    std::vector<size_t> stack;
    std::vector<std::pair<size_t, size_t>> walk;  // block and its next edge
    size_t counter = 0, components = 0;
    for (size_t root = 0; root < blocks.size(); ++root) {
        if (order[root] != kNone) continue;
        walk.push_back({root, 0});
        order[root] = low[root] = counter++;
        stack.push_back(root), onStack[root] = true;
        while (!walk.empty()) {
            auto& [b, next] = walk.back();
            if (next < edges[b].size()) {
                size_t to = edges[b][next++].to;
                if (order[to] == kNone) {
                    order[to] = low[to] = counter++;
                    stack.push_back(to), onStack[to] = true;
                    walk.push_back({to, 0});
                } else if (onStack[to]) {
                    low[b] = std::min(low[b], order[to]);
                }
                continue;
            }
            const size_t done = b;
            walk.pop_back();
            if (!walk.empty()) low[walk.back().first] = std::min(low[walk.back().first], low[done]);
            if (low[done] != order[done]) continue;
            for (size_t member = kNone; member != done;) {
                member = stack.back();
                stack.pop_back(), onStack[member] = false;
                component[member] = components;
            }
            ++components;
        }
    }

    constexpr size_t kReported = 20;
    size_t found = 0;
    for (size_t b = 0; b < blocks.size(); ++b)
        for (const Edge& e : edges[b]) {
            if (component[b] != component[e.to]) continue;
            e.ref->setClosesCycle(true);
            if (found++ < kReported)
                db_.addLoadWarning(
                    acdbWide(file_) + L": the insert of block \"" + blocks[e.to]->getName() +
                    L"\" (handle " + e.ref->handle().toString() + L") in block \"" +
                    blocks[b]->getName() + L"\" leads back to itself: it is treated as empty");
        }
    if (found > kReported)
        db_.addLoadWarning(acdbWide(file_) + L": " + std::to_wstring(found - kReported) +
                           L" more inserts lead back to their own block");
}

void Loader::scannedSection(std::string_view name) {
    if (name == "ENTITIES") seenEntities_ = true;
    if (seenEntities_ && (name == "TABLES" || name == "BLOCKS")) lateTables_ = true;
}

void Loader::scannedRecord(std::string_view, std::string_view handle) {
    ++records_;
    if (handle.empty()) return;
    // As fileHandle() reads it; text that is not plain hexadecimal is no handle there either.
    uint64_t v = 0;
    for (char c : handle) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0 || v >> 59) return;
        v = v * 16 + static_cast<uint64_t>(d);
    }
    if (!(v >> 62)) db_.noteHandle(AcDbHandle(v));
}

bool Loader::beginEntities(dxf::Document& doc) {
    if (lateTables_) return false;
    db_.reserveObjects(records_);
    loadFront(doc, &doc);
    return true;
}

void Loader::loadRaw(const dxf::Document& doc) {
    for (; rawLoaded_ < doc.rawSections.size(); ++rawLoaded_) {
        const auto& s = doc.rawSections[rawLoaded_];
        auto& raw = db_.rawSection(s.name);
        raw.head = toDbTags(s.head);
        for (const auto& r : s.records) raw.records.push_back({r.type, toDbTags(r.tags)});
    }
}

void Loader::loadFront(const dxf::Document& doc, dxf::Document* consumable) {
    frontLoaded_ = true;
    loadHeader(doc.header);
    loadRaw(doc);
    for (const auto& t : doc.tables) loadTable(t);
    completeTables(db_);  // R12 files lack BLOCK_RECORD, APPID ...
    for (size_t i = 0; i < doc.blocks.size(); ++i)
        loadBlock(doc.blocks[i], consumable ? &consumable->blocks[i] : nullptr);
    completeBlocks(db_);
}

void Loader::loadBack(const dxf::Document& doc) {
    loadRaw(doc);
    db_.sectionOrder() = doc.sectionOrder;
    for (const auto& r : doc.objects) {
        AcDbObjectId id = add(newObjectFor(r.type, r.tags), r);
        if (db_.namedObjectsDictionaryId().isNull() && r.type == "DICTIONARY")
            db_.setNamedObjectsDictionaryId(id);
    }
    completeObjects(db_);
    markBlockCycles();
    db_.forEachObject([](AcDbObject* o) { o->dxfLoaded(); });
}

void Loader::load(const dxf::Document& doc, dxf::Document* consumable) {
    reserveHandles(doc);
    loadFront(doc, consumable);
    for (size_t i = 0; i < doc.entities.size(); ++i) {
        loadEntity(doc.entities[i], nullptr);
        if (consumable) consumable->entities[i] = dxf::Entity{};
    }
    loadBack(doc);
}

void Loader::finish(dxf::Document& doc) {
    if (!frontLoaded_) {  // no ENTITIES section, or one before the tables or blocks
        db_.reserveObjects(records_);
        loadFront(doc, &doc);
    }
    for (auto& e : doc.entities) {
        loadEntity(e, nullptr);
        e = dxf::Entity{};
    }
    loadBack(doc);
}

}  // namespace

void loadDocument(AcDbDatabase& db, const dxf::Document& doc, const std::string& fileName) {
    Loader(db, fileName).load(doc, nullptr);
}

void loadDocument(AcDbDatabase& db, dxf::Document&& doc, const std::string& fileName) {
    Loader(db, fileName).load(doc, &doc);
}

void loadDrawingBytes(AcDbDatabase& db, std::string_view bytes, const std::string& fileName) {
    Loader loader(db, fileName);
    dxf::Document doc = dxf::parseDocument(bytes, fileName, &loader);
    loader.finish(doc);
}

void loadDrawingFile(AcDbDatabase& db, const std::string& path) {
    Loader loader(db, path);
    dxf::Document doc = dxf::readDocument(path, &loader);
    loader.finish(doc);
}

}  // namespace solx::db
