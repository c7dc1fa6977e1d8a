// The database core: object records by id and handle, tables and blocks by name.
#include "acad/AcDbDatabase.h"
#include "mfc/CString.h"

#include <cwchar>

#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "db/ClassRegistry.h"
#include "db/DatabaseDefaults.h"
#include "db/TagResbuf.h"
#include "db/UndoLog.h"

using solx::db::sameName;

AcDbHandle::AcDbHandle(const wchar_t* hex) {
    uint64_t v = 0;
    for (const wchar_t* p = hex; p && *p; ++p) {
        wchar_t c = *p;
        int d = c >= L'0' && c <= L'9'   ? c - L'0'
                : c >= L'a' && c <= L'f' ? c - L'a' + 10
                : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                         : -1;
        if (d < 0 || v >> 59) {  // at most 2^63 - 1: fresh handles always stay above
            v = 0;
            break;
        }
        v = v * 16 + static_cast<uint64_t>(d);
    }
    value_ = v;
}

std::wstring AcDbHandle::toString() const {
    return solx::win::FormatText(L"%llX", static_cast<unsigned long long>(value_));
}

bool AcDbHandle::getIntoAsciiBuffer(wchar_t* buf, size_t size) const {
    std::wstring s = toString();
    if (s.size() + 1 > size) return false;
    std::wmemcpy(buf, s.c_str(), s.size() + 1);
    return true;
}

bool AcDbObjectId::isValid() const {
    return stub_ && stub_->object;
}
bool AcDbObjectId::isErased() const {
    return isValid() && stub_->object->isErased();
}
AcDbHandle AcDbObjectId::handle() const {
    return stub_ ? stub_->handle : AcDbHandle();
}
AcDbDatabase* AcDbObjectId::database() const {
    return stub_ ? stub_->database : nullptr;
}
AcDbObject* AcDbObjectId::object() const {
    return stub_ ? stub_->object : nullptr;
}

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing) {
    solx::db::registerPlatformClasses();
    if (buildDefaultDrawing) solx::db::buildDefaultDrawing(*this);
}

AcDbDatabase::~AcDbDatabase() {
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    for (auto& s : stubs_) delete s.object;
    for (auto& [name, rb] : sessionVars_) acutRelRb(rb);
}

void AcDbDatabase::noteHandle(AcDbHandle h) {
    if (h.value() >= handseed_.value()) handseed_ = AcDbHandle(h.value() + 1);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
    return addAcDbObjectWithHandle(id, object, allocateHandle());
}

