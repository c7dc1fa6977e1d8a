// The selection set wrapper: members in order, no duplicates.
#include "brel/VxAdsEntSet.h"

#include <algorithm>

#include "SelectionQuery.h"
#include "acad/acdb.h"
#include "brel/VxPtInput.h"

using namespace solx::selection;

namespace {

Point2 P2(const void* p) {
    const auto* d = static_cast<const double*>(p);
    return {d[0], d[1]};
}

std::vector<Point2> FencePoints(const void* chain) {
    std::vector<Point2> points;
    for (auto* rb = static_cast<const resbuf*>(chain); rb; rb = rb->rbnext)
        if (rb->restype == RTPOINT || rb->restype == RT3DPOINT)
            points.push_back({rb->resval.rpoint[0], rb->resval.rpoint[1]});
    return points;
}

// The geometric test of a Get mode; false in ok for a mode that is not known or lacks points.
std::function<bool(const HitShape&)> ModeTest(const std::wstring& mode, const void* pt1,
                                              const void* pt2, bool& ok) {
    ok = true;
    if (mode == L"X") return nullptr;
    if ((mode == L"W" || mode == L"C") && pt1 && pt2) {
        const Point2 a = P2(pt1), b = P2(pt2);
        if (mode == L"W") return [a, b](const HitShape& s) { return InsideWindow(s, a, b); };
        return [a, b](const HitShape& s) { return CrossesWindow(s, a, b); };
    }
    if (mode == L"F" && FencePoints(pt1).size() >= 2) {
        const auto fence = FencePoints(pt1);
        return [fence](const HitShape& s) { return CrossesFence(s, fence); };
    }
    ok = false;
    return nullptr;
}

}  // namespace

int VxAdsEntSet::Get(const wchar_t* mode, const void* pt1, const void* pt2, const resbuf* filter) {
    if (!mode) return VxPtSelectEntities(nullptr, *this, filter);
    Assign({});
    const std::wstring m = mode;
    if (m == L"L") {
        *this += VxAdsEnt(LastEntity(filter));
        return m_ids.empty() ? RTERROR : RTNORM;
    }
    bool ok = false;
    const auto test = ModeTest(m, pt1, pt2, ok);
    if (!ok) return RTERROR;
    QueryResult result = Query(filter, test);
    Assign(std::move(result.ids));
    return result.error.empty() && !m_ids.empty() ? RTNORM : RTERROR;
}

VxAdsEntSet& VxAdsEntSet::operator+=(const VxAdsEnt& ent) {
    if (!ent.IsNull() && m_members.insert(ent.GetObjectId().asOldId()).second)
        m_ids.push_back(ent.GetObjectId());
    return *this;
}

VxAdsEntSet& VxAdsEntSet::operator+=(const VxAdsEntSet& other) {
    for (const AcDbObjectId& id : other.m_ids) *this += VxAdsEnt(id);
    return *this;
}

VxAdsEntSet& VxAdsEntSet::operator-=(const VxAdsEnt& ent) {
    if (m_members.erase(ent.GetObjectId().asOldId()) > 0) std::erase(m_ids, ent.GetObjectId());
    return *this;
}

VxAdsEntSet& VxAdsEntSet::operator-=(const VxAdsEntSet& other) {
    if (&other == this) return Assign({}), *this;
    std::vector<AcDbObjectId> kept;
    for (const AcDbObjectId& id : m_ids)
        if (!other.IsInclude(VxAdsEnt(id))) kept.push_back(id);
    Assign(std::move(kept));
    return *this;
}

void VxAdsEntSet::Assign(std::vector<AcDbObjectId> ids) {
    m_ids.clear();
    m_members.clear();
    for (const AcDbObjectId& id : ids) *this += VxAdsEnt(id);
}

bool VxAdsEntSet::IsInclude(const VxAdsEnt& ent) const {
    return m_members.count(ent.GetObjectId().asOldId()) > 0;
}

bool VxAdsEntSet::GetExtent(AcGePoint3d& minPoint, AcGePoint3d& maxPoint) const {
    AcDbExtents all;
    for (const AcDbObjectId& id : m_ids) {
        AcDbEntity* ent = nullptr;
        if (acdbOpenObject(ent, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbExtents ext;
        if (ent->getGeomExtents(ext) == Acad::eOk) all.addExt(ext);
        ent->close();
    }
    if (all.isEmpty()) return false;
    minPoint = all.minPoint();
    maxPoint = all.maxPoint();
    return true;
}

void VxAdsEntSet::IncludeBegin() {
    m_includeFrom = ModelSpaceEntities().size();
    m_including = true;
}

// Entities are appended to model space in creation order, so the new ones are the tail.
void VxAdsEntSet::IncludeEnd() {
    if (!m_including) return;
    m_including = false;
    const auto ids = ModelSpaceEntities();
    for (size_t i = m_includeFrom; i < ids.size(); ++i) *this += VxAdsEnt(ids[i]);
}

AcDbObjectId VxAdsEntSet::MakeAnonymousGroup() const {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || m_ids.empty()) return {};
    AcDbDictionary* groups = nullptr;
    if (acdbOpenObject(groups, db->groupDictionaryId(), AcDb::kForWrite) != Acad::eOk) return {};
    auto* group = new AcDbGroup(L"", true);
    group->setAnonymous();
    AcDbObjectId groupId;
    Acad::ErrorStatus es = groups->setAt(L"*", group, groupId);
    groups->close();
    if (es != Acad::eOk) {
        delete group;
        return {};
    }
    AcDbObjectIdArray members;
    for (const AcDbObjectId& id : m_ids) members.append(id);
    group->append(members);
    group->close();
    return groupId;
}

int VxAdsEntSet::Erase() {
    int erased = 0;
    for (const AcDbObjectId& id : m_ids) {
        AcDbEntity* ent = nullptr;
        if (acdbOpenObject(ent, id, AcDb::kForWrite) != Acad::eOk) continue;
        if (ent->erase() == Acad::eOk) ++erased;
        ent->close();
    }
    Assign({});
    return erased;
}
