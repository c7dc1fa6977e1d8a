#include "wxhost/WxFrontEnd.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <iostream>

#include "acad/aced.h"
#include "mfc/Utf8.h"
#include "wxhost/MainFrame.h"
#include "wxhost/PlanPanel.h"

namespace solx::wxhost {
namespace {

constexpr int kYieldEveryMs = 50;    // a long computation lets the window paint this often
constexpr int kHoverSettleMs = 150;  // after a synthetic mouse move, time for its events

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") + 1 - first);
}

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::wstring Coordinates(double x, double y) {
    wchar_t text[96];
    std::swprintf(text, 96, L"%.6g,%.6g", x, y);
    return text;
}

// What the history shows of an answer: the mouse and key lines of cursor tracking as the
// point or key they carry, a break as the editor's cancel word.
std::wstring Shown(const std::wstring& answer) {
    if (answer == L"@esc") return HostText(L"*Cancel*");
    for (const wchar_t* prefix : {L"@pick ", L"@key "})
        if (answer.rfind(prefix, 0) == 0) return answer.substr(std::wcslen(prefix));
    return answer;
}

// Splits "VERB ARG" in two, the verb in lower case.
void SplitVerb(const std::wstring& text, std::wstring& verb, std::wstring& arg) {
    const auto space = text.find(L' ');
    verb = text.substr(0, space);
    for (auto& c : verb) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    arg = space == std::wstring::npos ? L"" : Trim(text.substr(space));
}

// Whether a modal dialog holds the window (the command line cannot be typed in then).
bool ModalDialogOpen() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal())
            return true;
    return false;
}

}  // namespace

WxFrontEnd::WxFrontEnd(MainFrame& frame, VisibleScript script)
    : frame_(frame), script_(std::move(script)) {
    SkipComments();
}

void WxFrontEnd::SkipComments() {
    while (next_ < script_.lines.size() && Trim(script_.lines[next_]).rfind(L";", 0) == 0) ++next_;
}

std::optional<editor::InputLine> WxFrontEnd::ReadAnswer(const std::wstring& prompt) {
    prompt_ = prompt;
    tracking_ = prompt.empty();  // cursor tracking reads without a prompt
    atCommand_ = prompt == HostText(L"\nCommand: ");
    reading_ = true;
    breakPending_ = false;  // an Esc while idle means nothing
    // Cursor tracking reads without a prompt: the keywords are those of the text printed last.
    frame_.ShowPrompt(tracking_ ? lastPrinted_ : prompt);
    // What the command drew so far shows (markers, previews following the cursor).
    frame_.FollowDrawing(tracking_);
    std::optional<editor::InputLine> answer;
    const bool played = Playing();
    while (!answer && !closing_ && !Stopped()) {
        if (!pending_.empty()) {
            answer = pending_.front();
            pending_.pop_front();
        } else if (!(Playing() && PlayScriptLine())) {
            // A script that ran out here with a modal dialog open leaves nobody to answer at the
            // command line: the read ends as at the end of input.
            if (played && ModalDialogOpen()) break;
            if (!Playing()) Wait();
        }
    }
    reading_ = false;
    if (!answer) return std::nullopt;
    if (answer->text.rfind(L"@move", 0) != 0) frame_.EchoAnswer(Shown(answer->text));
    // The command Enter repeats: the last one given at the command prompt.
    if (atCommand_ && !Trim(answer->text).empty() && answer->text[0] != L'@')
        lastCommand_ = Trim(answer->text);
    std::cout << win::WideToUtf8(answer->text) << '\n';
    AnswerTaken();
    return answer;
}

// Takes the next script line after the pause: window lines are done here, the others become
// the answer. False at the end of the script.
bool WxFrontEnd::PlayScriptLine() {
    if (!Playing()) return false;
    if (!tracking_) Pause(script_.delayMs);
    if (closing_ || !Playing()) return false;
    const int number = static_cast<int>(next_) + 1;
    const std::wstring text = script_.lines[next_++];
    SkipComments();
    if (!RunWindowLine(Trim(text), number)) pending_.push_back({text, number});
    return true;
}

// Lines only a window understands: move the real mouse over a drawing point, save a picture
// of the window, let time pass with the window live.
bool WxFrontEnd::RunWindowLine(const std::wstring& text, int lineNumber) {
    std::wstring verb, arg;
    SplitVerb(text, verb, arg);
    const auto where =
        script_.name + L" line " + std::to_wstring(lineNumber) + L": \"" + text + L"\": ";
    if (verb == L"@hover") {
        ads_point p = {0, 0, 0};
        if (!editor::ParsePoint(arg, p)) {
            Stop(where + L"expected @hover x,y");
            return true;
        }
        wxUIActionSimulator mouse;
        mouse.MouseMove(frame_.PlanScreenPoint(p[0], p[1]));
        Pause(kHoverSettleMs);
        return true;
    }
    if (verb == L"@screenshot") {
        std::string error;
        if (arg.empty() || !frame_.Screenshot(win::WideToUtf8(arg), error))
            Stop(where + (arg.empty() ? L"expected @screenshot FILE.png" : win::Utf8ToWide(error)));
        return true;
    }
    if (verb == L"@zoom") {
        ads_point a = {0, 0, 0}, b = {0, 0, 0};
        const auto space = arg.find(L' ');
        if (arg == L"extents") {
            frame_.Plan().ZoomExtents();
        } else if (space != std::wstring::npos && editor::ParsePoint(arg.substr(0, space), a) &&
                   editor::ParsePoint(Trim(arg.substr(space)), b)) {
            frame_.Plan().ZoomWindow(a[0], a[1], b[0], b[1]);
        } else {
            Stop(where + L"expected @zoom extents or @zoom x1,y1 x2,y2");
        }
        return true;
    }
    if (verb == L"@pause") {
        wchar_t* end = nullptr;
        const long ms = std::wcstol(arg.c_str(), &end, 10);
        if (arg.empty() || *end || ms < 0) {
            Stop(where + L"expected @pause MILLISECONDS");
            return true;
        }
        Pause(static_cast<int>(ms));
        return true;
    }
    return false;
}

