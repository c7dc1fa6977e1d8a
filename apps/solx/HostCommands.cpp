// The host program's own commands: SAVE, SAVEAS, QUIT, LIST, ERASE, SETVAR, UNDO (U) and
// HELP (?).
#include <cmath>
#include <cwchar>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "Session.h"
#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbPolyline.h"
#include "acad/AcEdHostText.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acrx.h"
#include "brel/VxPtInput.h"
#include "mfc/Utf8.h"

namespace solx::app {
namespace {

using editor::HostText;
using editor::HostTextf;

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

// A drawing name as typed: ".dxf" is added when the name has no extension of its own.
std::wstring WithDxfExtension(const std::wstring& name) {
    const std::filesystem::path p(name);
    return p.has_extension() ? name : name + L".dxf";
}

// Asks for a file name; empty when the user gave none or cancelled.
std::wstring AskFileName(const wchar_t* prompt) {
    wchar_t path[1024] = {};
    if (acedGetString(1, prompt, path) != RTNORM || !path[0]) return {};
    return WithDxfExtension(path);
}

void SaveAs() {
    const std::wstring path = AskFileName(HostText(L"\nSave drawing as: "));
    if (path.empty()) return;
    if (SaveOrStop(path)) g_session->drawingPath = path;
}

// SAVE writes where the run saves (--out), else back to the drawing's own file; a new drawing
// asks for a name first.
void Save() {
    const std::wstring& target =
        g_session->outPath.empty() ? g_session->drawingPath : g_session->outPath;
    if (!target.empty()) {
        SaveOrStop(target);
        return;
    }
    const std::wstring path = AskFileName(HostText(L"\nFile name for the new drawing: "));
    if (path.empty()) return;
    if (SaveOrStop(path)) g_session->drawingPath = path;
}

void Quit() {
    g_session->quit = true;
}

std::wstring Point(const AcGePoint3d& p) {
    wchar_t buf[96];
    if (p.z == 0.0)
        std::swprintf(buf, 96, L"%g,%g", p.x, p.y);
    else
        std::swprintf(buf, 96, L"%g,%g,%g", p.x, p.y, p.z);
    return buf;
}

// The typed names of the product-line objects; standard entities by their DXF type.
std::wstring TypeName(const AcDbEntity& ent) {
    const std::wstring tag = ent.solxTypeTag();
    if (tag == L"BREL_SLAB") return HostText(L"VxDbSlab (slab)");
    if (tag == L"BREL_BALCONY") return HostText(L"VxDbSlab (balcony)");
    if (tag == L"BREL_SHEET") return HostText(L"VxDbSheet (table)");
    if (tag == L"BREL_PROMPTSYMBOL") return HostText(L"VxDbPromptSymbol (marker)");
    if (tag == L"VXDB_TEXT") return HostText(L"VxDbText (text)");
    return ent.dxfName();
}

std::optional<AcDbFilterValue> Value(const AcDbEntity& ent, short code) {
    return ent.groupValue(code);
}

// Key coordinates and values: points (10, 11), sizes (40 radius or height), text (1).
void ListGeometry(const AcDbEntity& ent) {
    if (auto* pl = dynamic_cast<const AcDbPolyline*>(&ent)) {
        const auto& v = pl->vertices();
        acutPrintf(HostText(L"\n    %d vertices%s"), static_cast<int>(v.size()),
                   pl->isClosed() ? HostText(L", closed") : L"");
        for (size_t i = 0; i < v.size() && i < 8; ++i)
            acutPrintf(L"%s%g,%g", i == 0 ? L": " : L"  ", v[i].point.x, v[i].point.y);
        if (v.size() > 8) acutPrintf(L"  ...");
        if (pl->elevation() != 0.0) acutPrintf(HostText(L"\n    elevation: %g"), pl->elevation());
    } else {
        const auto at = Value(ent, 10), to = Value(ent, 11);
        if (at && at->isPoint) acutPrintf(HostText(L"\n    at: %s"), Point(at->point).c_str());
        if (to && to->isPoint) acutPrintf(HostText(L"  to: %s"), Point(to->point).c_str());
    }
    if (const auto size = Value(ent, 40); size && size->isNumber)
        acutPrintf(ent.dxfName() == L"CIRCLE" || ent.dxfName() == L"ARC"
                       ? HostText(L"  radius: %g")
                       : HostText(L"  height: %g"),
                   size->number);
    if (const auto t = Value(ent, 39); t && t->isNumber && t->number != 0.0)
        acutPrintf(HostText(L"\n    thickness: %g"), t->number);
    if (const auto text = Value(ent, 1); text && !text->isNumber && !text->isPoint &&
                                         !text->text.empty() && ent.dxfName() != L"INSERT")
        acutPrintf(HostText(L"\n    text: %s"), text->text.c_str());
}

void ListOne(const AcDbEntity& ent) {
    acutPrintf(HostText(L"\n  %s  layer: %s  handle: %s"), TypeName(ent).c_str(),
               ent.layer().c_str(), ent.handle().toString().c_str());
    if (auto* ref = dynamic_cast<const AcDbBlockReference*>(&ent)) {
        acutPrintf(HostText(L"  block: %s"), ref->blockName().c_str());
        const AcGeScale3d s = ref->scaleFactors();
        acutPrintf(HostText(L"\n    at: %s  scale: %g,%g,%g  rotation: %g"),
                   Point(ref->position()).c_str(), s.sx, s.sy, s.sz,
                   ref->rotation() * 180.0 / 3.14159265358979323846);
        for (const AcDbAttribute* att : ref->attributes())
            if (att && !att->isErased())
                acutPrintf(HostText(L"\n    attribute %s = %s"), att->tag().c_str(),
                           att->textString().c_str());
        return;
    }
    ListGeometry(ent);
}

void List() {
    VxAdsEntSet set;
    if (VxPtSelectEntities(HostText(L"\nSelect objects: "), set) != RTNORM) return;
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* ent = nullptr;
        if (set[i].Open(ent, AcDb::kForRead) != Acad::eOk) continue;
        ListOne(*ent);
        ent->close();
    }
    acutPrintf(HostText(L"\n%d object(s)"), set.GetLength());
}

void Erase() {
    VxAdsEntSet set;
    if (VxPtSelectEntities(HostText(L"\nSelect objects to erase: "), set) != RTNORM) return;
    int erased = 0;
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* ent = nullptr;
        if (set[i].Open(ent, AcDb::kForWrite) != Acad::eOk) continue;
        erased += ent->erase() == Acad::eOk;
        ent->close();
    }
    acutPrintf(HostText(L"\n%d object(s) erased"), erased);
}

