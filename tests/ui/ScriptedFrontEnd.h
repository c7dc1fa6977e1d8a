#pragma once
// An editor front end for tests: answers prompts from a list of script lines, records what is
// printed, stops at the first rejected line. Installed for its lifetime.

#include <string>
#include <vector>

#include "acad/AcEdFrontEnd.h"

class ScriptedFrontEnd : public solx::editor::FrontEnd {
public:
    explicit ScriptedFrontEnd(std::vector<std::wstring> lines) : m_lines(std::move(lines)) {
        solx::editor::SetFrontEnd(this);
    }
    ~ScriptedFrontEnd() override { solx::editor::SetFrontEnd(nullptr); }

    std::optional<solx::editor::InputLine> ReadAnswer(const std::wstring&) override {
        if (m_next >= m_lines.size()) return std::nullopt;
        ++m_next;
        return solx::editor::InputLine{m_lines[m_next - 1], static_cast<int>(m_next)};
    }
    bool Reject(const solx::editor::InputLine& line, const std::wstring&,
                const solx::editor::HostMessage&) override {
        rejected.push_back(line.text);
        Stop(L"rejected: " + line.text);
        return false;
    }
    bool Refuse(const solx::editor::InputLine& line,
                const solx::editor::HostMessage& reason) override {
        refused.push_back(reason.English());
        Stop(L"refused: " + line.text + L": " + reason.English());
        return false;
    }
    bool TakeBreak() override { return false; }
    void Print(const std::wstring& text) override { printed += text; }
    void ShowProgress(const std::wstring&, int) override {}

    // Lines not yet read.
    std::size_t Unread() const { return m_lines.size() - m_next; }

    std::wstring printed;
    std::vector<std::wstring> rejected;
    std::vector<std::wstring> refused;  // reasons of dialog lines that could not be done

private:
    std::vector<std::wstring> m_lines;
    std::size_t m_next = 0;
};

// Count of non-overlapping occurrences of `needle` in `text`.
inline int CountOf(const std::wstring& text, const std::wstring& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}
