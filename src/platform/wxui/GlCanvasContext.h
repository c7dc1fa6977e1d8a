#pragma once
// Views on screen: a render context over a wxGLCanvas. The canvas is made when the view asks for
// its context, before the runtime builds the window from its template; it waits (with the wx
// dialog it sits in) until the presenter shows that window and puts it in the view's control.

#include <memory>
#include <string>

class wxDialog;
class wxGLCanvas;
class wxWindow;
class SolxRenderContext;

namespace solx::wxui {

struct PendingCanvas {
    wxDialog* frame = nullptr;
    wxGLCanvas* canvas = nullptr;
    int controlId = 0;
};

void SetCanvasParent(wxWindow* parent);
// The maker installed with SetViewContextMaker.
std::unique_ptr<SolxRenderContext> MakeCanvasContext(int templateId, int controlId, int width,
                                                     int height, std::string& error);
// The canvas waiting for the window of template `templateId` (empty when none waits).
PendingCanvas TakePendingCanvas(int templateId);

}  // namespace solx::wxui
