// The last tip window of the session drawn into a picture beside the point it was shown for:
// its rectangle, frame, column separator and rows, placed through the view it was shown in.
#include "PlotScene.h"
#include "mfc/TipView.h"

namespace solx::plot {

void AddLastTip(Scene& scene) {
    const auto& shown = solx::ui::LastTip();
    if (!shown || shown->view.rows.empty() || !(shown->pixelSize > 0)) return;
    const solx::ui::TipView& v = shown->view;
    const double size = shown->pixelSize;
    // Pixels of the tip (from its top-left corner, y down) to the drawing.
    const auto at = [&](double px, double py) {
        return AcGePoint2d(shown->worldLeft + px * size, shown->worldTop - py * size);
    };
    const double w = v.rect.right - v.rect.left, h = v.rect.bottom - v.rect.top;
    const Rgb black{0, 0, 0}, paper{1.0, 1.0, 0.88};
    scene.fills.push_back({{{at(0, 0), at(w, 0), at(w, h), at(0, h)}}, paper});
    scene.strokes.push_back({{at(0, 0), at(w, 0), at(w, h), at(0, h)}, true, black});
    scene.strokes.push_back({{at(v.separatorX(), 0), at(v.separatorX(), h)}, false, black});
    // The ideographs of the menu font are 12 pixels wide; a drawing text height is its capital
    // height, about 0.7 of that.
    const double textHeight = 8.5 * size;
    double y = 0;
    for (const solx::ui::TipRow& row : v.rows) {
        y += v.margin;
        const double baseline = y + (v.rowHeight + 12.0) / 2.0;
        for (const bool value : {false, true}) {
            Label l;
            l.text = value ? row.value : row.label;
            l.anchor = value ? at(v.separatorX() + v.margin, baseline)
                             : at(v.separatorX() - v.margin, baseline);
            l.along = AcGeVector2d(textHeight, 0);
            l.up = AcGeVector2d(0, textHeight);
            l.horz = value ? AcDb::kTextLeft : AcDb::kTextRight;
            l.colour = black;
            if (!l.text.empty()) scene.labels.push_back(std::move(l));
        }
        y += v.rowHeight;
    }
}

}  // namespace solx::plot
