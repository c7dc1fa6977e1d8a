// The command prompt: each answer is a command name, run through the host's command stack.
#include <cwctype>

#include "Session.h"
#include "acad/AcDbDatabase.h"
#include "acad/acrx.h"
#include "acad/aced.h"

namespace solx::app {
namespace {

constexpr const wchar_t* kCommandPrompt = L"\nCommand: ";

bool IsEscape(const std::wstring& text) {
    std::wstring t;
    for (wchar_t c : text)
        if (!std::iswspace(static_cast<wint_t>(c))) t += static_cast<wchar_t>(std::towlower(c));
    return t == L"@esc";
}

// Runs one command line; false when it is not a command (the front end decides what then).
bool RunCommand(const editor::InputLine& line) {
    std::wstring name = line.text;
    // Leading "_" (language-neutral name) and "." (the built-in, not a redefinition).
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) name.erase(0, 1);
    const AcEdCommand* cmd = acedRegCmds->lookupCmd(name.c_str());
    if (!cmd) return false;
    cmd->function();
    return true;
}

}  // namespace

bool RunCommandLoop(Session& session) {
    editor::FrontEnd& fe = editor::CurrentFrontEnd();
    while (!session.quit && !fe.Stopped() && session.failure.empty()) {
        fe.Print(kCommandPrompt);
        std::optional<editor::InputLine> answer = fe.ReadAnswer(kCommandPrompt);
        if (!answer) break;
        editor::InputLine line = *answer;
        const auto first = line.text.find_first_not_of(L" \t");
        line.text = first == std::wstring::npos ? L"" : line.text.substr(first);
        while (!line.text.empty() && std::iswspace(static_cast<wint_t>(line.text.back())))
            line.text.pop_back();
        if (line.text.empty() || IsEscape(line.text)) continue;
        if (!RunCommand(line)) fe.Reject(line, kCommandPrompt, L"a command name");
    }
    fe.Print(L"\n");
    return !fe.Stopped() && session.failure.empty();
}

bool SaveDrawing(Session& session, const std::wstring& path) {
    if (session.database->dxfOut(path.c_str()) == Acad::eOk) {
        acutPrintf(L"\nSaved %s", path.c_str());
        return true;
    }
    acutPrintf(L"\nCannot save %s: %s", path.c_str(), session.database->lastError().c_str());
    return false;
}

}  // namespace solx::app
