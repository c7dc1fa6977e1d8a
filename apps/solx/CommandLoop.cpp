// The command prompt: each answer is a command name, run through the host's command stack.
// Every command that may change the drawing runs inside an undo group of the database.
#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "Session.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcEdHostText.h"
#include "acad/acrx.h"
#include "acad/aced.h"
#include "mfc/Modeless.h"

namespace solx::app {
namespace {

using editor::HostText;
using editor::HostTextf;

std::wstring Upper(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

bool IsEscape(const std::wstring& text) {
    std::wstring t;
    for (wchar_t c : text)
        if (!std::iswspace(static_cast<wint_t>(c))) t += static_cast<wchar_t>(std::towlower(c));
    return t == L"@esc";
}

// Short names typed at the command line for host commands.
std::wstring Alias(const std::wstring& name) {
    const std::wstring u = Upper(name);
    if (u == L"U") return L"UNDO";
    if (u == L"?") return L"HELP";
    return name;
}

size_t EditDistance(const std::wstring& a, const std::wstring& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Runs one command line; false when it is not a command (the front end decides what then).
bool RunCommand(Session& session, const editor::InputLine& line) {
    std::wstring name = line.text;
    // Leading "_" (language-neutral name) and "." (the built-in, not a redefinition).
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) name.erase(0, 1);
    const AcEdCommand* cmd = acedRegCmds->lookupCmd(Alias(name).c_str());
    if (!cmd) return false;
    const AcEdCommand command = *cmd;  // the stack may change while the command runs
    const bool undoable = IsUndoable(command.group, command.globalName);
    if (undoable) session.database->startUndoGroup();
    command.function();
    // What the command highlighted (its selections, marked copies) is shown plain again.
    session.database->unhighlightAll();
    if (undoable && session.database->endUndoGroup()) {
        session.undoNames.push_back(command.globalName);
        const size_t kept = session.database->undoGroups();
        if (session.undoNames.size() > kept)
            session.undoNames.erase(session.undoNames.begin(),
                                    session.undoNames.end() - static_cast<long>(kept));
    }
    return true;
}

std::wstring DisplayName(const Session& session) {
    return session.drawingPath.empty() ? HostText(L"the new drawing") : session.drawingPath;
}

// At the terminal, before the session ends with changes nobody saved: asks whether to save.
// False when the user cancelled (the session goes on). --out saves at the end anyway.
bool OfferToSave(Session& session) {
    if (!session.interactive || !session.outPath.empty() || !session.database->isModified())
        return true;
    // The keywords stay Yes and No in every language (the script language).
    const std::wstring prompt =
        HostTextf(L"\nSave changes to %s? [Yes/No] <Yes>: ", DisplayName(session).c_str());
    wchar_t answer[16] = {};
    acedInitGet(0, L"Yes No");
    const int rc = acedGetKword(prompt.c_str(), answer, 16);
    if (rc == RTCAN) return false;
    if (rc == RTNORM && std::wstring(answer) == L"No") return true;
    const AcEdCommand* save = acedRegCmds->lookupCmd(L"SAVE");
    if (save) save->function();
    return !session.database->isModified();  // a failed or declined save keeps the session
}

}  // namespace

std::wstring ClosestCommand(const std::wstring& typed) {
    const std::wstring wanted = Upper(typed);
    std::wstring best;
    size_t bestDistance = std::max<size_t>(2, wanted.size() / 3) + 1;
    for (const AcEdCommand& cmd : acedRegCmds->commands()) {
        const size_t d = EditDistance(wanted, Upper(cmd.globalName));
        if (d < bestDistance) bestDistance = d, best = cmd.globalName;
    }
    return best;
}

bool RunCommandLoop(Session& session) {
    editor::FrontEnd& fe = editor::CurrentFrontEnd();
    const std::wstring commandPrompt = HostText(L"\nCommand: ");
    while (!fe.Stopped() && session.failure.empty()) {
        if (session.quit) {
            if (OfferToSave(session)) break;
            session.quit = false;
            continue;
        }
        fe.Print(commandPrompt);
        std::optional<editor::InputLine> answer = fe.ReadAnswer(commandPrompt);
        if (!answer) {
            // End of input: one chance to save; whatever the answer, the session ends.
            OfferToSave(session);
            break;
        }
        editor::InputLine line = *answer;
        const auto first = line.text.find_first_not_of(L" \t");
        line.text = first == std::wstring::npos ? L"" : line.text.substr(first);
        while (!line.text.empty() && std::iswspace(static_cast<wint_t>(line.text.back())))
            line.text.pop_back();
        if (line.text.empty() || IsEscape(line.text)) continue;
        if (RunCommand(session, line)) continue;
        editor::HostMessage windowError;
        const ui::ModelessLine windowLine = ui::RunModelessLine(line.text, windowError);
        if (windowLine == ui::ModelessLine::Done) continue;
        if (windowLine == ui::ModelessLine::Failed) {
            fe.Refuse(line, windowError);
            continue;
        }
        const std::wstring closest = ClosestCommand(line.text);
        const editor::HostMessage expected =
            closest.empty()
                ? editor::HostMessage(L"a command name (HELP lists them)")
                : editor::HostMessagef(L"a command name; did you mean %s? (HELP lists them)",
                                       closest.c_str());
        fe.Reject(line, commandPrompt, expected);
    }
    fe.Print(L"\n");
    return !fe.Stopped() && session.failure.empty();
}

bool SaveDrawing(Session& session, const std::wstring& path) {
    if (session.database->dxfOut(path.c_str()) == Acad::eOk) {
        std::error_code ec;
        const auto where = std::filesystem::absolute(std::filesystem::path(path), ec);
        acutPrintf(HostText(L"\nSaved %s"),
                   ec ? path.c_str() : where.lexically_normal().wstring().c_str());
        session.database->setModified(false);
        return true;
    }
    acutPrintf(HostText(L"\nCannot save %s: %s"), path.c_str(),
               session.database->lastError().c_str());
    return false;
}

}  // namespace solx::app
