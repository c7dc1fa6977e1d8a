#pragma once
// What a tip window shows, without a toolkit: label/value rows in two columns inside a
// rectangle of the parent's client area. A tip window paints by handing its view to
// PaintTipView; front ends print it as one "[tip] ..." line, and the last one is kept for
// pictures of the session (solx --plot). A desktop window can draw the same view.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mfc/WinTypes.h"

namespace solx::ui {

struct TipRow {
    std::wstring label;
    std::wstring value;
};

struct TipView {
    std::vector<TipRow> rows;
    RECT rect;           // the window, in client pixels of the host's main frame
    int labelWidth = 0;  // the label column (clamped), pixels
    int valueWidth = 0;  // the value column (clamped), pixels
    int rowHeight = 0;   // one row, pixels
    int margin = 4;      // around and between the cells
    int separatorX() const { return margin + labelWidth + margin; }
};

// Width and height in pixels of a single-line text in the tip's font (the system menu font):
// what GetTextExtentPoint32 answers for it. Wide (East Asian) characters are 12 pixels, others
// 7, a line 16 pixels high; an empty text is 0 wide and 16 high.
SIZE MenuFontTextExtent(const std::wstring& text);

// A tip window painted this view: the first paint of a window is printed through the editor's
// front end ("[tip] label value | ..."), every paint becomes the last tip.
void PaintTipView(HWND window, const TipView& view);
// The "[tip] ..." line of a view (without line breaks).
std::wstring TipLine(const TipView& view);
// The view last painted in this process, with the view model's pixel size and centre at that
// time so a picture can put it back beside its point.
struct ShownTip {
    TipView view;
    double worldLeft = 0.0, worldTop = 0.0;  // the rectangle's top-left corner in the drawing
    double pixelSize = 1.0;                  // drawing units per pixel
};
const std::optional<ShownTip>& LastTip();

// A desktop front end that shows tip windows on screen watches them here: observer is called
// with the view on every paint, and with null when a window is destroyed (any window: the
// observer ignores those it has not seen painted). An empty function stops watching.
using TipObserver = std::function<void(HWND window, const TipView* view)>;
void SetTipObserver(TipObserver observer);
// Called by the window runtime as a window is destroyed.
void NotifyWindowDestroyed(HWND window);
void ForgetLastTip();

}  // namespace solx::ui
