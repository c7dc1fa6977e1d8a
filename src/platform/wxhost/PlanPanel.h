// The plan view of model space: the scene of the picture files drawn through a view transform
// into a cairo image and blitted, with pan (middle drag), zoom (wheel, ZoomExtents), picks and
// window / crossing rectangles (left button), highlighted entities and a crosshair cursor.
#pragma once

#include <wx/bitmap.h>
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

    // Builds the scene of db's model space again (after a command changed the drawing).
    void Rebuild(const AcDbDatabase& db);
    // Fits everything drawn into the view.
    void ZoomExtents();
    // Fits the window between two opposite corners into the view.
    void ZoomWindow(double x0, double y0, double x1, double y1);
    // Shows the entities of the listed owners (indices into the scene's owners) highlighted.
    void Highlight(std::vector<size_t> owners);
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

private:
    void OnPaint(wxPaintEvent&);
    void OnSize(wxSizeEvent&);
    void OnMouse(wxMouseEvent&);
    void OnWheel(wxMouseEvent&);
    void OnLeave(wxMouseEvent&);
    void ViewChanged();
    void PublishView() const;

    PlanInput input_;
    plot::Scene scene_;
    std::unique_ptr<plot::PlanIndex> index_;
    std::vector<size_t> highlighted_;
    double centerX_ = 0, centerY_ = 0, pixelSize_ = 1;
    wxBitmap picture_;
    bool dirty_ = true;
    wxPoint cursor_{-1, -1};
    bool panning_ = false, dragging_ = false;
    wxPoint panFrom_, dragFrom_;
};

}  // namespace solx::wxhost
