// Command-line output, cursor tracking, the break test, the progress meter and message boxes.
#include <cstdarg>
#include <cwctype>

#include "acad/aced.h"
#include "editor/InputState.h"
#include "mfc/afxwin.h"

using namespace solx::editor;

namespace {

ProgressState g_progress;

void ShowMeter() {
    const int span = g_progress.maxPos - g_progress.minPos;
    const int percent = span > 0 ? (g_progress.pos - g_progress.minPos) * 100 / span : 0;
    CurrentFrontEnd().ShowProgress(g_progress.label, percent);
}

std::wstring Upper(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return text;
}

// Parses "@move x,y", "@pick x,y", "@key C" into a tracking event.
bool ParseEvent(const std::wstring& text, int& type, resbuf& result) {
    const auto space = text.find(L' ');
    if (space == std::wstring::npos) return false;
    const std::wstring verb = Upper(text.substr(0, space)), arg = Trimmed(text.substr(space));
    if (verb == L"@KEY" && arg.size() == 1) {
        type = 2, result.restype = RTSHORT;
        result.resval.rint = static_cast<short>(arg[0]);
        return true;
    }
    if (verb != L"@MOVE" && verb != L"@PICK") return false;
    if (!ParsePoint(arg, result.resval.rpoint)) return false;
    type = verb == L"@MOVE" ? 5 : 3;
    result.restype = RTPOINT;
    return true;
}

}  // namespace

int acutPrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring text = solx::win::FormatWide(format, args);
    va_end(args);
    CurrentFrontEnd().Print(text);
    return static_cast<int>(text.size());
}

int acedGrRead(int /*track*/, int* type, resbuf* result) {
    if (!type || !result) return RTERROR;
    const wchar_t* prompt = L"";
    for (;;) {
        InputLine line;
        if (int rc = ReadRaw(prompt, line); rc != RTNORM) return rc;
        if (ParseEvent(line.text, *type, *result)) return RTNORM;
        if (!RejectLine(line, L"(cursor tracking)",
                        HostMessage(L"@move x,y, @pick x,y, @key C or @esc")))
            return RTERROR;
    }
}

int acedUsrBrk() {
    return CurrentFrontEnd().TakeBreak() ? 1 : 0;
}

int acedSetStatusBarProgressMeter(const wchar_t* label, int minPos, int maxPos) {
    g_progress = ProgressState{true, label ? label : L"", minPos, maxPos, minPos};
    ShowMeter();
    return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
    if (!g_progress.active) return -1;
    g_progress.pos = pos;
    ShowMeter();
    return 0;
}

void acedRestoreStatusBar() {
    g_progress = ProgressState{};
    CurrentFrontEnd().ShowProgress(L"", 0);
}

const ProgressState& solx::editor::CurrentProgress() {
    return g_progress;
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT /*helpId*/) {
    const UINT buttons = type & 0xF;
    CurrentFrontEnd().Print(std::wstring(L"\n") + (text ? text : L""));
    if (buttons != MB_YESNO && buttons != MB_OKCANCEL) return IDOK;
    const bool yesNo = buttons == MB_YESNO;
    const wchar_t* prompt = yesNo ? L" [@yes/@no] " : L" [@ok/@cancel] ";
    for (;;) {
        InputLine line;
        if (ReadRaw(prompt, line) != RTNORM) return yesNo ? IDNO : IDCANCEL;
        const std::wstring answer = Upper(line.text);
        if (yesNo && (answer == L"@YES" || answer == L"Y")) return IDYES;
        if (yesNo && (answer == L"@NO" || answer == L"N")) return IDNO;
        if (!yesNo && answer == L"@OK") return IDOK;
        if (!yesNo && answer == L"@CANCEL") return IDCANCEL;
        if (!RejectLine(line, prompt,
                        yesNo ? HostMessage(L"@yes or @no") : HostMessage(L"@ok or @cancel")))
            return yesNo ? IDNO : IDCANCEL;
    }
}
