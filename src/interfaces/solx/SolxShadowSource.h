#pragma once
// An obstruction given as loose 3D faces (roofs, slabs, solids broken into faces).

#include <memory>
#include <vector>

#include "brel/VxGePoint.h"
#include "solx/SolxShadowPoly.h"

// A triangle, or a planar quad when count is 4 (the quad is the triangles 0-1-2 and 0-2-3).
struct SolxFace3d {
    VxGePoint pt[4];
    int count = 3;
};

class SolxShadowSource {
public:
    SolxShadowSource() = default;
    explicit SolxShadowSource(std::vector<SolxFace3d> faces) : m_faces(std::move(faces)) {}

    void AddTriangle(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c);
    // A quad whose fourth corner equals the third (the usual way a 3D face stores a
    // triangle) is kept as a triangle.
    void AddQuad(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c, const VxGePoint& d);

    const std::vector<SolxFace3d>& Faces() const { return m_faces; }
    bool IsEmpty() const { return m_faces.empty(); }

    // The shadow that these faces cast on the plane z = planeHeight for light along `light`
    // (see GetShadePoly): the union of the faces' shadows, where only the parts of faces above
    // the plane cast. Faces parallel to the light cast nothing. Fills `shadow` (cleared first);
    // returns non-zero when there is a shadow of non-zero area.
    int GetShadowPoly(SolxShadowShape& shadow, const VxGePoint& light, double planeHeight) const;

private:
    std::vector<SolxFace3d> m_faces;
};

// The owning list that obstruction selection fills.
using SolxShadowSourceList = std::vector<std::unique_ptr<SolxShadowSource>>;
