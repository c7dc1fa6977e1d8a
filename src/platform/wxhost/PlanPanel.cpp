#include "wxhost/PlanPanel.h"

#include <cairo.h>
#include <wx/dcbuffer.h>
#include <wx/image.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "acad/acdb.h"
#include "acad/aced.h"
#include "plot/PlanDraw.h"

namespace solx::wxhost {
namespace {

constexpr int kDragPixels = 4;  // a press and release closer than this is a click
constexpr double kWheelFactor = 1.25;

// Copies a cairo RGB24 image into a wx bitmap.
wxBitmap ToBitmap(cairo_surface_t* surface) {
    const int w = cairo_image_surface_get_width(surface),
              h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    wxImage image(w, h, false);
    unsigned char* out = image.GetData();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x, out += 3) {
            const uint32_t px = row[x];
            out[0] = static_cast<unsigned char>(px >> 16);
            out[1] = static_cast<unsigned char>(px >> 8);
            out[2] = static_cast<unsigned char>(px);
        }
    }
    return wxBitmap(image);
}

// Highlighted entities: their line work again, thick and dashed in blue over the picture.
void DrawHighlight(cairo_t* cr, const plot::PlanView& v, const plot::Scene& scene,
                   const plot::SceneItems& items) {
    const double dash[] = {6.0, 4.0};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 3.0);
    cairo_set_source_rgb(cr, 0.1, 0.35, 1.0);
    for (size_t i : items.strokes) {
        const plot::Stroke& s = scene.strokes[i];
        cairo_new_path(cr);
        for (const auto& p : s.points) cairo_line_to(cr, v.X(p.x), v.Y(p.y));
        if (s.closed) cairo_close_path(cr);
        cairo_stroke(cr);
    }
    for (size_t i : items.fills)
        for (const auto& ring : scene.fills[i].rings) {
            cairo_new_path(cr);
            for (const auto& p : ring) cairo_line_to(cr, v.X(p.x), v.Y(p.y));
            cairo_close_path(cr);
            cairo_stroke(cr);
        }
    cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace

PlanPanel::PlanPanel(wxWindow* parent, PlanInput input)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(900, 600), wxWANTS_CHARS),
      input_(std::move(input)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_BLANK));  // the crosshair is drawn across the whole view
    Bind(wxEVT_PAINT, &PlanPanel::OnPaint, this);
    Bind(wxEVT_SIZE, &PlanPanel::OnSize, this);
    for (auto type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, wxEVT_MOTION})
        Bind(type, &PlanPanel::OnMouse, this);
    Bind(wxEVT_MOUSEWHEEL, &PlanPanel::OnWheel, this);
    Bind(wxEVT_LEAVE_WINDOW, &PlanPanel::OnLeave, this);
    // A rebuild put off while the events came fast is done once they stop.
    catchUp_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase())
            Follow(*db, false);
    });
}

void PlanPanel::Rebuild(const AcDbDatabase& db) {
    const auto start = std::chrono::steady_clock::now();
    index_.reset();
    scene_ = plot::BuildScene(db);
    index_ = std::make_unique<plot::PlanIndex>(scene_);
    builtFrom_ = &db;
    builtAt_ = db.changeCount();
    const auto end = std::chrono::steady_clock::now();
    buildMs_ = std::chrono::duration<double, std::milli>(end - start).count();
    builtWhen_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(end.time_since_epoch()).count();
    FollowHighlight(db);  // the owners moved
    ViewChanged();
}

bool PlanPanel::Follow(const AcDbDatabase& db, bool throttled) {
    if (builtFrom_ != &db || builtAt_ != db.changeCount()) {
        const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count();
        const long long wait = static_cast<long long>(4 * buildMs_) - (now - builtWhen_);
        if (!throttled || builtFrom_ != &db || wait <= 0) {
            catchUp_.Stop();
            Rebuild(db);
            return true;
        }
        if (!catchUp_.IsRunning()) catchUp_.StartOnce(static_cast<int>(wait) + 1);
    }
    if (highlightAt_ != db.highlightCount()) {
        FollowHighlight(db);
        ViewChanged();
    }
    return false;
}

