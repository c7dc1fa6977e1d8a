#include "GuiSession.h"

#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "ModuleLoader.h"
#include "ScriptFile.h"
#include "acad/AcDbDatabase.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/Modeless.h"
#include "mfc/Utf8.h"
#include "plot/SolxPlot.h"
#include "wxhost/MainFrame.h"
#include "wxhost/PlanPanel.h"
#include "wxhost/WxFrontEnd.h"
#ifdef SOLX_WITH_WXUI
#include "wxui/WxPresenter.h"
#endif

namespace solx::gui {
namespace {

using win::Utf8ToWide;
using win::WideToUtf8;

// A script's lines; a UTF-8 byte-order mark and carriage returns are not part of them.
std::vector<std::wstring> ScriptLines(const std::string& text) {
    std::vector<std::wstring> lines;
    std::istringstream in(text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(Utf8ToWide(line));
    }
    return lines;
}

}  // namespace

GuiSession::GuiSession(app::Options options, int delayMs)
    : options_(std::move(options)), delayMs_(delayMs) {}

GuiSession::~GuiSession() = default;

bool GuiSession::Open() {
    lang::InstallLanguageSwitch(options_.language, app::LanguageDirectory());
    wxhost::VisibleScript script{Utf8ToWide(options_.script), {}, delayMs_};
    if (!options_.script.empty()) {
        std::string text, error;
        if (!app::ReadScript(options_.script, text, error)) {
            std::cerr << "solx-gui: " << error << '\n';
            return status_ = 2, false;
        }
        script.lines = ScriptLines(text);
    }
    std::string error;
    db_ = app::OpenDrawing(options_, error);
    if (!db_) {
        std::cerr << "solx-gui: " << error << '\n';
        return status_ = 2, false;
    }

    wxhost::SessionActions actions;
    actions.switchLanguage = [this](const std::wstring& language) { SwitchLanguage(language); };
    actions.openDrawing = [this](const std::wstring& path) {
        // One drawing a window: another drawing opens in a workbench of its own.
        wxExecute(wxString::Format("\"%s\" --lang %s \"%s\"",
                                   wxStandardPaths::Get().GetExecutablePath(),
                                   wxString(options_.language.c_str()), wxString(path.c_str())));
    };
    const std::wstring title =
        L"Solx - " +
        (options_.drawing.empty() ? std::wstring(L"(new drawing)") : Utf8ToWide(options_.drawing));
    frame_ = new wxhost::MainFrame(title, actions);
    frontEnd_ = std::make_unique<wxhost::WxFrontEnd>(*frame_, std::move(script));
    frame_->SetFrontEnd(frontEnd_.get());
    editor::SetFrontEnd(frontEnd_.get());
    frame_->Show();
#ifdef SOLX_WITH_WXUI
    // Real dialogs for a person and for a played script alike: the script's dialog lines are
    // done on the dialog's widgets as a person would.
    wxui::InstallWxPresenter(frame_, !options_.script.empty());
#endif
    session_.database = db_;
    session_.drawingPath = Utf8ToWide(options_.drawing);
    session_.outPath = Utf8ToWide(options_.out);
    session_.scripted = !options_.script.empty();
    session_.interactive = options_.script.empty();
    return true;
}

void GuiSession::SwitchLanguage(const std::wstring& language) {
    options_.language = language;
    lang::InstallLanguageSwitch(language, app::LanguageDirectory());
    frame_->BuildMenus();
}

void GuiSession::Run() {
    frame_->Plan().Rebuild(*db_);
    frame_->Plan().ZoomExtents();
    app::ModuleLoader module;
    std::string error;
    bool ok = module.Load(app::DefaultModulePath(), error);
    if (!ok) {
        std::cerr << "solx-gui: " << error << '\n';
        status_ = 1;
    } else {
        app::RegisterHostCommands(session_);
        ok = app::RunCommandLoop(session_);
        ui::CloseModelessWindows();  // their objects live in the module
        app::RemoveHostCommands();
        module.Unload();
    }
#ifdef SOLX_WITH_WXUI
    wxui::UninstallWxPresenter();
#endif
    editor::SetFrontEnd(nullptr);
    frame_->SetFrontEnd(nullptr);
    if (status_ == 0) Finish();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    frame_->Destroy();
    // Status and failure were decided above; ok only says whether the loop ended normally.
    (void)ok;
}

// The end of a run as the terminal host ends it: a stopped script fails without saving,
// --out saves, --plot draws the final drawing.
void GuiSession::Finish() {
    if (!session_.failure.empty()) {
        std::cerr << "solx-gui: " << WideToUtf8(session_.failure) << "; the run stopped there\n";
        status_ = 1;
        return;
    }
    if (frontEnd_->Stopped()) {
        std::cerr << "solx-gui: " << WideToUtf8(frontEnd_->StopMessage())
                  << "; the drawing was not saved\n";
        status_ = 1;
        return;
    }
    if (!options_.out.empty() && !app::SaveDrawing(session_, session_.outPath)) {
        std::cerr << "solx-gui: cannot save " << options_.out << '\n';
        status_ = 1;
        return;
    }
    std::string error;
    if (!options_.plot.empty() && !solxPlotDrawing(db_, options_.plot, error)) {
        std::cerr << "solx-gui: " << error << '\n';
        status_ = 1;
    }
    std::cout << std::endl;
}

}  // namespace solx::gui
