#pragma once
// The drawing scale (出图比例): the drawing is printed at 1:N, and texts, tables, labels and
// markers are sized on paper. Something meant to be h millimetres high on paper is drawn
// h * N millimetres high, i.e. h * N * (drawing units per millimetre) drawing units.
//
// The scale lives in the drawing: the xrecord "SOLX_DRAWINGSCALE" of the named-objects
// dictionary, a list of key/value pairs (300 key, then the value), the key "SCALE" with a
// 40 real N. Pairs other than "SCALE" are kept as they are when the scale is set, so a later
// version may add keys. A drawing without the record (or with an unusable value) has the
// default scale.

#include <string>

#include "acad/AcDbCore.h"

// The scale a drawing has until someone sets one: 1:500, a site plan.
inline constexpr double kVxDefaultDrawingScale = 500.0;
// The scales that can be set: 1:1 (full size) to 1:100000 (a city map).
inline constexpr double kVxMinDrawingScale = 1.0;
inline constexpr double kVxMaxDrawingScale = 100000.0;

// N of the drawing's scale 1:N; the working drawing when db is null. The default scale when
// the drawing has none (or no drawing is open).
double VxDrawingScale(AcDbDatabase* db = nullptr);

// Stores 1:N in the drawing (the working drawing when db is null). Refuses (eInvalidInput,
// nothing written) an N outside kVxMinDrawingScale..kVxMaxDrawingScale or not a number; a
// drawing that already holds N is left untouched (no change for undo or for the saved flag).
Acad::ErrorStatus VxSetDrawingScale(double scale, AcDbDatabase* db = nullptr);

// The text 1:N shows N in ("500", "1250.5"): shortest form, no trailing zeros.
std::wstring VxDrawingScaleText(double scale);
