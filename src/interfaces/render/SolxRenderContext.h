#pragma once
// An OpenGL context that a view draws into. The host program renders offscreen (Mesa through
// EGL on the surfaceless platform, into a framebuffer object with a 24-bit depth and 8-bit
// stencil buffer); a desktop window can hand a view its own on-screen context through the same
// interface. The context speaks the compatibility profile, so OpenGL 1.1 fixed-function calls
// and GLU work on it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SolxRenderContext {
public:
    virtual ~SolxRenderContext() = default;

    // Makes the context current on this thread with its framebuffer bound; false on failure.
    virtual bool MakeCurrent() = 0;
    // Leaves no context current.
    virtual void ReleaseCurrent() = 0;
    // Ends a frame: shows it on screen, or (offscreen) waits until it is drawn.
    virtual void SwapBuffers() = 0;
    // The size of the drawing surface in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Changes the size of the drawing surface (an on-screen one resizes its canvas in the
    // window); false when it cannot. The content is undefined afterwards.
    virtual bool Resize(int width, int height) = 0;
    // The last frame as RGB bytes, rows from the top; empty on failure.
    virtual std::vector<std::uint8_t> ReadPixels() = 0;
    // The picture is out of date: an on-screen surface asks its window for a paint (which
    // reaches the view as its control's WM_PAINT); offscreen the owner paints when it needs to.
    virtual void Invalidate() {}
};

// An offscreen context of the given size (at least 1 x 1). Null with the reason in `error` when
// there is no EGL display, no desktop OpenGL, or the framebuffer cannot be made.
std::unique_ptr<SolxRenderContext> CreateOffscreenRenderContext(int width, int height,
                                                                std::string& error);

// The context of a view that fills control `controlId` of the window made from dialog template
// `templateId`: the maker a desktop program installed (an on-screen one), else an offscreen
// context of width x height. A null maker restores the offscreen default.
using SolxViewContextMaker = std::unique_ptr<SolxRenderContext> (*)(int templateId, int controlId,
                                                                    int width, int height,
                                                                    std::string& error);
void SetViewContextMaker(SolxViewContextMaker maker);
std::unique_ptr<SolxRenderContext> CreateViewRenderContext(int templateId, int controlId, int width,
                                                           int height, std::string& error);

// Writes RGB bytes (rows from the top) as a PNG file; false with the reason in `error`.
bool SolxWritePng(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string& error);
