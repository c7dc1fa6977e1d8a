// solx: the host program. Loads the analysis module as the CAD host would, opens a drawing,
// answers the module's prompts from a script or the terminal, and saves the result.
#include <algorithm>
#include <signal.h>

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
#include "acad/acrx.h"
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
        // Without SA_RESTART: Ctrl+C also interrupts the read of a waiting prompt, which the
        // terminal front end takes as the prompt's cancel.
        struct sigaction onInterrupt {};
        onInterrupt.sa_handler = [](int) { solx::editor::RequestBreak(); };
        sigemptyset(&onInterrupt.sa_mask);
        sigaction(SIGINT, &onInterrupt, nullptr);
        return solx::editor::MakeTerminalFrontEnd(std::cin, std::cout);
    }
    std::ifstream in(script, std::ios::binary);
    if (!in) return error = "cannot read the script " + script, nullptr;
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return solx::editor::MakeScriptFrontEnd(Utf8ToWide(script), text, std::cout);
}

bool Plot(AcDbDatabase& db, const solx::app::Options& opts, std::string& error) {
    SolxPlotOptions plot;
    if (opts.plotArea) {
        plot.useArea = true;
        plot.areaLo = {std::min(opts.plotArea->x1, opts.plotArea->x2),
                       std::min(opts.plotArea->y1, opts.plotArea->y2)};
        plot.areaHi = {std::max(opts.plotArea->x1, opts.plotArea->x2),
                       std::max(opts.plotArea->y1, opts.plotArea->y2)};
    }
    SolxPlotReport report;
    return solxPlotDrawing(&db, opts.plot, plot, report, error);
}

// The options, then the commands with one line each (the module is loaded to list its own).
int Help(const solx::app::Options& opts) {
    std::cout << solx::app::Usage();
    solx::lang::InstallLanguageSwitch(opts.language, solx::app::LanguageDirectory());
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    solx::app::Session session;
    session.database = &db;
    solx::app::ModuleLoader module;
    std::string error;
    module.Load(solx::app::DefaultModulePath(), error);
    solx::app::RegisterHostCommands(session);
    std::cout << "\ncommands (at the Command: prompt; U for UNDO, ? for HELP):\n";
    for (const AcEdCommand& cmd : acedRegCmds->commands())
        std::cout << "  " << WideToUtf8(cmd.globalName)
                  << std::string(cmd.globalName.size() < 14 ? 14 - cmd.globalName.size() : 1, ' ')
                  << WideToUtf8(cmd.description) << '\n';
    if (!error.empty()) std::cout << "(" << error << ")\n";
    solx::app::RemoveHostCommands();
    module.Unload();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    return 0;
}

int Run(const solx::app::Options& opts) {
    solx::lang::InstallLanguageSwitch(opts.language, solx::app::LanguageDirectory());
    AcDbDatabase db(opts.drawing.empty());
    if (!opts.drawing.empty() && db.readDxfFile(Utf8ToWide(opts.drawing).c_str()) != Acad::eOk)
        return Fail(WideToUtf8(db.lastError()), 2);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    ZoomExtents();
    std::string error;
    auto frontEnd = MakeFrontEnd(opts.script, error);
    if (!frontEnd) return Fail(error, 2);
    solx::editor::SetFrontEnd(frontEnd.get());

    solx::app::Session session;
    session.database = &db;
    session.drawingPath = Utf8ToWide(opts.drawing);
    session.outPath = Utf8ToWide(opts.out);
    session.interactive = opts.script.empty();
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
    if (!opts.plot.empty() && !Plot(db, opts, error)) return Fail(error, 1);
    std::cout << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto opts = solx::app::ParseOptions({argv + 1, argv + argc}, error);
    if (!opts) return Fail(error + "\n" + solx::app::Usage(), 2);
    if (opts->help) return Help(*opts);
    return Run(*opts);
}
