#include <filesystem>
#include <iostream>

#include "Options.h"
#include "Session.h"
#include "acad/AcDbDatabase.h"
#include "acad/acdb.h"
#include "mfc/Utf8.h"

namespace solx::app {
namespace {

// SOLXCSV exists from the start (empty: no CSV), so SETVAR knows it; --csv gives it a value,
// made absolute here since a relative name would otherwise be taken in the drawing's folder.
void SetCsvVariable(AcDbDatabase& db, const std::string& csv) {
    std::wstring path = csv.empty() ? std::wstring() : std::filesystem::absolute(csv).wstring();
    resbuf value;
    value.restype = RTSTR;
    value.resval.rstring = path.data();
    value.rbnext = nullptr;
    db.setSysVar(L"SOLXCSV", &value);
}

}  // namespace

AcDbDatabase* OpenDrawing(const Options& options, std::string& error) {
    // The drawing lives until the process ends and is never taken apart: freeing a large
    // drawing object by object took a fifth of the time of opening it, and the system takes
    // the memory back at once. The static pointer keeps it reachable for leak checkers.
    static AcDbDatabase* drawing = nullptr;
    drawing = new AcDbDatabase(options.drawing.empty());
    AcDbDatabase& db = *drawing;
    if (!options.drawing.empty() &&
        db.readDxfFile(win::Utf8ToWide(options.drawing).c_str()) != Acad::eOk) {
        error = win::WideToUtf8(db.lastError());
        return nullptr;
    }
    for (const std::wstring& warning : db.loadWarnings())
        std::cerr << "warning: " << win::WideToUtf8(warning) << std::endl;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    SetCsvVariable(db, options.csv);
    return drawing;
}

}  // namespace solx::app
