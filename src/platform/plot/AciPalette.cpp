// The 255-colour palette of colour indices, derived from its layout rather than tabulated:
// 1-9 are named colours, 10-249 run through 24 hues 15 degrees apart with five brightness
// steps each, a full and a pale shade per step, and 250-255 are greys.
#include <array>
#include <algorithm>
#include <cmath>
#include <cwctype>

#include "PlotScene.h"

namespace solx::plot {
namespace {

constexpr std::array<Rgb, 10> kNamed = {{{0, 0, 0},
                                         {1, 0, 0},
                                         {1, 1, 0},
                                         {0, 1, 0},
                                         {0, 1, 1},
                                         {0, 0, 1},
                                         {1, 0, 1},
                                         {0, 0, 0},  // 7: black on white paper
                                         {128 / 255.0, 128 / 255.0, 128 / 255.0},
                                         {192 / 255.0, 192 / 255.0, 192 / 255.0}}};

constexpr std::array<double, 5> kBrightness = {255, 165, 127, 76, 38};
constexpr std::array<double, 6> kGreys = {51, 91, 132, 173, 214, 255};

// A colour of the given hue (degrees), saturation and value, each channel 0..1.
Rgb FromHsv(double hue, double saturation, double value) {
    auto channel = [&](double n) {
        const double k = std::fmod(n + hue / 60.0, 6.0);
        const double ramp = std::clamp(std::min(k, 4.0 - k), 0.0, 1.0);
        return value * (1.0 - saturation * ramp);
    };
    return {channel(5), channel(3), channel(1)};
}

}  // namespace

Rgb AciColour(int index) {
    if (index < 1 || index > 255) return {};
    if (index < 10) return kNamed[static_cast<size_t>(index)];
    if (index >= 250) {
        const double g = kGreys[static_cast<size_t>(index - 250)] / 255.0;
        return {g, g, g};
    }
    const double hue = (index / 10 - 1) * 15.0;
    const int step = index % 10;
    const double value = kBrightness[static_cast<size_t>(step / 2)] / 255.0;
    return FromHsv(hue, step % 2 ? 0.5 : 1.0, value);
}

std::wstring DisplayText(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, L"%%") != 0 || i + 2 >= text.size()) {
            out += text[i];
            continue;
        }
        const wchar_t code = static_cast<wchar_t>(std::towlower(text[i + 2]));
        if (code == L'd')
            out += L'\u00b0';
        else if (code == L'p')
            out += L'\u00b1';
        else if (code == L'c')
            out += L'\u2300';
        else if (code == L'%')
            out += L'%';
        else if (code != L'u' && code != L'o')
            out += text.substr(i, 3);
        i += 2;
    }
    return out;
}

}  // namespace solx::plot
