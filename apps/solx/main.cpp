// solx: the host program. Loads the analysis module as the CAD host would, opens a drawing,
// answers the module's prompts from a script or the terminal, and saves the result.
#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "ModuleLoader.h"
#include "Options.h"
#include "Session.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "brel/BrelLanguageSwitch.h"
#include "brel/VxAdsEntSet.h"
#include "mfc/Utf8.h"
#include "plot/SolxPlot.h"

namespace {

using solx::win::Utf8ToWide;
using solx::win::WideToUtf8;

int Fail(const std::string& message, int status) {
    std::cerr << "solx: " << message << '\n';
    return status;
}

// Shows the whole drawing, so that pick apertures are in proportion to it.
void ZoomExtents() {
    VxAdsEntSet all;
    AcGePoint3d lo, hi;
    if (all.Get(L"X") != RTNORM || !all.GetExtent(lo, hi)) return;
    solx::editor::ViewModel view;
    view.centerX = (lo.x + hi.x) / 2;
    view.centerY = (lo.y + hi.y) / 2;
    const double aspect = static_cast<double>(view.widthPixels) / view.heightPixels;
    view.height = 1.1 * std::max({hi.y - lo.y, (hi.x - lo.x) / aspect, 1.0});
    solx::editor::SetView(view);
}

std::unique_ptr<solx::editor::FrontEnd> MakeFrontEnd(const std::string& script,
                                                     std::string& error) {
    if (script.empty()) {
        std::signal(SIGINT, [](int) { solx::editor::RequestBreak(); });
        return solx::editor::MakeTerminalFrontEnd(std::cin, std::cout);
    }
    std::ifstream in(script, std::ios::binary);
    if (!in) return error = "cannot read the script " + script, nullptr;
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return solx::editor::MakeScriptFrontEnd(Utf8ToWide(script), text, std::cout);
}

int Run(const solx::app::Options& opts) {
    solx::lang::InstallLanguageSwitch(opts.language, solx::app::LanguageDirectory());
    AcDbDatabase db(opts.drawing.empty());
    if (!opts.drawing.empty() && db.readDxfFile(Utf8ToWide(opts.drawing).c_str()) != Acad::eOk)
        return Fail(WideToUtf8(db.lastError()), 2);
    for (const std::wstring& warning : db.loadWarnings())
        std::cerr << "warning: " << WideToUtf8(warning) << std::endl;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    ZoomExtents();
    std::string error;
    auto frontEnd = MakeFrontEnd(opts.script, error);
    if (!frontEnd) return Fail(error, 2);
    solx::editor::SetFrontEnd(frontEnd.get());

    solx::app::Session session{&db, Utf8ToWide(opts.drawing), Utf8ToWide(opts.out)};
    solx::app::ModuleLoader module;
    if (!module.Load(solx::app::DefaultModulePath(), error)) return Fail(error, 1);
    solx::app::RegisterHostCommands(session);
    const bool ok = solx::app::RunCommandLoop(session);
    solx::app::RemoveHostCommands();
    module.Unload();
    solx::editor::SetFrontEnd(nullptr);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    if (!ok) return Fail(WideToUtf8(frontEnd->StopMessage()) + "; the drawing was not saved", 1);
    if (!opts.out.empty() && !solx::app::SaveDrawing(session, session.outPath))
        return Fail("cannot save " + opts.out + ": " + WideToUtf8(db.lastError()), 1);
    if (!opts.plot.empty() && !solxPlotDrawing(&db, opts.plot, error)) return Fail(error, 1);
    std::cout << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto opts = solx::app::ParseOptions({argv + 1, argv + argc}, error);
    if (!opts) return Fail(error + "\n" + solx::app::Usage(), 2);
    if (opts->help) return std::cout << solx::app::Usage(), 0;
    return Run(*opts);
}
