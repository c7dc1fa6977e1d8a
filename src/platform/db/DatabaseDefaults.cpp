#include "db/DatabaseDefaults.h"

#include <set>

#include "acad/acdb.h"
#include "db/ClassRegistry.h"
#include "db/DatabaseIo.h"
#include "db/TagResbuf.h"
#include "dxf/DxfReader.h"

namespace solx::db {

namespace {

const char* const kTemplate =
#include "db/DefaultDrawing.inc"
    ;

const dxf::Document& templateDocument() {
    static const dxf::Document doc = dxf::parseDocument(kTemplate, "default drawing");
    return doc;
}

std::wstring nameOf(const dxf::Tags& tags) {
    for (const auto& t : tags)
        if (t.code == 2) return acdbWide(t.value);
    return {};
}

// A template record without its handle and owner, so the database gives fresh ones.
dxf::Tags withoutIdentity(const dxf::Tags& tags) {
    dxf::Tags out;
    bool ownerDropped = false;
    for (const auto& t : tags) {
        if (t.code == 5 || t.code == 105) continue;
        if (t.code == 330 && !ownerDropped) {
            ownerDropped = true;
            continue;
        }
        out.push_back(t);
    }
    return out;
}

void addMissingEntries(AcDbSymbolTable* table, const dxf::Table& tmpl) {
    for (const auto& r : tmpl.entries) {
        std::wstring name = nameOf(r.tags);
        if (table->has(name.c_str())) continue;
        AcDbSymbolTableRecord* rec = newTableRecord(table->tableName());
        readRecordFields(*rec, withoutIdentity(r.tags));
        if (table->add(rec) != Acad::eOk) delete rec;
    }
}

bool hasKept(const AcDbObject* o, int code) {
    for (const auto& k : o->keptTags())
        if (k.tag.code == code) return true;
    return false;
}

const dxf::Record* templateLayout(const std::string& name) {
    for (const auto& r : templateDocument().objects) {
        if (r.type != "LAYOUT") continue;
        for (const auto& t : r.tags)
            if (t.code == 1 && t.value == name) return &r;
    }
    return nullptr;
}

void ensureLayout(AcDbDictionary* layouts, AcDbObjectId blockId, const char* name) {
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(blockId.object());
    if (!block || hasKept(block, 340)) return;
    auto* layout = new AcDbUnknownObject("LAYOUT");
    readRecordFields(*layout, withoutIdentity(templateLayout(name)->tags));
    for (auto& k : layout->keptTags())  // the layout's own block record
        if (k.tag.code == 330) k.tag.value = acdbUtf8(blockId.handle().toString());
    AcDbObjectId id;
    if (layouts->setAt(acdbWide(name).c_str(), layout, id) != Acad::eOk) {
        delete layout;
        return;
    }
    block->keptTags().push_back({"AcDbBlockTableRecord", {340, acdbUtf8(id.handle().toString())}});
}

}  // namespace

void buildDefaultDrawing(AcDbDatabase& db) {
    loadDocument(db, templateDocument(), "default drawing");
}

void completeTables(AcDbDatabase& db) {
    for (const auto& tmpl : templateDocument().tables) {
        std::wstring name = nameOf(tmpl.head.tags);
        auto* table = dynamic_cast<AcDbSymbolTable*>(db.tableId(name).object());
        if (!table) {
            table = new AcDbSymbolTable(name);
            readRecordFields(*table, withoutIdentity(tmpl.head.tags));
            AcDbObjectId id;
            db.addAcDbObject(id, table);
            db.tableIds().append(id);
        }
        if (name != L"BLOCK_RECORD") addMissingEntries(table, tmpl);
    }
}

void completeBlocks(AcDbDatabase& db) {
    if (db.modelSpaceId().isNull()) db.addBlock(L"*Model_Space");
    if (db.paperSpaceId().isNull()) db.addBlock(L"*Paper_Space");
}

// Objects that files leave without owner belong to the dictionary that names them.
void adoptDictionaryEntries(AcDbDatabase& db) {
    db.forEachObject([&](AcDbObject* o) {
        std::vector<AcDbHandle> entries;
        if (auto* dict = dynamic_cast<AcDbDictionary*>(o)) {
            for (const auto& e : dict->entries()) entries.push_back(e.handle);
        } else if (o->dxfName() == L"ACDBDICTIONARYWDFLT") {  // a dictionary kept untyped
            for (const auto& k : o->keptTags())
                if (k.tag.code == 350 || k.tag.code == 360)
                    entries.emplace_back(acdbWide(k.tag.value).c_str());
        }
        for (AcDbHandle h : entries) {
            AcDbObject* target = db.idOf(h).object();
            if (target && target->ownerHandle().isNull() &&
                target->objectId() != db.namedObjectsDictionaryId())
                target->setOwnerHandle(o->handle());
        }
    });
}

void completeObjects(AcDbDatabase& db) {
    if (!dynamic_cast<AcDbDictionary*>(db.namedObjectsDictionaryId().object())) {
        AcDbObjectId id;
        db.addAcDbObject(id, new AcDbDictionary());
        db.setNamedObjectsDictionaryId(id);
    }
    db.groupDictionaryId();
    auto* root = dynamic_cast<AcDbDictionary*>(db.namedObjectsDictionaryId().object());
    if (!root) return;  // the database could not take one more object
    AcDbObjectId layoutsId;
    if (root->getAt(L"ACAD_LAYOUT", layoutsId) != Acad::eOk) {
        auto* dict = new AcDbDictionary();
        if (root->setAt(L"ACAD_LAYOUT", dict, layoutsId) != Acad::eOk) delete dict;
    }
    auto* layouts = dynamic_cast<AcDbDictionary*>(layoutsId.object());
    if (!layouts) return;
    adoptDictionaryEntries(db);
    ensureLayout(layouts, db.modelSpaceId(), "Model");
    ensureLayout(layouts, db.paperSpaceId(), "Layout1");
}

void ensureReferences(AcDbDatabase& db) {
    // The names are gathered first and the symbols added after the walk: adding one adds an
    // object, and the object list must not change while it is walked.
    std::set<std::pair<int, std::wstring>> done;
    std::vector<std::pair<const wchar_t*, std::wstring>> missing;
    auto ensure = [&](int kind, const wchar_t* table, const std::wstring& name) {
        if (name.empty() || !done.insert({kind, upper(name)}).second) return;
        if (kind == 1 && (sameName(name, L"ByLayer") || sameName(name, L"ByBlock"))) return;
        missing.emplace_back(table, name);
    };
    db.forEachObject([&](AcDbObject* o) {
        if (o->isErased()) return;
        for (const auto& app : o->xDataApps()) ensure(3, L"APPID", app.app);
        if (!o->solxTypeTag().empty()) ensure(3, L"APPID", kSolxTypeApp);
        auto* ent = dynamic_cast<AcDbEntity*>(o);
        if (!ent) return;
        if (auto* unknown = dynamic_cast<AcDbUnknownEntity*>(o)) {
            ensure(0, L"LAYER", ent->layer());
            auto style = unknown->groupValue(7);
            if (style && unknown->dxfName() == L"MTEXT") ensure(2, L"STYLE", style->text);
            return;
        }
        ensure(0, L"LAYER", ent->layer());
        ensure(1, L"LTYPE", ent->linetype());
        if (auto* text = dynamic_cast<AcDbText*>(o)) ensure(2, L"STYLE", text->textStyleName());
    });
    for (const auto& [table, name] : missing) db.ensureSymbol(table, name);
}

}  // namespace solx::db
