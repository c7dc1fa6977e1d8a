// The host program's own commands: SAVE, SAVEAS, QUIT and LIST.
#include "Session.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acrx.h"
#include "brel/VxPtInput.h"

namespace solx::app {
namespace {

constexpr const wchar_t* kHostGroup = L"SOLX_HOST";
Session* g_session = nullptr;

// A script relies on its saves: one that fails ends the run with failure, so a batch run never
// reports success for a drawing that is not on disk. At the terminal the user can try again.
bool SaveOrStop(const std::wstring& path) {
    if (SaveDrawing(*g_session, path)) return true;
    if (g_session->scripted)
        g_session->failure = L"cannot save " + path + L": " + g_session->database->lastError();
    return false;
}

void SaveAs() {
    wchar_t path[1024] = {};
    if (acedGetString(1, L"\nSave drawing as: ", path) != RTNORM || !path[0]) return;
    if (SaveOrStop(path)) g_session->drawingPath = path;
}

// SAVE writes where the run saves (--out), else back to the drawing's own file.
void Save() {
    const std::wstring& target =
        g_session->outPath.empty() ? g_session->drawingPath : g_session->outPath;
    if (target.empty()) return SaveAs();
    SaveOrStop(target);
}

void Quit() {
    g_session->quit = true;
}

std::wstring TextOf(const AcDbEntity& ent, short code) {
    const auto v = ent.groupValue(code);
    return v && !v->isNumber && !v->isPoint ? v->text : std::wstring();
}

void ListOne(const AcDbEntity& ent) {
    acutPrintf(L"\n  %-12s layer: %s  handle: %s", ent.dxfName().c_str(), ent.layer().c_str(),
               ent.handle().toString().c_str());
    if (const std::wstring block = TextOf(ent, 2); !block.empty() && ent.dxfName() == L"INSERT")
        acutPrintf(L"  block: %s", block.c_str());
    if (const auto t = ent.groupValue(39); t && t->isNumber && t->number != 0.0)
        acutPrintf(L"  thickness: %g", t->number);
}

void List() {
    VxAdsEntSet set;
    if (VxPtSelectEntities(L"\nSelect objects: ", set) != RTNORM) return;
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* ent = nullptr;
        if (set[i].Open(ent, AcDb::kForRead) != Acad::eOk) continue;
        ListOne(*ent);
        ent->close();
    }
    acutPrintf(L"\n%d object(s)", set.GetLength());
}

}  // namespace

void RegisterHostCommands(Session& session) {
    g_session = &session;
    AcEdCommandStack* stack = acedRegCmds;
    stack->addCommand(kHostGroup, L"SAVE", L"SAVE", ACRX_CMD_MODAL, Save);
    stack->addCommand(kHostGroup, L"SAVEAS", L"SAVEAS", ACRX_CMD_MODAL, SaveAs);
    stack->addCommand(kHostGroup, L"QUIT", L"QUIT", ACRX_CMD_MODAL, Quit);
    stack->addCommand(kHostGroup, L"LIST", L"LIST", ACRX_CMD_MODAL, List);
}

void RemoveHostCommands() {
    acedRegCmds->removeGroup(kHostGroup);
    g_session = nullptr;
}

}  // namespace solx::app
