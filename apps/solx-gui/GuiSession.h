#pragma once
// One drawing in the workbench window: the drawing, the module, the command loop run through
// the window's front end, and what happens at its end (save with --out, the exit status).

#include <memory>
#include <string>

#include "Options.h"
#include "Session.h"

class AcDbDatabase;

namespace solx::wxhost {
class MainFrame;
class WxFrontEnd;
}  // namespace solx::wxhost

namespace solx::gui {

class GuiSession {
public:
    GuiSession(app::Options options, int delayMs);
    ~GuiSession();

    // Opens the drawing and the window; false (with a message on the error output and the exit
    // status set) when the drawing or the script cannot be read.
    bool Open();
    // Loads the module and runs the command loop until QUIT, the window closes or a script
    // line stops the run; then closes the window.
    void Run();
    int ExitStatus() const { return status_; }

private:
    void SwitchLanguage(const std::wstring& language);
    void Finish();

    app::Options options_;
    int delayMs_;
    AcDbDatabase* db_ = nullptr;
    app::Session session_;
    wxhost::MainFrame* frame_ = nullptr;
    std::unique_ptr<wxhost::WxFrontEnd> frontEnd_;
    int status_ = 0;
};

}  // namespace solx::gui
