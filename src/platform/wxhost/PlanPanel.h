// The plan view of model space: the scene of the picture files drawn through a view transform
// into a cairo image and blitted, with pan (middle drag), zoom (wheel, ZoomExtents), picks and
// window / crossing rectangles (left button), highlighted entities and a crosshair cursor.
#pragma once

#include <wx/bitmap.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <functional>
#include <memory>
#include <vector>

#include "plot/PlanIndex.h"
#include "plot/PlotScene.h"

class AcDbDatabase;

namespace solx::wxhost {

// What the user does in the plan, in drawing units.
struct PlanInput {
    std::function<void(double x, double y)> point;  // a click
    std::function<void(double x0, double y0, double x1, double y1, bool crossing)> window;
    std::function<void(double x, double y)> move;  // the cursor moved
};

class PlanPanel : public wxWindow {
public:
    PlanPanel(wxWindow* parent, PlanInput input);

    // Builds the scene of db's model space again, the view kept.
    void Rebuild(const AcDbDatabase& db);
    // Follows the drawing while commands run: builds the scene again when db changed since the
    // last build (its change count), and the highlight when its set of highlighted entities
    // changed; nothing when neither did. With `throttled` (cursor moves, computations) a
    // rebuild waits until four times its last duration has passed since it ended, so that
    // following a big drawing takes at most a fifth of the time; a timer then catches up once
    // the events stop. True when it built the scene.
    bool Follow(const AcDbDatabase& db, bool throttled);
    // Fits everything drawn into the view.
    void ZoomExtents();
    // Fits the window between two opposite corners into the view.
    void ZoomWindow(double x0, double y0, double x1, double y1);
    // The owners (indices into the scene's owners) shown highlighted: the drawing's highlighted
    // entities.
    const std::vector<size_t>& Highlighted() const { return highlighted_; }
    // Drawing units per pixel and the centre of the view.
    double PixelSize() const { return pixelSize_; }
    wxPoint ToPixel(double x, double y) const;
    void ToWorld(const wxPoint& p, double& x, double& y) const;
    const plot::Scene& Scene() const { return scene_; }
    const plot::PlanIndex* Index() const { return index_.get(); }
    // Draws the view's picture into a cairo image of the client size (what the next paint
    // shows); returns the time it took in milliseconds.
    double Render();
    // Pixels a click may miss an entity by.
    static constexpr int kPickBox = 5;
    // Items smaller than this many pixels are drawn as one pixel (see plot::DrawPlan).
    static constexpr double kDetailPixels = 1.5;

private:
    void OnPaint(wxPaintEvent&);
    void OnSize(wxSizeEvent&);
    void OnMouse(wxMouseEvent&);
    void OnWheel(wxMouseEvent&);
    void OnLeave(wxMouseEvent&);
    void ViewChanged();
    void PublishView() const;
    void FollowHighlight(const AcDbDatabase& db);

    PlanInput input_;
    plot::Scene scene_;
    std::unique_ptr<plot::PlanIndex> index_;
    std::vector<size_t> highlighted_;
    // What the scene was built from, to tell whether the drawing changed since.
    const AcDbDatabase* builtFrom_ = nullptr;
    unsigned long long builtAt_ = 0, highlightAt_ = 0;
    double buildMs_ = 0;
    long long builtWhen_ = 0;  // steady clock milliseconds at the end of the last build
    wxTimer catchUp_;
    double centerX_ = 0, centerY_ = 0, pixelSize_ = 1;
    wxBitmap picture_;
    double pictureX_ = 0, pictureY_ = 0, picturePixel_ = 0;  // the view the picture shows
    bool dirty_ = true;
    wxPoint cursor_{-1, -1};
    bool panning_ = false, dragging_ = false;
    wxPoint panFrom_, dragFrom_;
};

}  // namespace solx::wxhost