void Undo() {
    Session& s = *g_session;
    if (!s.database->undoGroup()) {
        acutPrintf(HostText(L"\nNothing to undo"));
        return;
    }
    std::wstring name = s.undoNames.empty() ? L"" : s.undoNames.back();
    if (!s.undoNames.empty()) s.undoNames.pop_back();
    acutPrintf(HostText(L"\nUndone: %s"), name.c_str());
}

// A variable's value as SETVAR shows it.
std::wstring VarText(const resbuf& v) {
    switch (v.restype) {
        case RTSTR:
            return v.resval.rstring ? v.resval.rstring : L"";
        case RTSHORT:
            return std::to_wstring(v.resval.rint);
        case RTLONG:
            return std::to_wstring(static_cast<long>(v.resval.rlong));
        case RTREAL: {
            std::wostringstream out;
            out << std::setprecision(10) << v.resval.rreal;
            return out.str();
        }
        case RTPOINT:
        case RT3DPOINT:
            return Point(AcGePoint3d(v.resval.rpoint[0], v.resval.rpoint[1],
                                     v.restype == RTPOINT ? 0.0 : v.resval.rpoint[2]));
        default:
            return L"";
    }
}

// Reads typed text as a value of the variable's kind (that of `current`); false when it does not
// fit. A text value keeps the typed text (which out points to).
bool ParseVar(const resbuf& current, std::wstring& typed, resbuf& out) {
    out = current;
    out.rbnext = nullptr;
    wchar_t* end = nullptr;
    switch (current.restype) {
        case RTSTR:
            out.resval.rstring = typed.data();
            return true;
        case RTSHORT: {
            const long v = std::wcstol(typed.c_str(), &end, 10);
            out.resval.rint = static_cast<short>(v);
            return !typed.empty() && !*end && v >= -32768 && v <= 32767;
        }
        case RTREAL:
            out.resval.rreal = std::wcstod(typed.c_str(), &end);
            return !typed.empty() && !*end && std::isfinite(out.resval.rreal);
        default:
            return false;  // points and others are set by the commands that own them
    }
}

