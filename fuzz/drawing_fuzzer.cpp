// libFuzzer target for the drawing database and what works on it. Any input is either refused by
// the reader or the loader with a DxfError, or it loads; what loads must save, load again, be
// drawn into --plot's scene and go through the window analysis without a crash or a hang.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "acad/AcEdFrontEnd.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acrx.h"
#include "brel/BrelLanguageSwitch.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"
#include "plot/PlotScene.h"

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);

namespace {

// Every window and every obstruction of the drawing, the table dialog as it opens, the table at
// the origin.
constexpr const char* kAnalysis =
    "VxWinSunAna\n"
    "ALL\n"
    "\n"
    "ALL\n"
    "\n"
    "@ok\n"
    "0,0\n";

void RunWindowAnalysis(AcDbDatabase& db) {
    const AcEdCommand* cmd = acedRegCmds->lookupCmd(L"VxWinSunAna");
    if (!cmd) std::abort();
    std::ostringstream transcript;
    auto frontEnd = solx::editor::MakeScriptFrontEnd(L"fuzz.scr", kAnalysis, transcript);
    solx::editor::SetFrontEnd(frontEnd.get());
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    cmd->function();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    solx::editor::SetFrontEnd(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Settings the dialogs remember go to a scratch folder, not the user's.
    const auto home = std::filesystem::temp_directory_path() / "solx-drawing-fuzzer";
    std::filesystem::create_directories(home);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    solx::lang::InstallLanguageSwitch(L"Chs", SOLX_SOURCE_DIR "/resources/lang");
    acrxEntryPoint(AcRx::kInitAppMsg, nullptr);
    // The module is unloaded at exit as the host does, so the leak check sees it tidy.
    std::atexit([] { acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace solx;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AcDbDatabase db(false);
    try {
        // As a file is opened (entities streamed); the saved file goes back through a document.
        db::loadDrawingBytes(db, bytes, "fuzz.dxf");
    } catch (const dxf::DxfError&) {
        return 0;
    }
    // From here an exception escaping is a finding: what loaded must save and load again.
    const std::string written = dxf::serializeDocument(db::saveDocument(db));
    AcDbDatabase again(false);
    db::loadDocument(again, dxf::parseDocument(written, "fuzz-saved.dxf"), "fuzz-saved.dxf");
    // A smaller budget than --plot's keeps each run short; the cut-off itself is what is tested.
    plot::BuildScene(again, 20000);
    RunWindowAnalysis(again);
    return 0;
}