Acad::ErrorStatus AcDbDatabase::addAcDbObjectWithHandle(AcDbObjectId& id, AcDbObject* object,
                                                        AcDbHandle handle) {
    if (!object) return Acad::eNullObjectPointer;
    if (object->objectId().isValid()) return Acad::eAlreadyInDb;
    if (handle.isNull() || byHandle_.count(handle.value())) return Acad::eDuplicateKey;
    noteHandle(handle);
    AcDbStub& stub = stubs_.emplace_back(AcDbStub{this, object, handle});
    byHandle_[handle.value()] = &stub;
    if (undo_) undo_->NoteAdded(&stub);
    ++changes_;
    id = AcDbObjectId(&stub);
    object->setDatabaseStub(id, handle);
    // A block reference's attributes join the database with it, owned by it.
    if (auto* ref = dynamic_cast<AcDbBlockReference*>(object)) {
        for (AcDbAttribute* att : ref->attributes()) {
            AcDbObjectId attId;
            if (!att->objectId().isValid() && addAcDbObject(attId, att) == Acad::eOk)
                att->setOwnerId(id);
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& h) const {
    id = idOf(h);
    return id.isNull() ? Acad::eKeyNotFound : Acad::eOk;
}

AcDbObjectId AcDbDatabase::idOf(AcDbHandle h) const {
    auto it = byHandle_.find(h.value());
    return it == byHandle_.end() ? AcDbObjectId() : AcDbObjectId(it->second);
}

Acad::ErrorStatus AcDbDatabase::swapIdWith(AcDbObject* inDatabase, AcDbObject* replacement) {
    AcDbObjectId id = inDatabase->objectId();
    if (!id.isValid() || id.database() != this) return Acad::eNotInDatabase;
    if (replacement->objectId().isValid()) return Acad::eAlreadyInDb;
    noteWrite(inDatabase);
    AcDbStub* stub = id.stub();
    stub->object = replacement;
    replacement->setDatabaseStub(id, stub->handle);
    replacement->setOwnerHandle(inDatabase->ownerHandle());
    replacement->setOpenMode(inDatabase->openMode());
    inDatabase->setDatabaseStub(AcDbObjectId(), AcDbHandle());
    inDatabase->setOpenMode(AcDb::kNotOpen);
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::tableId(const std::wstring& name) const {
    for (AcDbObjectId id : tables_)
        if (auto* t = dynamic_cast<AcDbSymbolTable*>(id.object());
            t && sameName(t->tableName(), name))
            return id;
    return {};
}

AcDbObjectId AcDbDatabase::modelSpaceId() const {
    return symbolId(L"BLOCK_RECORD", L"*Model_Space");
}
AcDbObjectId AcDbDatabase::paperSpaceId() const {
    return symbolId(L"BLOCK_RECORD", L"*Paper_Space");
}

AcDbObjectId AcDbDatabase::symbolId(const std::wstring& table, const std::wstring& name) const {
    auto* t = dynamic_cast<AcDbSymbolTable*>(tableId(table).object());
    AcDbObjectId id;
    if (t) t->getAt(name.c_str(), id);
    return id;
}

AcDbObjectId AcDbDatabase::ensureSymbol(const std::wstring& table, const std::wstring& name) {
    AcDbObjectId id = symbolId(table, name);
    if (!id.isNull()) return id;
    auto* t = dynamic_cast<AcDbSymbolTable*>(tableId(table).object());
    if (!t) return {};
    AcDbSymbolTableRecord* rec = solx::db::newTableRecord(table);
    rec->setName(name.c_str());
    if (t->add(id, rec) != Acad::eOk) {
        delete rec;
        return {};
    }
    return id;
}

AcDbObjectId AcDbDatabase::registerApp(const std::wstring& name) {
    return ensureSymbol(L"APPID", name);
}

AcDbObjectId AcDbDatabase::addBlock(const std::wstring& name, AcDbBlockTableRecord** out) {
    std::wstring actual = name;
    if (sameName(name, L"*U")) {
        for (int n = 1;; ++n)
            if (symbolId(L"BLOCK_RECORD", actual = L"*U" + std::to_wstring(n)).isNull()) break;
    }
    auto* block = new AcDbBlockTableRecord();
    block->setName(actual.c_str());
    if (actual[0] == L'*' && !sameName(actual, L"*Model_Space") &&
        !sameName(actual, L"*Paper_Space"))
        block->setBlockFlags(1);
    auto* table = dynamic_cast<AcDbSymbolTable*>(blockTableId().object());
    AcDbObjectId id;
    if (!table || table->add(id, block) != Acad::eOk) {
        delete block;
        return {};
    }
    block->beginHandle = allocateHandle();
    block->endHandle = allocateHandle();
    if (out) *out = block;
    return id;
}

AcDbObjectId AcDbDatabase::groupDictionaryId() {
    auto* root = dynamic_cast<AcDbDictionary*>(rootDictionary_.object());
    if (!root) return {};
    AcDbObjectId id;
    if (root->getAt(L"ACAD_GROUP", id) == Acad::eOk) return id;
    auto* dict = new AcDbDictionary();
    if (root->setAt(L"ACAD_GROUP", dict, id) != Acad::eOk) delete dict;
    return id;
}

const AcDbDatabase::HeaderVar* AcDbDatabase::headerVar(const std::string& name) const {
    for (const auto& v : header_)
        if (v.name == name) return &v;
    return nullptr;
}

void AcDbDatabase::setHeaderVar(const std::string& name, AcDbDxfTags tags) {
    for (auto& v : header_)
        if (v.name == name) {
            v.tags = std::move(tags);
            return;
        }
    header_.push_back({name, std::move(tags)});
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased) {
    obj = nullptr;
    if (id.isNull()) return Acad::eNullObjectId;
    AcDbObject* o = id.object();
    if (!o) return Acad::eKeyNotFound;
    if (o->isErased() && !openErased) return Acad::eWasErased;
    if (mode == AcDb::kForWrite && o->openMode() != AcDb::kForWrite) id.database()->noteWrite(o);
    o->setOpenMode(mode == AcDb::kForWrite ? AcDb::kForWrite : AcDb::kForRead);
    obj = o;
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
    id = AcDbObjectId(reinterpret_cast<AcDbStub*>(name[0]));
    return id.isValid() ? Acad::eOk : Acad::eInvalidAdsName;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
    name[0] = static_cast<int64_t>(id.asOldId());
    name[1] = 0;
    return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static AcDbHostApplicationServices services;
    return &services;
}
