// Offscreen OpenGL through EGL on Mesa's surfaceless platform: a desktop (compatibility
// profile) context without a window, drawing into a framebuffer object with an RGBA colour
// buffer and a combined 24-bit depth / 8-bit stencil buffer.
//
// The EGL display is made once per process and never terminated: terminating it unloads the
// driver, after which contexts of later views could not be made cheaply, and the driver's own
// allocations would show up as leaks of an unknown module under the leak checker.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <mutex>

#include "render/SolxRenderContext.h"

namespace {

struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

    template <class F>
    static bool Load(F& f, const char* name) {
        f = reinterpret_cast<F>(eglGetProcAddress(name));
        return f != nullptr;
    }
    bool LoadAll() {
        return Load(genFramebuffers, "glGenFramebuffers") &&
               Load(deleteFramebuffers, "glDeleteFramebuffers") &&
               Load(bindFramebuffer, "glBindFramebuffer") &&
               Load(genRenderbuffers, "glGenRenderbuffers") &&
               Load(deleteRenderbuffers, "glDeleteRenderbuffers") &&
               Load(bindRenderbuffer, "glBindRenderbuffer") &&
               Load(renderbufferStorage, "glRenderbufferStorage") &&
               Load(framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
               Load(checkFramebufferStatus, "glCheckFramebufferStatus");
    }
};

// The process's EGL display on the surfaceless platform; EGL_NO_DISPLAY when there is none.
EGLDisplay SurfacelessDisplay(std::string& error) {
    static std::once_flag once;
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string reason;
    std::call_once(once, [] {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay) {
            reason = "EGL has no platform displays (EGL_EXT_platform_base)";
            return;
        }
        EGLDisplay d =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
            reason = "no EGL surfaceless display (Mesa's libegl-mesa0 and libgl1-mesa-dri)";
            return;
        }
        display = d;
    });
    if (display == EGL_NO_DISPLAY) error = reason;
    return display;
}

class OffscreenContext final : public SolxRenderContext {
public:
    bool Create(int width, int height, std::string& error) {
        m_display = SurfacelessDisplay(error);
        if (m_display == EGL_NO_DISPLAY) return false;
        if (!eglBindAPI(EGL_OPENGL_API)) return error = "EGL cannot bind desktop OpenGL", false;
        // Without a surface the context needs no config (EGL_KHR_no_config_context).
        m_context = eglCreateContext(m_display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
        if (m_context == EGL_NO_CONTEXT)
            return error = "EGL cannot create an OpenGL context", false;
        if (!eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context))
            return error = "EGL cannot make a context current without a surface", false;
        if (!m_gl.LoadAll()) return error = "OpenGL has no framebuffer objects", false;
        m_gl.genFramebuffers(1, &m_framebuffer);
        m_gl.genRenderbuffers(2, m_renderbuffers);
        if (!Resize(width, height))
            return error = "OpenGL cannot make a framebuffer of that size", false;
        return true;
    }

    ~OffscreenContext() override {
        if (m_context == EGL_NO_CONTEXT) return;
        if (eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) && m_framebuffer) {
            m_gl.deleteFramebuffers(1, &m_framebuffer);
            m_gl.deleteRenderbuffers(2, m_renderbuffers);
        }
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(m_display, m_context);
    }

    bool MakeCurrent() override {
        if (!eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context)) return false;
        m_gl.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        return true;
    }
    void ReleaseCurrent() override {
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    void SwapBuffers() override { glFinish(); }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

    bool Resize(int width, int height) override {
        if (width < 1 || height < 1 || !MakeCurrent()) return false;
        GLint limit = 0;
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
        if (width > limit || height > limit) return false;
        m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[0]);
        m_gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        m_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                     m_renderbuffers[0]);
        m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[1]);
        m_gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        m_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                     m_renderbuffers[1]);
        if (m_gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        m_width = width;
        m_height = height;
        return true;
    }

    std::vector<std::uint8_t> ReadPixels() override {
        if (!MakeCurrent()) return {};
        std::vector<std::uint8_t> bottomUp(static_cast<size_t>(m_width) * m_height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        if (glGetError() != GL_NO_ERROR) return {};
        std::vector<std::uint8_t> rgb(bottomUp.size());
        const size_t row = static_cast<size_t>(m_width) * 3;
        for (int y = 0; y < m_height; ++y)
            std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(row * (m_height - 1 - y)),
                        row, rgb.begin() + static_cast<std::ptrdiff_t>(row * y));
        return rgb;
    }

private:
    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLContext m_context = EGL_NO_CONTEXT;
    FramebufferCalls m_gl;
    GLuint m_framebuffer = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    int m_width = 0;
    int m_height = 0;
};

}  // namespace

std::unique_ptr<SolxRenderContext> CreateOffscreenRenderContext(int width, int height,
                                                                std::string& error) {
    auto context = std::make_unique<OffscreenContext>();
    if (!context->Create(width, height, error)) return nullptr;
    return context;
}
