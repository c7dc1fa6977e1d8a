// Loading: the document's sections into typed objects and kept tags.
#include <algorithm>

#include "acad/acdb.h"
#include "db/ClassRegistry.h"
#include "db/DatabaseDefaults.h"
#include "db/DatabaseIo.h"
#include "db/TagResbuf.h"

namespace solx::db {

AcDbDxfTags toDbTags(const dxf::Tags& tags) {
    AcDbDxfTags out;
    out.reserve(tags.size());
    for (const auto& t : tags) out.push_back({t.code, t.value});
    return out;
}

dxf::Tags toDxfTags(const AcDbDxfTags& tags) {
    dxf::Tags out;
    out.reserve(tags.size());
    for (const auto& t : tags) out.push_back({t.code, t.value, 0});
    return out;
}

AcDbHandle fileHandle(const std::string& hex) {
    const AcDbHandle h(acdbWide(hex).c_str());
    return h.value() >> 62 ? AcDbHandle() : h;
}

namespace {

AcDbHandle handleOf(const dxf::Tag& t) {
    return fileHandle(t.value);
}

void readXData(AcDbObject& obj, const dxf::Tags& tags, size_t i) {
    for (; i < tags.size(); ++i) {
        if (tags[i].code == 1001) {
            obj.xDataApps().push_back({acdbWide(tags[i].value), {}});
        } else if (!obj.xDataApps().empty()) {
            obj.xDataApps().back().tags.push_back({tags[i].code, tags[i].value});
        }
    }
    // The type tag is the reader's and writer's business, not data of the object; the values
    // after the class name belong to the typed class.
    auto& apps = obj.xDataApps();
    for (const auto& a : apps)
        if (a.app == kSolxTypeApp && a.tags.size() > 1)
            obj.dxfInSolxData(AcDbDxfTags(a.tags.begin() + 1, a.tags.end()));
    apps.erase(std::remove_if(apps.begin(), apps.end(),
                              [](const AcDbXDataApp& a) { return a.app == kSolxTypeApp; }),
               apps.end());
}

}  // namespace

AcDbHandle readRecordFields(AcDbObject& obj, const dxf::Tags& tags) {
    AcDbHandle handle;
    bool seenHandle = false, seenOwner = false, seenMarker = false;
    std::string subclass;
    const bool keepMarkers = obj.keepsSubclassMarkers();
    auto& kept = obj.keptTags();
    for (size_t i = 0; i < tags.size(); ++i) {
        const dxf::Tag& t = tags[i];
        if (t.code == obj.handleCode() && !seenHandle) {
            handle = handleOf(t), seenHandle = true;
            continue;
        }
        static const std::string kAnywhere = "*";
        const std::string& keptIn = keepMarkers || !seenMarker ? kAnywhere : subclass;
        if (t.code == 102 && !t.value.empty() && t.value[0] == '{') {
            // Application groups (reactors, extension dictionary) stay together where they were.
            const std::string where = seenMarker ? keptIn : "";
            for (; i < tags.size(); ++i) {
                kept.push_back({where, {tags[i].code, tags[i].value}});
                if (tags[i].code == 102 && tags[i].value == "}") break;
            }
            continue;
        }
        if (t.code == 330 && !seenMarker && !seenOwner) {
            obj.setOwnerHandle(handleOf(t)), seenOwner = true;
            continue;
        }
        if (t.code == 1001) {
            readXData(obj, tags, i);
            break;
        }
        if (t.code == 100) {
            seenMarker = true;
            subclass = t.value;
            if (keepMarkers) kept.push_back({"*", {t.code, t.value}});
            continue;
        }
        AcDbDxfTag tag{t.code, t.value};
        if (!obj.dxfInField(tag, subclass)) kept.push_back({keptIn, std::move(tag)});
    }
    obj.dxfInEnd();
    return handle;
}

}  // namespace solx::db
