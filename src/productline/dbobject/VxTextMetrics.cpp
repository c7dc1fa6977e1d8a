// Advance widths of WenQuanYi Micro Hei in font units (2048 to the em), read from the font's
// horizontal metrics; a test compares the widths with cairo's measurement of the installed font.
#include "brel/VxTextMetrics.h"

namespace {

constexpr double kUnitsPerEm = 2048.0;
constexpr double kEmPerHeight = 1.0 / 0.72;
constexpr int kFullWidth = 2048;  // ideographs, kana, hangul and the full-width forms

// U+0020 to U+007E.
constexpr short kAscii[95] = {
    532,  551,  823,  1323, 1128, 1690, 1438, 463,  616,  616,  1128, 1128, 512,  659,  549,  764,
    1128, 1128, 1128, 1128, 1128, 1128, 1128, 1128, 1128, 1128, 549,  549,  1128, 1128, 1128, 872,
    1774, 1245, 1272, 1235, 1401, 1081, 1006, 1413, 1436, 694,  555,  1186, 1006, 1782, 1493, 1520,
    1180, 1518, 1208, 1063, 1063, 1430, 1163, 1810, 1120, 1079, 1104, 621,  764,  621,  1090, 842,
    1182, 1087, 1200, 948,  1200, 1096, 674,  1061, 1206, 530,  530,  1016, 530,  1835, 1206, 1182,
    1200, 1200, 817,  924,  694,  1206, 981,  1528, 1024, 1001, 903,  725,  1128, 725,  1128};

// U+00A0 to U+00FF (the degree, plus-minus and multiplication signs among them).
constexpr short kLatin1[96] = {
    532,  551,  1128, 1128, 1128, 1128, 1128, 995,  1182, 1704, 678,  997,  1128, 659,  1704, 1024,
    877,  1128, 680,  680,  1182, 1217, 1341, 549,  420,  680,  717,  997,  1509, 1509, 1509, 872,
    1245, 1245, 1245, 1245, 1245, 1245, 1745, 1235, 1081, 1081, 1081, 1081, 694,  694,  694,  694,
    1401, 1493, 1520, 1520, 1520, 1520, 1520, 1128, 1520, 1430, 1430, 1430, 1430, 1079, 1180, 1233,
    1087, 1087, 1087, 1087, 1087, 1087, 1706, 948,  1096, 1096, 1096, 1096, 530,  530,  530,  530,
    1182, 1206, 1182, 1182, 1182, 1182, 1182, 1128, 1182, 1206, 1206, 1206, 1206, 1001, 1200, 1001};

int Advance(wchar_t c) {
    if (c >= 0x20 && c <= 0x7E) return kAscii[c - 0x20];
    if (c >= 0xA0 && c <= 0xFF) return kLatin1[c - 0xA0];
    if (c >= 0xFF61 && c <= 0xFFDC) return kFullWidth / 2;  // half-width katakana and hangul
    // Everything else as wide as an ideograph: the CJK ranges are, and for the rest (Greek,
    // symbols, glyphs the font lacks and the picture takes from another font) a little too
    // wide is better than a text over its cell's border.
    return c < 0x20 ? 0 : kFullWidth;
}

}  // namespace

double VxTextLineWidth(const std::wstring& line, double height, double widthFactor) {
    double units = 0.0;
    for (wchar_t c : line) units += Advance(c);
    return units / kUnitsPerEm * kEmPerHeight * height * widthFactor;
}
