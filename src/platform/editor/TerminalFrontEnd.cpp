// The terminal front end: answers are typed; a line that does not fit is asked again, and
// Ctrl+C during a computation is the user's break.
#include <csignal>
#include <istream>
#include <ostream>

#include "acad/AcEdFrontEnd.h"
#include "editor/InputState.h"
#include "mfc/Utf8.h"

namespace solx::editor {
namespace {

volatile std::sig_atomic_t g_breakRequested = 0;

class TerminalFrontEnd : public FrontEnd {
public:
    TerminalFrontEnd(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

    std::optional<InputLine> ReadAnswer(const std::wstring&) override {
        m_out.flush();
        for (std::string raw; std::getline(m_in, raw);) {
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            std::wstring text = win::Utf8ToWide(raw);
            const std::wstring t = Trimmed(text);
            if (!t.empty() && t[0] == L';') continue;
            g_breakRequested = 0;  // a break typed while idle means nothing
            AnswerTaken();         // the user's Enter ended the line
            return InputLine{std::move(text), 0};
        }
        return std::nullopt;
    }

    bool Reject(const InputLine&, const std::wstring&, const std::wstring& expected) override {
        m_out << win::WideToUtf8(L"Invalid input, expected " + expected + L".") << '\n';
        return true;
    }

    bool Refuse(const InputLine&, const std::wstring& reason) override {
        m_out << win::WideToUtf8(reason) << '\n';
        return true;
    }

    bool Interactive() const override { return true; }

    bool TakeBreak() override {
        const bool requested = g_breakRequested != 0;
        g_breakRequested = 0;
        return requested;
    }

    void Print(const std::wstring& text) override { m_out << win::WideToUtf8(AfterAnswer(text)); }

    // Only whole tens of percent, so a long loop does not flood the terminal.
    void ShowProgress(const std::wstring& label, int percent) override {
        if (label.empty() || percent / 10 == m_lastTenth) return;
        m_lastTenth = percent / 10;
        m_out << '\n' << win::WideToUtf8(label) << ' ' << m_lastTenth * 10 << '%';
        if (m_lastTenth >= 10) m_lastTenth = -1;
    }

private:
    std::istream& m_in;
    std::ostream& m_out;
    int m_lastTenth = -1;
};

}  // namespace

void RequestBreak() {
    g_breakRequested = 1;
}

std::unique_ptr<FrontEnd> MakeTerminalFrontEnd(std::istream& in, std::ostream& out) {
    return std::make_unique<TerminalFrontEnd>(in, out);
}

}  // namespace solx::editor
