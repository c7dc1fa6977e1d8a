// Slabs: closed outlines with elevation and thickness.
#include "brel/VxDbSlab.h"

VxDbSlab::VxDbSlab(const std::vector<VxGePoint>& outline, double elevation, double thickness,
                   bool balcony)
    : balcony_(balcony) {
    setClosed(true);
    SetOutline(outline);
    setElevation(elevation);
    setThickness(thickness);
}

std::vector<VxGePoint> VxDbSlab::GetOutline() const {
    std::vector<VxGePoint> out;
    for (const auto& v : vertices()) out.emplace_back(v.point.x, v.point.y, elevation());
    return out;
}

void VxDbSlab::SetOutline(const std::vector<VxGePoint>& outline) {
    while (numVerts() > 0) removeVertexAt(numVerts() - 1);
    size_t n = outline.size();
    // A repeated closing point is dropped: the outline is closed anyway.
    if (n > 1 && outline.front().Distance2d(outline.back()) == 0) --n;
    for (size_t i = 0; i < n; ++i) addVertexAt(numVerts(), AcGePoint2d(outline[i].x, outline[i].y));
}
