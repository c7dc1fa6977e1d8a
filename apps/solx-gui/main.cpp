// solx-gui: the desktop workbench. The host program's session (drawing, module, command loop)
// with a window in front: the plan view, the command line, menus, the tip windows.
#include <wx/app.h>
#include <wx/image.h>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "GuiSession.h"
#include "Options.h"

namespace {

constexpr int kDefaultDelayMs = 150;

// The workbench's own options come before the host program's: --delay MS, the pause before
// each script line is played.
bool TakeDelay(std::vector<std::string>& args, int& delayMs, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--delay") continue;
        char* end = nullptr;
        const long ms = i + 1 < args.size() ? std::strtol(args[i + 1].c_str(), &end, 10) : -1;
        if (i + 1 >= args.size() || *end || ms < 0 || ms > 60000) {
            error = "--delay needs a number of milliseconds (0 to 60000)";
            return false;
        }
        delayMs = static_cast<int>(ms);
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return true;
    }
    return true;
}

std::unique_ptr<solx::gui::GuiSession> g_session;

class WorkbenchApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        if (!g_session->Open()) return false;
        CallAfter([] { g_session->Run(); });
        return true;
    }
    int OnRun() override {
        wxApp::OnRun();
        return g_session->ExitStatus();
    }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(WorkbenchApp);

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    int delayMs = kDefaultDelayMs;
    if (!TakeDelay(args, delayMs, error)) {
        std::cerr << "solx-gui: " << error << '\n';
        return 2;
    }
    const auto opts = solx::app::ParseOptions(args, error);
    if (!opts) {
        std::cerr << "solx-gui: " << error << "\n" << solx::app::Usage();
        return 2;
    }
    if (opts->help) {
        std::cout << "solx-gui [--delay MS] [solx options] [DRAWING]\n" << solx::app::Usage();
        return 0;
    }
    g_session = std::make_unique<solx::gui::GuiSession>(*opts, delayMs);
    int wxArgc = 1;
    const int status = wxEntry(wxArgc, argv);
    // wxEntry answers -1 when the window could not start (no display).
    if (status < 0 || (status == 0 && g_session->ExitStatus() != 0))
        return g_session->ExitStatus() ? g_session->ExitStatus() : 1;
    return status;
}
