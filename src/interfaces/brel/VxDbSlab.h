// A slab (building or balcony): a closed outline extruded upwards from its elevation by its
// thickness. Saved as a closed lightweight polyline with elevation and thickness, tagged so
// that it loads back as a slab.
#pragma once

#include <vector>

#include "acad/AcDbPolyline.h"
#include "brel/VxGePoint.h"

class VxDbSlab : public AcDbPolyline {
public:
    VxDbSlab() { setClosed(true); }
    // Outline points in plan (z ignored), elevation and thickness in drawing units.
    VxDbSlab(const std::vector<VxGePoint>& outline, double elevation, double thickness,
             bool balcony = false);
    AcDbObject* clone() const override { return new VxDbSlab(*this); }
    std::wstring dxfName() const override { return balcony_ ? L"BREL_BALCONY" : L"BREL_SLAB"; }
    std::string dxfRecordType() const override { return "LWPOLYLINE"; }
    std::wstring solxTypeTag() const override { return dxfName(); }

    // The closed outline (the closing point not repeated), z = elevation.
    std::vector<VxGePoint> GetOutline() const;
    void SetOutline(const std::vector<VxGePoint>& outline);
    double GetElevation() const { return elevation(); }
    void SetElevation(double e) { setElevation(e); }
    double GetThickness() const { return thickness(); }
    void SetThickness(double t) { setThickness(t); }
    bool IsBalcony() const { return balcony_; }
    void SetBalcony(bool b) { balcony_ = b; }

private:
    bool balcony_ = false;
};

// Registers the product-line entity classes with the database's class registry; runs when the
// library loads, callable again without harm.
void VxDbRegisterClasses();
