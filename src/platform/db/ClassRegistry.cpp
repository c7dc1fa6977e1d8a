#include "db/ClassRegistry.h"

#include <map>
#include <mutex>

#include "acad/acdb.h"
#include "db/TagResbuf.h"

namespace {
struct Registry {
    std::map<std::string, AcDbObjectFactory> byType;
    std::map<std::wstring, AcDbObjectFactory> bySolxType;
};
Registry& registry() {
    static Registry r;
    return r;
}

template <typename T>
AcDbObjectFactory make() {
    return [] { return new T(); };
}

template <typename TagList>
int polylineFlags(const TagList& tags) {
    for (const auto& t : tags)
        if (t.code == 70) return acdbDxfInt(AcDbDxfTag{t.code, t.value});
    return 0;
}

template <typename TagList>
std::wstring solxTypeIn(const TagList& tags) {
    for (size_t i = 0; i + 1 < tags.size(); ++i)
        if (tags[i].code == 1001 && tags[i].value == "SOLX_TYPE" && tags[i + 1].code == 1000)
            return acdbWide(tags[i + 1].value);
    return {};
}
}  // namespace

void acdbRegisterRecordType(const std::string& type, AcDbObjectFactory f) {
    registry().byType[type] = std::move(f);
}
void acdbRegisterSolxType(const std::wstring& tag, AcDbObjectFactory f) {
    registry().bySolxType[tag] = std::move(f);
}

namespace solx::db {

void registerPlatformClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        acdbRegisterRecordType("LINE", make<AcDbLine>());
        acdbRegisterRecordType("CIRCLE", make<AcDbCircle>());
        acdbRegisterRecordType("ARC", make<AcDbArc>());
        acdbRegisterRecordType("POINT", make<AcDbPoint>());
        acdbRegisterRecordType("3DFACE", make<AcDbFace>());
        acdbRegisterRecordType("LWPOLYLINE", make<AcDbPolyline>());
        acdbRegisterRecordType("TEXT", make<AcDbText>());
        acdbRegisterRecordType("ATTDEF", make<AcDbAttributeDefinition>());
        acdbRegisterRecordType("ATTRIB", make<AcDbAttribute>());
        acdbRegisterRecordType("INSERT", make<AcDbBlockReference>());
        acdbRegisterRecordType("DICTIONARY", make<AcDbDictionary>());
        acdbRegisterRecordType("XRECORD", make<AcDbXrecord>());
        acdbRegisterRecordType("GROUP", make<AcDbGroup>());
        acdbRegisterSolxType(L"REGION", make<AcDbRegion>());
    });
}

std::wstring solxTypeOf(const AcDbDxfTags& tags) {
    return solxTypeIn(tags);
}

namespace {

template <typename TagList>
AcDbObject* entityFor(const std::string& type, const TagList& tags) {
    std::wstring tag = solxTypeIn(tags);
    if (!tag.empty()) {
        auto it = registry().bySolxType.find(tag);
        if (it != registry().bySolxType.end()) return it->second();
    }
    if (type == "POLYLINE") {
        int flags = polylineFlags(tags);
        if (flags & 16) return new AcDbUnknownEntity(type);  // polygon meshes are kept whole
        if (flags & 64) return new AcDbPolyFaceMesh();
        if (flags & 8) return new AcDb3dPolyline();
        return new AcDb2dPolyline();
    }
    auto it = registry().byType.find(type);
    if (it != registry().byType.end()) {
        AcDbObject* o = it->second();
        if (dynamic_cast<AcDbEntity*>(o)) return o;
        delete o;
    }
    return new AcDbUnknownEntity(type);
}

AcDbObject* objectFor(const std::string& type) {
    auto it = registry().byType.find(type);
    if (it != registry().byType.end()) {
        AcDbObject* o = it->second();
        if (!dynamic_cast<AcDbEntity*>(o)) return o;
        delete o;
    }
    return new AcDbUnknownObject(type);
}

}  // namespace

AcDbObject* newEntityFor(const std::string& type, const AcDbDxfTags& tags) {
    return entityFor(type, tags);
}
AcDbObject* newEntityFor(const std::string& type, const dxf::Tags& tags) {
    return entityFor(type, tags);
}
AcDbObject* newObjectFor(const std::string& type, const AcDbDxfTags&) {
    return objectFor(type);
}
AcDbObject* newObjectFor(const std::string& type, const dxf::Tags&) {
    return objectFor(type);
}

AcDbSymbolTableRecord* newTableRecord(const std::wstring& table) {
    std::wstring t = upper(table);
    if (t == L"LAYER") return new AcDbLayerTableRecord();
    if (t == L"STYLE") return new AcDbTextStyleTableRecord();
    if (t == L"LTYPE") return new AcDbLinetypeTableRecord();
    if (t == L"APPID") return new AcDbRegAppTableRecord();
    if (t == L"BLOCK_RECORD") return new AcDbBlockTableRecord();
    return new AcDbUnknownTableRecord(acdbUtf8(t));
}

}  // namespace solx::db
