#pragma once
// One analysed window: a "_SUNWD" block reference read into plain values, with the results the
// window analysis writes back. The block convention is described in docs/drawing-conventions.md.

#include <string>

#include "brel/VxGePoint.h"
#include "containers/VxDList.h"

class AcDbEntity;

// The values of a "_SUNWD" reference the window analysis needs.
struct SolxWindowBlock {
    VxGePoint insertion;  // middle of the sill on the outer face of the wall
    double rotation =
        0.0;              // radians; the wall runs along it, the outward normal is rotation - pi/2
    double width = 1.0;   // x scale: window width along the wall
    double depth = 1.0;   // y scale: wall depth, from the outer face inwards
    double height = 1.0;  // z scale: window height above the sill
    int floor = 0;        // attribute "FLOOR"
    int number = 0;       // attribute "NUMBER"
    std::wstring label;   // attribute "LABEL"
};

using SolxIntervalList = VxDList<VxGePoint>;  // x from, y to (minutes), z 0
using SolxTextList = VxDList<std::wstring>;   // one text per obstruction group

// Reads a "_SUNWD" reference (an INSERT entity, normal +Z); any other entity gives a window
// with the default values. Attribute tags are compared without regard to case.
SolxWindowBlock SolxReadWindowBlock(const AcDbEntity* entity);

class SolxWinSunlightInfo {
public:
    // offset: how far the test points stand out of the wall face, in drawing units.
    SolxWinSunlightInfo(const SolxWindowBlock& block, double offset);
    // A selected window block; mode is passed through unchanged by the callers. The test points
    // stand g_nSunWinOffset millimetres out of the wall; unitsPerMm is the drawing's units per
    // millimetre (1 in a millimetre drawing, 0.001 in a metre drawing).
    SolxWinSunlightInfo(const AcDbEntity* entity, int mode, double unitsPerMm = 1.0);

    // The test point: the middle of the sill, moved outwards by the offset.
    VxGePoint GetTestPoint() const;
    // The two test points: both ends of the sill, moved outwards by the offset.
    void GetTestPoints(VxGePoint& first, VxGePoint& second) const;

    // Outward unit normal of the wall in plan (z = 0).
    const VxGePoint& OutwardNormal() const { return m_normal; }
    const SolxWindowBlock& Block() const { return m_block; }

    // Record read and written by the window analysis, in this order.
    int m_nFloor = 0;
    int m_nNumber = 0;
    double m_dSillHeight = 0.0;  // drawing units: the elevation of the sill
    double m_dAngle = 0.0;       // facing angle (the block rotation), radians in [0, 2pi)
    SolxIntervalList m_sunlit;   // sunlit intervals
    SolxTextList m_totalTexts;
    SolxTextList m_periodTexts;
    SolxTextList m_longestTexts;
    std::wstring m_strLabel;

private:
    SolxWindowBlock m_block;
    double m_dOffset = 0.0;
    VxGePoint m_normal;
};
