// One-entity selection: a pick at a point or a handle.
#include "SelectionQuery.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acedFilter.h"
#include "brel/VxPtInput.h"

using namespace solx::selection;

VxAdsEnt::VxAdsEnt(const ads_name name) {
    acdbGetObjectId(m_id, name);
}

void VxAdsEnt::GetAdsName(ads_name name) const {
    acdbGetAdsName(name, m_id);
}

Acad::ErrorStatus VxAdsEnt::Open(AcDbEntity*& entity, AcDb::OpenMode mode) const {
    entity = nullptr;
    if (m_id.isNull()) return Acad::eNullObjectId;
    return acdbOpenObject(entity, m_id, mode);
}

int VxAdsEnt::Select(double pickSize, const wchar_t* prompt, const resbuf* filter,
                     ads_point pickPoint) {
    return VxPtSelectEntityAt(pickSize, prompt, *this, pickPoint, filter);
}

int VxPtSelectEntity(const wchar_t* prompt, VxAdsEnt& entity, ads_point pickPoint,
                     const resbuf* filter) {
    return VxPtSelectEntityAt(0.0, prompt, entity, pickPoint, filter);
}

int VxPtSelectEntityAt(double pickSize, const wchar_t* prompt, VxAdsEnt& entity,
                       ads_point pickPoint, const resbuf* filter) {
    const solx::editor::SelectionFilter parsed(filter);
    if (!parsed.ok()) return RTERROR;
    const solx::editor::InitGet init = solx::editor::TakeInitGet();
    const wchar_t* ask = prompt ? prompt : solx::editor::HostText(L"\nSelect object: ");
    for (;;) {
        solx::editor::InputLine line;
        if (int rc = solx::editor::ReadRaw(ask, line); rc != RTNORM) return rc;
        if (line.text.empty()) return (init.flags & RSG_NONULL) ? RTERROR : RTNONE;
        if (std::wstring kw = solx::editor::MatchKeyword(line.text, init.keywords); !kw.empty())
            return solx::editor::SetLastKeyword(std::move(kw)), RTKWORD;
        ads_point p = {0.0, 0.0, 0.0};
        AcDbObjectId id;
        if (line.text[0] == L'#') {
            id = ByHandle(line.text.substr(1), filter);
        } else if (solx::editor::ParsePoint(line.text, p)) {
            id = PickNearest(filter, {p[0], p[1]}, pickSize > 0 ? pickSize : PickAperture());
        } else if (!solx::editor::RejectLine(
                       line, ask, solx::editor::HostMessage(L"a point x,y or #HANDLE"))) {
            return RTERROR;
        } else {
            continue;
        }
        if (pickPoint) pickPoint[0] = p[0], pickPoint[1] = p[1], pickPoint[2] = p[2];
        entity = VxAdsEnt(id);
        // The entity picked shows highlighted in the drawing's views until the command ends.
        if (auto* picked = dynamic_cast<AcDbEntity*>(id.object())) picked->highlight();
        // Nothing there: the caller decides whether to ask again.
        return id.isNull() ? RTERROR : RTNORM;
    }
}
