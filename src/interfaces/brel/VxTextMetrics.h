// How wide a line of text is drawn: the advance widths of WenQuanYi Micro Hei, the font of the
// text style TS_DIM and of the plan pictures. A text's height is the height of its capitals;
// the font's em square is height / 0.72, the ratio the pictures draw with. Tables lay out their
// columns with this so that no text spills out of its cell.
#pragma once

#include <string>

// The width of one line (no line breaks) at the text height and width factor.
double VxTextLineWidth(const std::wstring& line, double height, double widthFactor = 1.0);
