// Keyword scope, system variables, distances and coordinate systems.
#include "brel/VxPtInput.h"

#include "acad/acdb.h"
#include "acad/aced.h"

VxPtInitGet::VxPtInitGet(int flags, const wchar_t* keywords) {
    acedInitGet(flags, keywords);
}
VxPtInitGet::~VxPtInitGet() {
    solx::editor::TakeInitGet();
}

int VxPtGetVar(const wchar_t* name, int& value) {
    resbuf rb;
    const int rc = acedGetVar(name, &rb);
    if (rc != RTNORM) return rc;
    if (rb.restype == RTSHORT)
        value = rb.resval.rint;
    else if (rb.restype == RTLONG)
        value = rb.resval.rlong;
    else if (rb.restype == RTREAL)
        value = static_cast<int>(rb.resval.rreal);
    else
        return rb.restype == RTSTR ? (delete[] rb.resval.rstring, RTERROR) : RTERROR;
    return RTNORM;
}

int VxPtGetVar(const wchar_t* name, double& value) {
    resbuf rb;
    const int rc = acedGetVar(name, &rb);
    if (rc != RTNORM) return rc;
    if (rb.restype == RTREAL)
        value = rb.resval.rreal;
    else if (rb.restype == RTSHORT)
        value = rb.resval.rint;
    else if (rb.restype == RTLONG)
        value = rb.resval.rlong;
    else
        return rb.restype == RTSTR ? (delete[] rb.resval.rstring, RTERROR) : RTERROR;
    return RTNORM;
}

int VxPtGetVar(const wchar_t* name, CString& value) {
    resbuf rb;
    const int rc = acedGetVar(name, &rb);
    if (rc != RTNORM) return rc;
    if (rb.restype != RTSTR) return RTERROR;
    value = rb.resval.rstring;
    delete[] rb.resval.rstring;
    return RTNORM;
}

int VxUtGetDist(const wchar_t* prompt, double& value, const double* base) {
    return acedGetDist(base, prompt, &value);
}

void UcsToWcs(ads_point, int) {}
void UcsToWcs(AcGePoint3d&, int) {}
void UcsToWcs(VxGePoint&, int) {}

int VxPtDragEntSet(VxAdsEntSet& set, const ads_point basePoint, const wchar_t* prompt) {
    ads_point to;
    const int rc = acedGetPoint(basePoint, prompt, to);
    if (rc != RTNORM) return rc;
    const AcGeMatrix3d move = AcGeMatrix3d::translation(
        AcGeVector3d(to[0] - basePoint[0], to[1] - basePoint[1], to[2] - basePoint[2]));
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* ent = nullptr;
        if (set[i].Open(ent, AcDb::kForWrite) != Acad::eOk) continue;
        ent->transformBy(move);
        ent->close();
    }
    return RTNORM;
}
