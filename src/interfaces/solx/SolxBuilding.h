#pragma once
// A prism obstruction: a closed plan outline extruded from a base elevation by a height.

#include <memory>
#include <vector>

#include "brel/VxGePoint.h"

class AcDbEntity;

class SolxBuilding {
public:
    // outline: the closed plan outline in drawing units (z ignored, the closing point may be
    // repeated or not); elevation: the base; height: the extrusion upwards. A negative height
    // extrudes downwards and is normalised so that the base is the lower face.
    SolxBuilding(std::vector<VxGePoint> outline, double elevation, double height);
    // A closed LWPOLYLINE: its vertices (arcs taken as chords), its elevation as the base and
    // its thickness as the height. Other entities, open or tilted polylines make an invalid
    // building. mode is passed through unchanged by the callers.
    SolxBuilding(const AcDbEntity* entity, int mode);

    const std::vector<VxGePoint>& Outline() const { return m_outline; }
    double Elevation() const { return m_dElevation; }
    double Height() const { return m_dHeight; }
    double Top() const { return m_dElevation + m_dHeight; }
    // Whether the building fills the height z: from its base, included, up to its top, not
    // included. A point on the ground inside the footprint of a building that stands on the
    // ground is in the building; a point on its roof is not. Every analysis that tells points
    // in a building apart asks this.
    bool SpansHeight(double z) const { return m_dElevation <= z && z < Top(); }

    // False for outlines with fewer than 3 distinct points or no area, and for zero height:
    // such obstructions never shade anything.
    bool IsValid() const { return m_bValid; }

private:
    std::vector<VxGePoint> m_outline;
    double m_dElevation = 0.0;
    double m_dHeight = 0.0;
    bool m_bValid = false;
};

// The owning list that obstruction selection fills.
using SolxBuildingList = std::vector<std::unique_ptr<SolxBuilding>>;
