// The script front end: answers come from the lines of a script, one answer a line. A line that
// does not fit its prompt stops the run; the host then ends without saving.
#include <ostream>
#include <sstream>

#include "acad/AcEdFrontEnd.h"
#include "editor/InputState.h"
#include "mfc/Utf8.h"

namespace solx::editor {
namespace {

bool IsComment(const std::wstring& line) {
    const std::wstring t = Trimmed(line);
    return !t.empty() && t[0] == L';';
}

// Lines of the script; a UTF-8 byte-order mark (editors on Windows write one) is not part of the
// first line, and a carriage return before each line end is dropped.
std::vector<std::wstring> SplitLines(const std::string& utf8Text) {
    std::vector<std::wstring> lines;
    const bool bom = utf8Text.rfind("\xEF\xBB\xBF", 0) == 0;
    std::istringstream in(bom ? utf8Text.substr(3) : utf8Text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(win::Utf8ToWide(line));
    }
    return lines;
}

class ScriptFrontEnd : public FrontEnd {
public:
    ScriptFrontEnd(std::wstring name, const std::string& text, std::ostream& out)
        : m_name(std::move(name)), m_lines(SplitLines(text)), m_out(out) {}

    std::optional<InputLine> ReadAnswer(const std::wstring&) override {
        if (!SkipComments()) return std::nullopt;
        InputLine line{m_lines[m_next], static_cast<int>(m_next) + 1};
        ++m_next;
        m_out << win::WideToUtf8(line.text) << '\n';
        AnswerTaken();
        return line;
    }

    bool Reject(const InputLine& line, const std::wstring& prompt,
                const HostMessage& expected) override {
        Stop(m_name + L" line " + std::to_wstring(line.line) + L": \"" + line.text +
             L"\" does not fit the prompt \"" + Trimmed(prompt) + L"\" (expected " +
             expected.English() + L")");
        return false;
    }

    bool Refuse(const InputLine& line, const HostMessage& reason) override {
        Stop(m_name + L" line " + std::to_wstring(line.line) + L": \"" + line.text + L"\": " +
             reason.English());
        return false;
    }

    // "@esc" as the next line is the user's break during a computation.
    bool TakeBreak() override {
        if (Stopped()) return true;
        if (!SkipComments() || !IsEscape(m_lines[m_next])) return false;
        ++m_next;
        return true;
    }

    void Print(const std::wstring& text) override { m_out << win::WideToUtf8(AfterAnswer(text)); }
    void ShowProgress(const std::wstring&, int) override {}  // keeps transcripts stable

private:
    bool SkipComments() {
        while (m_next < m_lines.size() && IsComment(m_lines[m_next])) ++m_next;
        return m_next < m_lines.size();
    }

    std::wstring m_name;
    std::vector<std::wstring> m_lines;
    size_t m_next = 0;
    std::ostream& m_out;
};

}  // namespace

std::unique_ptr<FrontEnd> MakeScriptFrontEnd(std::wstring name, const std::string& utf8Text,
                                             std::ostream& out) {
    return std::make_unique<ScriptFrontEnd>(std::move(name), utf8Text, out);
}

}  // namespace solx::editor
