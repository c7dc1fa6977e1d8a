#include "GlCanvasContext.h"

#include <wx/dialog.h>
#include <wx/glcanvas.h>
#include <wx/sizer.h>
#include <wx/weakref.h>

#include <GL/gl.h>

#include <algorithm>

#include "mfc/DialogTemplate.h"
#include "render/SolxRenderContext.h"

namespace solx::wxui {
namespace {

wxWindow* g_parent = nullptr;
struct Waiting {
    int templateId = 0;
    PendingCanvas canvas;
} g_waiting;

// Draws into the back buffer of the canvas and shows it on SwapBuffers. The frame is read
// back before the swap (the back buffer is undefined afterwards), so ReadPixels answers the
// frame on screen without reading the window, which may be covered.
class CanvasContext final : public SolxRenderContext {
public:
    CanvasContext(wxGLCanvas* canvas, std::unique_ptr<wxGLContext> context)
        : m_canvas(canvas), m_context(std::move(context)) {}

    bool MakeCurrent() override {
        return m_canvas && m_canvas->IsShownOnScreen() && m_context->SetCurrent(*m_canvas);
    }
    // A wx context stays current until another one is made current; nothing to release.
    void ReleaseCurrent() override {}
    void SwapBuffers() override {
        if (!m_canvas) return;
        const int w = Width(), h = Height();
        std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        m_frame.resize(bottomUp.size());
        const std::size_t row = static_cast<std::size_t>(w) * 3;
        for (int y = 0; y < h; ++y)
            std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(row * (h - 1 - y)), row,
                        m_frame.begin() + static_cast<std::ptrdiff_t>(row * y));
        m_frameWidth = w;
        m_frameHeight = h;
        m_canvas->SwapBuffers();
    }
    int Width() const override { return m_canvas ? std::max(1, m_canvas->GetClientSize().x) : 1; }
    int Height() const override { return m_canvas ? std::max(1, m_canvas->GetClientSize().y) : 1; }
    void Invalidate() override {
        if (m_canvas) m_canvas->Refresh(false);
    }
    // The view's new size (its window was resized and laid out again): the canvas takes it, and
    // the view draws at it from the next frame on.
    bool Resize(int width, int height) override {
        if (!m_canvas || width < 1 || height < 1) return false;
        m_canvas->SetSize(wxSize(width, height));
        m_canvas->Refresh(false);
        return true;
    }
    std::vector<std::uint8_t> ReadPixels() override {
        if (m_frameWidth != Width() || m_frameHeight != Height()) return {};
        return m_frame;
    }

private:
    wxWeakRef<wxGLCanvas> m_canvas;  // wx deletes it with its window
    std::unique_ptr<wxGLContext> m_context;
    std::vector<std::uint8_t> m_frame;
    int m_frameWidth = 0, m_frameHeight = 0;
};

}  // namespace

void SetCanvasParent(wxWindow* parent) {
    g_parent = parent;
}

std::unique_ptr<SolxRenderContext> MakeCanvasContext(int templateId, int controlId, int width,
                                                     int height, std::string& error) {
    wxGLAttributes pixels;
    pixels.PlatformDefaults().RGBA().DoubleBuffer().Depth(24).Stencil(8).EndList();
    if (!wxGLCanvas::IsDisplaySupported(pixels)) {
        error = "the display has no OpenGL visual with depth and stencil buffers";
        return nullptr;
    }
    // The window of the template, shown at once so that the canvas has its native window
    // before the view draws; the presenter adds the controls when the runtime opens it. A
    // window with a view can be resized: the runtime lays it out again (WM_SIZE).
    auto* frame = new wxDialog(g_parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                               wxDEFAULT_DIALOG_STYLE | wxMINIMIZE_BOX | wxRESIZE_BORDER);
    wxRect place(0, 0, width, height);
    if (const ui::DialogTemplate* dialog = ui::FindDialogTemplate(templateId)) {
        frame->SetClientSize(
            frame->ConvertDialogToPixels(wxSize(dialog->rect.width, dialog->rect.height)));
        for (const ui::ControlTemplate& control : dialog->controls)
            if (control.id == controlId)
                place = wxRect(
                    frame->ConvertDialogToPixels(wxPoint(control.rect.x, control.rect.y)),
                    frame->ConvertDialogToPixels(wxSize(control.rect.width, control.rect.height)));
    } else {
        frame->SetClientSize(width, height);
    }
    // An empty sizer: without one the dialog stretches its only child, the canvas, over its
    // whole client area, and the view would take that for its size.
    frame->SetSizer(new wxBoxSizer(wxVERTICAL));
    auto* canvas = new wxGLCanvas(frame, pixels, wxID_ANY, place.GetPosition(), place.GetSize());
    // The compatibility profile: the views draw with OpenGL 1.1 and GLU.
    wxGLContextAttrs profile;
    profile.PlatformDefaults().CompatibilityProfile().EndList();
    auto context = std::make_unique<wxGLContext>(canvas, nullptr, &profile);
    if (!context->IsOK()) {
        frame->Destroy();
        error = "the display cannot make an OpenGL context";
        return nullptr;
    }
    frame->Show();
    if (g_waiting.canvas.frame) g_waiting.canvas.frame->Destroy();  // never claimed
    g_waiting = {templateId, {frame, canvas, controlId}};
    return std::make_unique<CanvasContext>(canvas, std::move(context));
}

PendingCanvas TakePendingCanvas(int templateId) {
    if (!g_waiting.canvas.frame || g_waiting.templateId != templateId) return {};
    PendingCanvas taken = g_waiting.canvas;
    g_waiting = {};
    return taken;
}

}  // namespace solx::wxui