// SETVAR: shows a system variable and sets it. A value that does not fit the variable's kind
// is refused; in a script that ends the run like any misfit answer.
void SetVar() {
    wchar_t name[256] = {};
    if (acedGetString(0, HostText(L"\nVariable name: "), name) != RTNORM || !name[0]) return;
    resbuf current{};
    if (acedGetVar(name, &current) != RTNORM) {
        acutPrintf(HostText(L"\nUnknown variable name: %s"), name);
        if (g_session->scripted) g_session->failure = std::wstring(L"unknown variable ") + name;
        return;
    }
    const std::wstring shown = VarText(current);
    const std::wstring prompt = HostTextf(L"\nNew value for %s <%s>: ", name, shown.c_str());
    wchar_t text[1024] = {};
    const int rc = acedGetString(1, prompt.c_str(), text);
    std::wstring typed = text;
    resbuf value{};
    if (rc == RTNORM && !typed.empty() && !ParseVar(current, typed, value)) {
        acutPrintf(HostText(L"\n%s cannot be set to \"%s\""), name, text);
        if (g_session->scripted)
            g_session->failure = std::wstring(name) + L" cannot be set to \"" + typed + L"\"";
    } else if (rc == RTNORM && !typed.empty() && acedSetVar(name, &value) != RTNORM) {
        acutPrintf(HostText(L"\n%s cannot be set to \"%s\""), name, text);
    }
    if (current.restype == RTSTR) delete[] current.resval.rstring;
}

void Help() {
    acutPrintf(HostText(
        L"\nCommands (type the name; Esc cancels a prompt, Ctrl+C breaks a computation):"));
    for (const AcEdCommand& cmd : acedRegCmds->commands())
        acutPrintf(L"\n  %-14s %s", cmd.globalName.c_str(), cmd.description.c_str());
}

}  // namespace

bool IsUndoable(const std::wstring& group, const std::wstring& name) {
    if (group != kHostGroup) return true;
    return name == L"ERASE" || name == L"SETVAR";
}

void RegisterHostCommands(Session& session) {
    g_session = &session;
    AcEdCommandStack* stack = acedRegCmds;
    struct Row {
        const wchar_t* name;
        AcRxFunctionPtr function;
        const wchar_t* description;
    };
    const Row rows[] = {
        {L"LIST", List,
         HostText(L"show type, layer, handle, coordinates and attributes of objects")},
        {L"ERASE", Erase, HostText(L"delete the selected objects")},
        {L"SETVAR", SetVar,
         HostText(L"show or set a system variable (SOLXCSV: write window tables as CSV)")},
        {L"UNDO", Undo, HostText(L"take back the last command's changes to the drawing (also U)")},
        {L"SAVE", Save, HostText(L"save the drawing (asks for a name when it has none)")},
        {L"SAVEAS", SaveAs, HostText(L"save the drawing under a new name")},
        {L"QUIT", Quit, HostText(L"end the session (asks to save unsaved changes)")},
        {L"HELP", Help, HostText(L"list the commands (also ?)")},
    };
    for (const Row& r : rows) {
        stack->addCommand(kHostGroup, r.name, r.name, ACRX_CMD_MODAL, r.function);
        stack->setDescription(r.name, r.description);
    }
}

void RemoveHostCommands() {
    acedRegCmds->removeGroup(kHostGroup);
    g_session = nullptr;
}

}  // namespace solx::app
