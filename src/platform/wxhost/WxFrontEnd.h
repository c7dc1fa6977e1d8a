// The desktop front end of the editor: answers come from the command line under the plan, from
// the mouse in the plan (points, selections, cursor tracking) or from a script played visibly.
// ReadAnswer runs a nested event loop until one of them supplies a line, so the editor and the
// commands stay as they are for every front end.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "acad/AcEdFrontEnd.h"

class wxEventLoopBase;

namespace solx::wxhost {

class MainFrame;
using editor::HostMessage;
using editor::HostText;
using editor::HostTextf;

// A script played in the window: its lines, and the pause before each one is taken.
struct VisibleScript {
    std::wstring name;
    std::vector<std::wstring> lines;
    int delayMs = 150;
};

class WxFrontEnd : public editor::FrontEnd {
public:
    WxFrontEnd(MainFrame& frame, VisibleScript script);

    std::optional<editor::InputLine> ReadAnswer(const std::wstring& prompt) override;
    bool Reject(const editor::InputLine& line, const std::wstring& prompt,
                const HostMessage& expected) override;
    bool Refuse(const editor::InputLine& line, const HostMessage& reason) override;
    bool Interactive() const override { return !Playing(); }
    bool TakeBreak() override;
    void Print(const std::wstring& text) override;
    void ShowProgress(const std::wstring& label, int percent) override;

    // A line typed, a keyword clicked or a menu's command.
    void Supply(const std::wstring& text);
    // A line typed or a keyword clicked (a key press while the command tracks the cursor).
    void SupplyTyped(const std::wstring& text);
    // The plan's mouse: a click, a window or crossing rectangle, a cursor move.
    void SupplyPoint(double x, double y);
    void SupplyWindow(double x0, double y0, double x1, double y1, bool crossing);
    void SupplyMove(double x, double y);
    // Esc: cancels the prompt, or breaks a running computation.
    void Break();
    // The window closes: the pending read and every later one answer the end of input.
    void Close();

    bool AtCommandPrompt() const { return reading_ && atCommand_; }
    // True while the script has lines left other than comments.
    bool Playing() const { return next_ < script_.lines.size(); }
    const std::wstring& Prompt() const { return prompt_; }

private:
    bool PlayScriptLine();
    void SkipComments();
    bool RunWindowLine(const std::wstring& text, int lineNumber);
    void Wait();
    void Pause(int ms);
    void Wake();

    MainFrame& frame_;
    VisibleScript script_;
    size_t next_ = 0;
    std::deque<editor::InputLine> pending_;
    wxEventLoopBase* loop_ = nullptr;
    std::wstring prompt_;
    std::wstring lastPrinted_;
    std::wstring lastCommand_;  // the last command given at the command prompt
    bool reading_ = false, atCommand_ = false, tracking_ = false;
    bool closing_ = false, breakPending_ = false;
    long long lastYield_ = 0;
};

}  // namespace solx::wxhost
