#pragma once
// The shadow outlines on a plane ("VxShadow2d"): for each moment of the analysis day the united
// shadow of the selected obstructions on the plane at the calculation height, less the
// footprints of the buildings the plane cuts, drawn on "SUN-SHADOW" in the colour of its moment
// (index + 1), labelled with the time above it and grouped.

#include <memory>
#include <string>
#include <vector>

#include "acad/AcDbRegion.h"
#include "acad/acge.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowPoly.h"
#include "solx/SolxShadowSource.h"

// The geometry library's zero tolerance (drawing units).
inline constexpr double kShadowDistZero = 1e-6;

// The moments of a run, minutes after midnight: start, start + step, ... while not after the
// end. A step of 0 or less is taken as 10 minutes.
std::vector<int> ShadowMomentMinutes(int startMinute, int endMinute, int stepMinutes);

// The time text of a moment ("9:00").
std::wstring ShadowTimeText(int minute);

// Text height of the time labels in drawing units: 3.5 mm on a site plan printed at 1:1000
// (the window table's text size at that scale).
double ShadowLabelHeight();

// Where the time label of a moment goes. In a frame turned by `azimuth` about the origin, the
// vertices of `curves` with the greatest y (within kShadowDistZero) are found; the label stands
// `offset` above them, at the mean of their x, and is turned back into the plan. False when
// there is no vertex.
bool ShadowLabelPoint(const std::vector<AcDbRegionRing>& curves, double azimuth, double offset,
                      AcGePoint2d& at);

// The obstructions of a run made ready for the moments: the prisms that reach above the plane
// and the union of the footprints that the plane cuts.
struct ShadowObstructions {
    struct Prism {
        std::vector<VxGePoint> outline;
        double elevation = 0.0;
        double height = 0.0;
    };
    std::vector<Prism> prisms;
    const SolxShadowSourceList* sources = nullptr;
    // The cut footprints united, null when none or when they could not be made (warned).
    std::unique_ptr<AcDbRegion> footprints;
};

// Keeps the valid buildings whose top lies above the plane z; makes the region of every
// footprint the plane cuts and unites them. Prints the two warnings (a footprint that makes no
// region, footprints that cannot be united); either leaves `footprints` null.
void PrepareObstructions(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                         double z, ShadowObstructions& out);

// One moment's result in the plan, before it goes into the drawing.
struct ShadowMomentResult {
    std::unique_ptr<AcDbRegion> region;  // the outline as a region, or null
    std::vector<AcDbRegionRing> curves;  // the boundary curves of the united shadows
    bool fallback = false;               // no region: the curves are the outline
};

// The shadows of all obstructions for light along `light` on the plane z, united, with the
// footprints subtracted when given.
ShadowMomentResult ComputeShadowMoment(const ShadowObstructions& obstructions,
                                       const VxGePoint& light, double z);
