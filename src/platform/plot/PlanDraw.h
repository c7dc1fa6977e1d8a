// The plan view's picture: the part of a scene a view shows, found through the grid index, drawn
// by the picture files' routine; at a scale where many items are smaller than a pixel those are
// set as single pixels (specks) instead of being drawn, which is what drawing them would show
// and a small part of the time.
#pragma once

#include "PlanIndex.h"

struct _cairo_surface;

namespace solx::plot {

struct PlanDrawStats {
    size_t drawn = 0;   // items drawn whole
    size_t specks = 0;  // items set as one pixel
    DrawStats text;
};

// Draws the view's area of scene onto image (a cairo image surface of view.width x
// view.height). Fills, strokes and labels smaller than detailPixels pixels both ways become
// specks; 0 draws every item whole, as the picture files do.
void DrawPlan(_cairo_surface* image, const PlanView& view, const Scene& scene,
              const PlanIndex& index, double detailPixels, PlanDrawStats& stats);

}  // namespace solx::plot
