#pragma once
// Prompt and input wrappers of the product family over the host's editor.

#include "acad/acge.h"
#include "acad/adsdef.h"
#include "brel/VxGePoint.h"
#include "brel/VxAdsEntSet.h"
#include "mfc/CString.h"

// Lets the user build a selection with the answers of a selection prompt (docs/script.md):
// "ALL", "W p1 p2", "C p1 p2", "F p1 p2 ...", "L", a point (pick within PICKBOX), "#HANDLE",
// several a line or one a line, an empty answer to finish. Only entities passing filter (may be
// null) are taken. RTNORM with a non-empty set; RTNONE when finished with nothing selected;
// RTKWORD for a keyword of a pending VxPtInitGet; RTCAN on cancel; RTERROR when the answers
// did not fit (script stopped) or the filter is malformed.
int VxPtSelectEntities(const wchar_t* prompt, VxAdsEntSet& set, const resbuf* filter = nullptr);
// One entity by a pick or "#HANDLE"; RTERROR when nothing passing filter is there.
int VxPtSelectEntity(const wchar_t* prompt, VxAdsEnt& entity, ads_point pickPoint,
                     const resbuf* filter = nullptr);
// The same with a pick aperture in drawing units (<= 0: PICKBOX pixels of the view).
int VxPtSelectEntityAt(double pickSize, const wchar_t* prompt, VxAdsEnt& entity,
                       ads_point pickPoint, const resbuf* filter);

// Lets the user move the set: asks for the destination of basePoint and moves every member by
// the difference. The host status of the point prompt (the set stays put unless RTNORM).
int VxPtDragEntSet(VxAdsEntSet& set, const ads_point basePoint,
                   const wchar_t* prompt = L"\nSpecify second point: ");

// Keyword set-up for the next input while the object lives; cleared again when it ends.
class VxPtInitGet {
public:
    VxPtInitGet(int flags, const wchar_t* keywords);
    virtual ~VxPtInitGet();
    VxPtInitGet(const VxPtInitGet&) = delete;
    VxPtInitGet& operator=(const VxPtInitGet&) = delete;
};

// A system variable of the working drawing; the host status.
int VxPtGetVar(const wchar_t* name, int& value);
int VxPtGetVar(const wchar_t* name, double& value);
int VxPtGetVar(const wchar_t* name, CString& value);

// A distance from the user (a number or two points); base may be null. The host status.
int VxUtGetDist(const wchar_t* prompt, double& value, const double* base = nullptr);

// User to world coordinates. The user coordinate system is the world one here, so these leave
// the point as it is; isVector is accepted for the family's callers.
void UcsToWcs(ads_point point, int isVector = 0);
void UcsToWcs(AcGePoint3d& point, int isVector = 0);
void UcsToWcs(VxGePoint& point, int isVector = 0);
