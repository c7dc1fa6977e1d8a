#pragma once
// The face records of the 3D shadow simulation, in metres: plan faces of up to four corners
// (VxGeFace), the indexed faces of the face array with their plane, lit test, shadow relation
// and cut (VxGeFace3dEX), the light half-cylinder that prunes casters (Cylinder), the roof cap
// triangulation and the outline dispersion of arcs.

#include <array>
#include <cstdint>
#include <vector>

#include "brel/VxGePoint.h"

// Corners closer than this (metres) are the same corner.
inline constexpr double g_simDistZero = 1e-6;

inline VxGePoint operator+(const VxGePoint& a, const VxGePoint& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline VxGePoint operator-(const VxGePoint& a, const VxGePoint& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline VxGePoint operator*(const VxGePoint& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(const VxGePoint& a, const VxGePoint& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VxGePoint Cross(const VxGePoint& a, const VxGePoint& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// The unit vector of v; v itself when it has no length.
VxGePoint Normalized(const VxGePoint& v);

// A planar face of three or four corners (a triangle repeats its third corner as the fourth).
struct VxGeFace {
    std::array<VxGePoint, 4> pt{};
    int count = 0;  // corners set: 3 or 4

    VxGeFace() = default;
    VxGeFace(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c, const VxGePoint& d);
    // A triangle: the fourth corner repeats one of the first three (or only three were set).
    bool IsTriangle() const;
    int GetNodeNum() const { return IsTriangle() ? 3 : 4; }
    // Runs the corners the other way round (the face turns its back).
    void Reverse();
};

// A roof or balcony cap triangle.
struct VxGeTriangle2d {
    std::array<VxGePoint, 3> pt{};
};

// A face of the face array: its corners, unit normal (right-handed over the corners) and plane.
class VxGeFace3dEX {
public:
    VxGeFace3dEX() = default;
    void SetPoint(const VxGePoint* corners, int count);
    VxGeFace3dEX& operator=(const VxGeFace& face);

    int Count() const { return m_count; }
    const VxGePoint& Point(int i) const { return m_pt[static_cast<size_t>(i)]; }
    const VxGePoint& GetNormal() const { return m_normal; }
    // Signed distance of p from the face's plane, positive on the normal's side.
    double Distance(const VxGePoint& p) const { return Dot(m_normal, p) - m_d; }
    double LowestZ() const;
    double HighestZ() const;
    // The plane as (a, b, c, d) with a x + b y + c z + d = 0.
    std::array<double, 4> Plane() const { return {m_normal.x, m_normal.y, m_normal.z, -m_d}; }

    // True when the face turns its front to the sun; `sun` points from the sun into the scene.
    bool IsSunLightOn(const VxGePoint& sun) const;
    // Whether this face can throw a shadow on `receiver` (both fronts facing the light):
    // kNoShadow when it lies wholly on or behind the receiver's plane; kShadowsOnly when it lies
    // wholly in front of the receiver's plane and the receiver wholly on or behind its own (so
    // the receiver cannot shadow it back); kMutual otherwise (the planes cut one another or each
    // lies in front of the other): the callers then keep the pieces in front of each plane.
    enum Relation { kMutual = 0, kShadowsOnly = 5, kNoShadow = 6 };
    Relation GetShadowRelation(const VxGeFace3dEX& receiver) const;
    // The pieces of this face on the front side of `other`'s plane, as triangles.
    std::vector<VxGeTriangle2d> CutByPlane(const VxGeFace3dEX& other) const;

private:
    std::array<VxGePoint, 4> m_pt{};
    int m_count = 0;
    VxGePoint m_normal{0, 0, 1};
    double m_d = 0.0;
};

// The part of space from which light can reach a receiver face: the half-cylinder along the
// light from the face towards the sun, as wide as the face's bounding circle.
class Cylinder {
public:
    Cylinder() = default;
    Cylinder(const VxGeFace3dEX& face, const VxGePoint& sun);
    // True when some point of the face (up to four corners) can lie in the half-cylinder (a
    // conservative test: the face's bounding circle seen along the light meets the
    // cylinder's, and some corner lies on the sun's side of the receiver's centre).
    bool IsSomeFacePointIn(const VxGePoint* corners, int count) const;

private:
    VxGePoint m_centre;
    VxGePoint m_towardsSun{0, 0, 1};
    double m_radius = 0.0;
};

// Triangles covering a simple polygon (either orientation, closing point not repeated), each
// run counter-clockwise seen from above; ear clipping. Corners keep their z.
std::vector<VxGeTriangle2d> Triangulate(const std::vector<VxGePoint>& polygon);

// The outline of a polyline with bulges as straight segments: each arc of a bulge becomes
// chords of at most 10 degrees. `bulges[i]` belongs to the segment from vertex i to i + 1 (the
// last one to vertex 0 when closed).
std::vector<VxGePoint> Disperse(const std::vector<VxGePoint>& vertices,
                                const std::vector<double>& bulges, bool closed);
