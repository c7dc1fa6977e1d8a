// Loading and saving drawing files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

#include "acad/AcDbDatabase.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

Acad::ErrorStatus AcDbDatabase::readDxfFile(const wchar_t* path) {
    std::string file = acdbUtf8(path ? path : L"");
    try {
        // Load into a fresh database first, so a failure leaves this one as it was.
        AcDbDatabase loaded(false);
        solx::db::loadDrawingFile(loaded, file);
        takeContentsOf(loaded);
    } catch (const solx::dxf::DxfError& e) {
        lastError_ = acdbWide(e.what());
        return Acad::eBadDxfFile;
    }
    fileName_ = path;
    return Acad::eOk;
}

// Moving a deque keeps its elements where they are, so ids (stub addresses) stay valid.
void AcDbDatabase::takeContentsOf(AcDbDatabase& other) {
    std::swap(stubs_, other.stubs_);
    std::swap(byHandle_, other.byHandle_);
    std::swap(handseed_, other.handseed_);
    std::swap(tables_, other.tables_);
    std::swap(rootDictionary_, other.rootDictionary_);
    std::swap(header_, other.header_);
    std::swap(raw_, other.raw_);
    std::swap(sectionOrder_, other.sectionOrder_);
    std::swap(loadWarnings_, other.loadWarnings_);
    std::swap(highlighted_, other.highlighted_);
    ++changes_, ++highlightChanges_;
    for (auto& s : stubs_) s.database = this;
    for (auto& s : other.stubs_) s.database = &other;
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const wchar_t* path) {
    std::string file = acdbUtf8(path ? path : L"");
    try {
        solx::db::saveDatabase(*this, file);
    } catch (const std::exception& e) {
        lastError_ = acdbWide(e.what());
        return Acad::eCannotWriteFile;
    }
    return Acad::eOk;
}
