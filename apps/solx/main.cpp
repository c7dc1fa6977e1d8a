// solx: the host program. Loads the analysis module as the CAD host would, opens a drawing,
// answers the module's prompts from a script or the terminal, and saves the result.
#include <algorithm>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "mfc/Modeless.h"
#include "ModuleLoader.h"
#include "Options.h"
#include "ScriptFile.h"
#include "Session.h"
#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acrx.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/Utf8.h"
#include "plot/SolxPlot.h"

namespace {

using solx::win::Utf8ToWide;
using solx::win::WideToUtf8;

int Fail(const std::string& message, int status) {
    std::cerr << "solx: " << message << '\n';
    return status;
}

// The box of a block's own entities in block coordinates, measured once per block.
const AcDbExtents& BlockBox(const AcDbBlockTableRecord* block,
                            std::unordered_map<const AcDbBlockTableRecord*, AcDbExtents>& boxes) {
    auto [it, added] = boxes.try_emplace(block);
    if (!added) return it->second;
    for (AcDbObjectId id : block->entityIds()) {
        auto* e = dynamic_cast<AcDbEntity*>(id.object());
        AcDbExtents ext;
        if (e && !id.isErased() && e->getGeomExtents(ext) == Acad::eOk) it->second.addExt(ext);
    }
    return it->second;
}

// Shows the whole drawing, so that pick apertures are in proportion to it. A plain block
// reference counts as its block's box moved into place, plus its attributes' positions: the
// view needs the drawing's size, not exact outlines, and exploding every reference of a large
// drawing took about as long as reading it.
void ZoomExtents(AcDbDatabase& db) {
    auto* space = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    if (!space) return;
    std::unordered_map<const AcDbBlockTableRecord*, AcDbExtents> boxes;
    AcDbExtents all;
    for (AcDbObjectId id : space->entityIds()) {
        auto* e = dynamic_cast<AcDbEntity*>(id.object());
        if (!e || id.isErased()) continue;
        const auto* ref = dynamic_cast<const AcDbBlockReference*>(e);
        const auto* block =
            ref && typeid(*ref) == typeid(AcDbBlockReference)
                ? dynamic_cast<AcDbBlockTableRecord*>(ref->blockTableRecord().object())
                : nullptr;
        if (!block) {
            AcDbExtents ext;
            if (e->getGeomExtents(ext) == Acad::eOk) all.addExt(ext);
            continue;
        }
        all.addPoint(ref->position());
        for (const AcDbAttribute* a : ref->attributes()) all.addPoint(a->position());
        const AcDbExtents& box = BlockBox(block, boxes);
        if (box.isEmpty()) continue;
        const AcGeMatrix3d m = ref->blockTransform();
        const AcGePoint3d& lo = box.minPoint();
        const AcGePoint3d& hi = box.maxPoint();
        for (int corner = 0; corner < 8; ++corner)
            all.addPoint(m * AcGePoint3d(corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y,
                                         corner & 4 ? hi.z : lo.z));
    }
    if (all.isEmpty()) return;
    const AcGePoint3d& lo = all.minPoint();
    const AcGePoint3d& hi = all.maxPoint();
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
    std::string text;
    if (!solx::app::ReadScript(script, text, error)) return nullptr;
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
    if (!solxPlotDrawing(&db, opts.plot, plot, report, error)) return false;
    if (report.cutShort)
        std::cerr << "warning: " << opts.plot
                  << " shows only part of the drawing: its blocks nest too many entities\n";
    return true;
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
    std::string error;
    AcDbDatabase* drawing = solx::app::OpenDrawing(opts, error);
    if (!drawing) return Fail(error, 2);
    AcDbDatabase& db = *drawing;
    ZoomExtents(db);
    auto frontEnd = MakeFrontEnd(opts.script, error);
    if (!frontEnd) return Fail(error, 2);
    solx::editor::SetFrontEnd(frontEnd.get());

    solx::app::Session session;
    session.database = &db;
    session.drawingPath = Utf8ToWide(opts.drawing);
    session.outPath = Utf8ToWide(opts.out);
    session.scripted = !opts.script.empty();
    session.interactive = opts.script.empty();
    solx::app::ModuleLoader module;
    if (!module.Load(solx::app::DefaultModulePath(), error)) return Fail(error, 1);
    solx::app::RegisterHostCommands(session);
    const bool ok = solx::app::RunCommandLoop(session);
    solx::ui::CloseModelessWindows();  // their objects live in the module
    solx::app::RemoveHostCommands();
    module.Unload();
    solx::editor::SetFrontEnd(nullptr);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    if (!ok && !session.failure.empty())
        return Fail(WideToUtf8(session.failure) + "; the run stopped there", 1);
    if (!ok) return Fail(WideToUtf8(frontEnd->StopMessage()) + "; the drawing was not saved", 1);
    if (!opts.out.empty() && !solx::app::SaveDrawing(session, session.outPath))
        return Fail("cannot save " + opts.out + ": " + WideToUtf8(db.lastError()), 1);
    if (!opts.plot.empty() && !Plot(db, opts, error)) return Fail(error, 1);
    std::cout << std::endl;
    return 0;
}

}  // namespace

// "solx --gui ..." is the desktop workbench: solx-gui next to this program, with the other
// options. solx itself links no toolkit, so it runs where no window system is installed.
int StartWorkbench(int argc, char** argv) {
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string gui = (self.parent_path() / "solx-gui").string();
    std::vector<char*> args{const_cast<char*>(gui.c_str())};
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) != "--gui") args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(gui.c_str(), args.data());
    return Fail("--gui: cannot start " + gui + " (built only where wxWidgets 3.2 is installed)", 2);
}

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--gui") return StartWorkbench(argc, argv);
    std::string error;
    const auto opts = solx::app::ParseOptions({argv + 1, argv + argc}, error);
    if (!opts) return Fail(error + "\n" + solx::app::Usage(), 2);
    if (opts->help) return Help(*opts);
    return Run(*opts);
}
