// A small drawing for the picture tests, with the picture coordinates it must land on.
#pragma once

#include <memory>

#include "acad/acdb.h"

namespace solx::plot::test {

// In a 400-pixel-wide picture with a 20-pixel margin the drawing (x 0..100, y 0..60) is drawn
// at 3.6 pixels per unit, 256 pixels high:
//  - a red line (0,0)-(100,0): picture row 236, columns 20..380;
//  - a closed polyline square (0,10)-(20,30) on layer "WALLS" (blue, colour ByLayer):
//    columns 20..92, rows 128..200;
//  - block "MARK" holding a ByBlock line (0,0)-(10,0), referenced at (50,50) turned
//    90 degrees with colour 3: a green line at column 200, rows 20..56;
//  - a magenta circle on a frozen layer, one on an off layer and a hidden one: not drawn.
// With chinese, also the text "日照分析" at (60,20) and an attribute "A1" on the reference.
std::unique_ptr<AcDbDatabase> MakeTestDrawing(bool chinese);

}  // namespace solx::plot::test