// The owners of the drawing's highlighted entities (a pass over the owners, made only while
// something is highlighted).
void PlanPanel::FollowHighlight(const AcDbDatabase& db) {
    highlightAt_ = db.highlightCount();
    highlighted_.clear();
    const auto& marked = db.highlighted();
    if (marked.empty()) return;
    for (size_t i = 0; i < scene_.owners.size(); ++i)
        if (marked.count(scene_.owners[i].id.stub())) highlighted_.push_back(i);
}

void PlanPanel::ZoomExtents() {
    const wxSize size = GetClientSize();
    if (!index_ || index_->Extents().empty() || size.x < 2 || size.y < 2) return;
    const plot::Box& e = index_->Extents();
    ZoomWindow(e.x0, e.y0, e.x1, e.y1);
}

void PlanPanel::ZoomWindow(double x0, double y0, double x1, double y1) {
    const wxSize size = GetClientSize();
    if (size.x < 2 || size.y < 2) return;
    centerX_ = (x0 + x1) / 2, centerY_ = (y0 + y1) / 2;
    const double w = std::abs(x1 - x0), h = std::abs(y1 - y0);
    pixelSize_ = 1.05 * std::max({w / size.x, h / size.y, 1e-9});
    ViewChanged();
}

wxPoint PlanPanel::ToPixel(double x, double y) const {
    const wxSize size = GetClientSize();
    return {static_cast<int>(std::lround((x - centerX_) / pixelSize_ + size.x / 2.0)),
            static_cast<int>(std::lround(size.y / 2.0 - (y - centerY_) / pixelSize_))};
}

void PlanPanel::ToWorld(const wxPoint& p, double& x, double& y) const {
    const wxSize size = GetClientSize();
    x = centerX_ + (p.x - size.x / 2.0) * pixelSize_;
    y = centerY_ + (size.y / 2.0 - p.y) * pixelSize_;
}

// The editor's view model follows the window, so that pick apertures and tip windows are
// measured in the pixels the user sees.
void PlanPanel::PublishView() const {
    const wxSize size = GetClientSize();
    if (size.x < 1 || size.y < 1) return;
    solx::editor::ViewModel view;
    view.centerX = centerX_, view.centerY = centerY_;
    view.widthPixels = size.x, view.heightPixels = size.y;
    view.height = pixelSize_ * size.y;
    solx::editor::SetView(view);
}

void PlanPanel::ViewChanged() {
    PublishView();
    dirty_ = true;
    Refresh(false);
}

