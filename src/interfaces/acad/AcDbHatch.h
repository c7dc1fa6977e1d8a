#pragma once

#include "acad/AcDbEntity.h"

#include <memory>

// HATCH with polyline boundary loops (points with bulges), in the plane at elevation, for
// hatches the program makes. Hatches read from files stay untyped entities (kept whole);
// fromDxfTags reads such a record into a hatch that is drawn like a made one.
class AcDbHatch : public AcDbEntity {
public:
    // The hatch a HATCH record describes (its tags as read): pattern, elevation and loops, with
    // polyline loops as written and line and circular arc edges as points (arcs in steps of at
    // most 5 degrees). Null when the record holds what is not understood: elliptic or spline
    // edges, a plane other than +Z or -Z (mirrored into +Z), a loop of fewer than 3 points.
    static std::unique_ptr<AcDbHatch> fromDxfTags(const std::vector<AcDbKeptTag>& tags);

    struct Loop {
        std::vector<AcGePoint2d> points;
        std::vector<double> bulges;  // empty or one per point
        int type = 2 | 1;            // polyline, external
    };
    AcDbObject* clone() const override { return new AcDbHatch(*this); }
    std::wstring dxfName() const override { return L"HATCH"; }
    std::wstring patternName() const { return pattern_; }
    bool isSolidFill() const { return solid_; }
    // Pattern "SOLID" fills; any other predefined name is drawn with that pattern.
    Acad::ErrorStatus setPattern(const wchar_t* name);
    double elevation() const { return elevation_; }
    void setElevation(double e) { elevation_ = e; }
    int numLoops() const { return static_cast<int>(loops_.size()); }
    const Loop& loopAt(int i) const { return loops_[static_cast<size_t>(i)]; }
    Acad::ErrorStatus appendLoop(const std::vector<AcGePoint2d>& points,
                                 const std::vector<double>& bulges = {});

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d&) override { return Acad::eNotApplicable; }
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    std::wstring pattern_ = L"SOLID";
    bool solid_ = true;
    double elevation_ = 0;
    std::vector<Loop> loops_;
};
