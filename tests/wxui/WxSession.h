#pragma once
// A wx application on a virtual X server of its own: Xvfb is started on a free display (it
// picks one and tells it through -displayfd), wx is initialised on it, and the presenter is
// installed. Screenshots are read from the X server's screen, as a person would see it.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "wxhost/ScreenGrab.h"
#include "wxui/WxPresenter.h"

namespace wxtest {

inline std::string FindXvfb() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string path = std::string(dir) + "/Xvfb";
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

// One X server and one wx initialisation for the whole test program.
class Session {
public:
    static Session& Get() {
        static Session session;
        return session;
    }
    bool Ready() const { return m_ready; }
    const std::string& Why() const { return m_why; }

private:
    Session() {
        const std::string xvfb = FindXvfb();
        if (xvfb.empty()) {
            m_why = "Xvfb is not installed (Debian package xvfb): the window tests are skipped";
            return;
        }
        int fds[2];
        if (::pipe(fds) != 0) return;
        m_server = ::fork();
        if (m_server == 0) {
            ::close(fds[0]);
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // the server goes with the test program
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            const std::string fd = std::to_string(fds[1]);
            ::execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "+extension", "GLX", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (number.empty()) {
            m_why = "Xvfb did not start";
            return;
        }
        const std::string display = ":" + number;
        ::setenv("DISPLAY", display.c_str(), 1);
        ::setenv("GDK_BACKEND", "x11", 1);
        ::unsetenv("WAYLAND_DISPLAY");
        static char name[] = "wxui_tests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new wxApp);  // a GUI application (the default would be a console one)
        if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
            m_why = "wx cannot start on " + display;
            return;
        }
        wxInitAllImageHandlers();
        solx::wxui::InstallWxPresenter(nullptr);
        m_ready = true;
    }
    ~Session() {
        if (m_ready) solx::wxui::UninstallWxPresenter();
        if (m_server > 0) {
            ::kill(m_server, SIGTERM);
            ::waitpid(m_server, nullptr, 0);
        }
    }

    pid_t m_server = -1;
    bool m_ready = false;
    std::string m_why = "the X server could not be started";
};

// Runs a wx event loop for `ms` (paints, sizes, timers), as the program's own loop would.
inline void Settle(int ms = 300) {
    wxEventLoop loop;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&loop](wxTimerEvent&) { loop.Exit(); });
    timer.StartOnce(ms);
    loop.Run();
}

// What the screen shows in `rect` (screen pixels), read from the X server each time (the
// toolkit's screen device context answers its first picture again on later reads).
inline wxImage Screenshot(const wxRect& rect) {
    std::vector<unsigned char> rgb;
    wxImage image(rect.width, rect.height, false);
    if (solx::wxhost::GrabScreen(rect.x, rect.y, rect.width, rect.height, rgb))
        std::copy(rgb.begin(), rgb.end(), image.GetData());
    else
        ADD_FAILURE() << "the X server's screen cannot be read";
    return image;
}

inline wxRect ScreenRect(wxWindow* window) {
    return wxRect(window->GetScreenPosition(), window->GetSize());
}

// Saves a screenshot under the build tree for a person to look at.
inline std::string Save(const wxImage& image, const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(SOLX_BINARY_DIR) / "wxui-screens";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    image.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

// Pixels of `image` in `rect` (image coordinates) darker than `level` on every channel.
inline int DarkPixels(const wxImage& image, const wxRect& rect, int level = 110) {
    int count = 0;
    for (int y = rect.y; y < rect.GetBottom(); ++y)
        for (int x = rect.x; x < rect.GetRight(); ++x)
            if (image.GetRed(x, y) < level && image.GetGreen(x, y) < level &&
                image.GetBlue(x, y) < level)
                ++count;
    return count;
}

// Pixels of `image` in `rect` in a strong blue (the theme's accent colour of marks).
inline int AccentPixels(const wxImage& image, const wxRect& rect) {
    int count = 0;
    for (int y = rect.y; y < rect.GetBottom(); ++y)
        for (int x = rect.x; x < rect.GetRight(); ++x)
            if (image.GetBlue(x, y) > image.GetRed(x, y) + 80) ++count;
    return count;
}

}  // namespace wxtest

#define SKIP_WITHOUT_X() \
    if (!wxtest::Session::Get().Ready()) GTEST_SKIP() << wxtest::Session::Get().Why()