// Runs the window's events until a line is supplied or the window closes.
void WxFrontEnd::Wait() {
    wxGUIEventLoop loop;
    loop_ = &loop;
    loop.Run();
    loop_ = nullptr;
}

// Runs the window's events for ms milliseconds (or until the window closes).
void WxFrontEnd::Pause(int ms) {
    wxGUIEventLoop loop;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&loop](wxTimerEvent&) { loop.Exit(); });
    timer.StartOnce(std::max(ms, 1));
    wxEventLoopBase* outer = loop_;
    loop_ = &loop;
    loop.Run();
    loop_ = outer;
}

void WxFrontEnd::Wake() {
    if (loop_ && loop_->IsRunning()) loop_->Exit();
}

void WxFrontEnd::Supply(const std::wstring& text) {
    pending_.push_back({text, 0});
    Wake();
}

void WxFrontEnd::SupplyTyped(const std::wstring& text) {
    // While the command tracks the cursor a keyword is a key press.
    const std::wstring t = Trim(text);
    // Enter on an empty command line runs the last command again.
    if (reading_ && atCommand_ && t.empty() && !lastCommand_.empty()) return Supply(lastCommand_);
    Supply(reading_ && tracking_ && t.size() == 1 ? L"@key " + t : text);
}

void WxFrontEnd::SupplyPoint(double x, double y) {
    if (!reading_ || atCommand_) return;
    Supply(tracking_ ? L"@pick " + Coordinates(x, y) : Coordinates(x, y));
}

void WxFrontEnd::SupplyWindow(double x0, double y0, double x1, double y1, bool crossing) {
    if (!reading_ || atCommand_ || tracking_) return;
    Supply((crossing ? L"C " : L"W ") + Coordinates(x0, y0) + L" " + Coordinates(x1, y1));
}

void WxFrontEnd::SupplyMove(double x, double y) {
    if (!reading_ || !tracking_) return;
    const std::wstring line = L"@move " + Coordinates(x, y);
    // Only the latest position matters while the command is busy with an earlier one.
    if (!pending_.empty() && pending_.back().text.rfind(L"@move", 0) == 0)
        pending_.back().text = line;
    else
        pending_.push_back({line, 0});
    Wake();
}

void WxFrontEnd::Break() {
    if (reading_) {
        Supply(L"@esc");
        return;
    }
    breakPending_ = true;
}

void WxFrontEnd::Close() {
    closing_ = true;
    Wake();
}

bool WxFrontEnd::Reject(const editor::InputLine& line, const std::wstring& prompt,
                        const HostMessage& expected) {
    if (line.line > 0) {  // a script line: the run stops, as a script run does
        Stop(script_.name + L" line " + std::to_wstring(line.line) + L": \"" + line.text +
             L"\" does not fit the prompt \"" + Trim(prompt) + L"\" (expected " +
             expected.English() + L")");
        frame_.Status(StopMessage());
        return false;
    }
    Print(HostTextf(L"Invalid input, expected %s.", expected.Local().c_str()) + L"\n");
    return true;
}

bool WxFrontEnd::Refuse(const editor::InputLine& line, const HostMessage& reason) {
    if (line.line > 0) {
        Stop(script_.name + L" line " + std::to_wstring(line.line) + L": \"" + line.text + L"\": " +
             reason.English());
        frame_.Status(StopMessage());
        return false;
    }
    Print(reason.Local() + L"\n");
    return true;
}

bool WxFrontEnd::TakeBreak() {
    if (Stopped() || closing_) return true;
    const long long now = NowMs();
    if (now - lastYield_ >= kYieldEveryMs) {  // paint, and see whether Esc was pressed
        lastYield_ = now;
        frame_.FollowDrawing(true);
        if (wxEventLoopBase* active = wxEventLoopBase::GetActive())
            active->YieldFor(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
    }
    // A script's "@esc" as the next line is the user's break during a computation.
    if (Playing() && Trim(script_.lines[next_]) == L"@esc") {
        ++next_;
        SkipComments();
        breakPending_ = true;
    }
    const bool requested = breakPending_;
    breakPending_ = false;
    if (requested) Print(std::wstring(L"\n") + HostText(L"*Cancel*") + L"\n");
    return requested;
}

void WxFrontEnd::Print(const std::wstring& text) {
    const std::wstring shown = AfterAnswer(text);
    // A tip's line is no prompt: the keywords stay those of the prompt printed before it. The
    // window shows the tip itself, so its line goes to the transcript only.
    const auto first = shown.find_first_not_of(L" \t\n");
    const bool tip = first != std::wstring::npos && shown.compare(first, 5, L"[tip]") == 0;
    if (first != std::wstring::npos && !tip) lastPrinted_ = shown;
    if (!tip) frame_.AppendHistory(shown);
    std::cout << win::WideToUtf8(shown);
    std::cout.flush();
}

void WxFrontEnd::ShowProgress(const std::wstring& label, int percent) {
    frame_.ShowProgress(label, percent);
    const long long now = NowMs();
    if (now - lastYield_ >= kYieldEveryMs) {
        lastYield_ = now;
        frame_.FollowDrawing(true);
        if (wxEventLoopBase* active = wxEventLoopBase::GetActive())
            active->YieldFor(wxEVT_CATEGORY_UI);
    }
}

}  // namespace solx::wxhost