double PlanPanel::Render() {
    const auto start = std::chrono::steady_clock::now();
    const wxSize size = GetClientSize();
    const int w = std::max(size.x, 1), h = std::max(size.y, 1);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    plot::PlanView view;
    view.scale = 1 / pixelSize_;
    view.width = w, view.height = h;
    view.offsetX = w / 2.0 - centerX_ * view.scale;
    view.offsetY = h / 2.0 + centerY_ * view.scale;
    if (index_) {
        plot::PlanDrawStats stats;
        plot::DrawPlan(surface, view, scene_, *index_, kDetailPixels, stats);
        if (!highlighted_.empty()) {
            cairo_t* cr = cairo_create(surface);
            DrawHighlight(cr, view, scene_, index_->ItemsOf(highlighted_));
            cairo_destroy(cr);
        }
    } else {
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    cairo_surface_flush(surface);
    picture_ = ToBitmap(surface);
    cairo_surface_destroy(surface);
    pictureX_ = centerX_, pictureY_ = centerY_, picturePixel_ = pixelSize_;
    dirty_ = false;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void PlanPanel::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    if (dirty_ || picture_.GetSize() != size || picturePixel_ != pixelSize_) Render();
    // While a pan drags the view, the picture moves with it and is drawn anew when it ends.
    const wxPoint shift(static_cast<int>(std::lround((pictureX_ - centerX_) / pixelSize_)),
                        static_cast<int>(std::lround((centerY_ - pictureY_) / pixelSize_)));
    if (shift != wxPoint(0, 0)) {
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
    }
    dc.DrawBitmap(picture_, shift.x, shift.y);
    if (dragging_) {
        const bool crossing = cursor_.x < dragFrom_.x;  // right to left: crossing
        dc.SetPen(wxPen(crossing ? wxColour(0, 150, 0) : wxColour(0, 0, 220), 1,
                        crossing ? wxPENSTYLE_SHORT_DASH : wxPENSTYLE_SOLID));
        dc.SetBrush(wxBrush(crossing ? wxColour(0, 150, 0) : wxColour(0, 0, 220),
                            wxBRUSHSTYLE_BDIAGONAL_HATCH));
        dc.DrawRectangle(wxRect(dragFrom_, cursor_));
    }
    if (cursor_.x < 0) return;
    dc.SetPen(wxPen(wxColour(60, 60, 60), 1));
    dc.DrawLine(0, cursor_.y, size.x, cursor_.y);
    dc.DrawLine(cursor_.x, 0, cursor_.x, size.y);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(cursor_.x - kPickBox, cursor_.y - kPickBox, 2 * kPickBox + 1,
                     2 * kPickBox + 1);
}

void PlanPanel::OnSize(wxSizeEvent& event) {
    ViewChanged();
    event.Skip();
}

void PlanPanel::OnMouse(wxMouseEvent& event) {
    const wxPoint p = event.GetPosition();
    if (event.MiddleDown()) {
        panning_ = true, panFrom_ = p;
        if (!HasCapture()) CaptureMouse();
    } else if (event.MiddleUp() && panning_) {
        panning_ = false;
        if (HasCapture()) ReleaseMouse();
        ViewChanged();
    } else if (event.LeftDown()) {
        dragging_ = true, dragFrom_ = p;
        SetFocus();
    } else if (event.LeftUp() && dragging_) {
        dragging_ = false;
        double x0, y0, x1, y1;
        ToWorld(dragFrom_, x0, y0);
        ToWorld(p, x1, y1);
        if (std::abs(p.x - dragFrom_.x) < kDragPixels &&
            std::abs(p.y - dragFrom_.y) < kDragPixels) {
            if (input_.point) input_.point(x1, y1);
        } else if (input_.window) {
            input_.window(x0, y0, x1, y1, p.x < dragFrom_.x);
        }
    } else if (event.Dragging() && panning_) {
        centerX_ -= (p.x - panFrom_.x) * pixelSize_;
        centerY_ += (p.y - panFrom_.y) * pixelSize_;
        panFrom_ = p;
        PublishView();  // the picture is only moved until the pan ends
    }
    cursor_ = p;
    Refresh(false);
    if (event.Moving() || event.Dragging()) {
        double x, y;
        ToWorld(p, x, y);
        if (input_.move) input_.move(x, y);
    }
}

void PlanPanel::OnWheel(wxMouseEvent& event) {
    const int steps = event.GetWheelRotation() / std::max(event.GetWheelDelta(), 1);
    if (steps == 0) return;
    // The point under the cursor stays where it is.
    double x, y;
    ToWorld(event.GetPosition(), x, y);
    const double factor = std::pow(kWheelFactor, -steps);
    pixelSize_ *= factor;
    centerX_ = x - (x - centerX_) * factor;
    centerY_ = y - (y - centerY_) * factor;
    ViewChanged();
}

void PlanPanel::OnLeave(wxMouseEvent&) {
    cursor_ = {-1, -1};
    Refresh(false);
}

}  // namespace solx::wxhost
