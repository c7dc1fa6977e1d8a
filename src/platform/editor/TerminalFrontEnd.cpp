// The terminal front end: answers are typed; a line that does not fit is asked again. At a real
// terminal the line is edited here, key by key, so that Esc and Ctrl+C cancel the prompt at
// once (as "@esc" does in a script); while a command computes, Ctrl+C is the user's break.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cwchar>
#include <iostream>
#include <istream>
#include <ostream>

#include "acad/AcEdFrontEnd.h"
#include "editor/InputState.h"
#include "mfc/Utf8.h"

namespace solx::editor {
namespace {

volatile std::sig_atomic_t g_breakRequested = 0;

// The notice of a cancelled prompt, in the session language.
std::string CancelNotice() {
    return win::WideToUtf8(HostText(L"*Cancel*"));
}

// The terminal's settings for the whole session: no line discipline and no echo (the front end
// edits the line), so that keys typed while a command computes wait for the next prompt instead
// of being taken by the terminal; Ctrl+C still raises the interrupt signal (the user's break,
// or the cancel of the prompt it interrupts). Everything else stays as the user had it.
void EnterKeyMode(const termios& saved) {
    termios keys = saved;
    keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
    keys.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL));
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &keys);
}

constexpr int kEnd = -1, kTimeout = -2, kInterrupted = -3;
constexpr int kBreakPollMs = 100;

// One byte from the terminal; kEnd at the end of input, kInterrupted when a signal (Ctrl+C)
// came first. With a timeout in milliseconds, kTimeout when nothing came in time.
int ReadByte(int timeoutMs = -1) {
    if (timeoutMs >= 0) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return kTimeout;
    }
    unsigned char c = 0;
    const ssize_t n = ::read(STDIN_FILENO, &c, 1);
    if (n == 1) return c;
    return n < 0 && errno == EINTR ? kInterrupted : kEnd;
}

int Columns(const std::wstring& text) {
    int columns = 0;
    for (wchar_t c : text) columns += std::max(1, wcwidth(c));
    return columns;
}

class TerminalFrontEnd : public FrontEnd {
public:
    TerminalFrontEnd(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {
        m_keys = &in == &std::cin && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0;
        if (m_keys) EnterKeyMode(m_saved);
    }
    ~TerminalFrontEnd() override {
        if (m_keys) tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
    }
    TerminalFrontEnd(const TerminalFrontEnd&) = delete;
    TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;

    std::optional<InputLine> ReadAnswer(const std::wstring&) override {
        EndMeterLine();
        m_out.flush();
        for (;;) {
            std::optional<std::wstring> text = m_keys ? ReadKeys() : ReadLine();
            if (!text) return std::nullopt;
            const std::wstring t = Trimmed(*text);
            if (!t.empty() && t[0] == L';') continue;
            g_breakRequested = 0;  // a break typed while idle means nothing
            AnswerTaken();         // the user's Enter ended the line
            return InputLine{std::move(*text), 0};
        }
    }

    bool Reject(const InputLine&, const std::wstring&, const HostMessage& expected) override {
        m_out << win::WideToUtf8(
                     HostTextf(L"Invalid input, expected %s.", expected.Local().c_str()))
              << '\n';
        return true;
    }

    bool Refuse(const InputLine&, const HostMessage& reason) override {
        m_out << win::WideToUtf8(reason.Local()) << '\n';
        return true;
    }

    bool Interactive() const override { return true; }

    bool TakeBreak() override {
        const bool requested = g_breakRequested != 0;
        g_breakRequested = 0;
        if (requested) {
            EndMeterLine();
            Print(std::wstring(L"\n") + HostText(L"*Cancel*") + L"\n");
        }
        return requested;
    }

    void Print(const std::wstring& text) override {
        if (m_meterOpen && !text.empty()) EndMeterLine();
        m_out << win::WideToUtf8(AfterAnswer(text));
    }

    // The meter stays on one line: the label, then each tenth as it is reached; the line is
    // ended before anything else is printed.
    void ShowProgress(const std::wstring& label, int percent) override {
        if (label.empty()) {
            if (m_meterOpen && m_lastTenth < 10 && m_completed) AppendTenth(10);
            EndMeterLine();
            return;
        }
        const int tenth = std::clamp(percent, 0, 100) / 10;
        m_completed = percent >= 100;
        if (!m_meterOpen) {
            m_out << win::WideToUtf8(AfterAnswer(L"\n" + label));
            m_meterOpen = true;
            m_lastTenth = -1;
        }
        if (tenth != m_lastTenth) AppendTenth(tenth);
        m_out.flush();
    }

private:
    void AppendTenth(int tenth) {
        m_lastTenth = tenth;
        m_out << ' ' << tenth * 10 << '%';
    }

    void EndMeterLine() {
        if (!m_meterOpen) return;
        m_meterOpen = false;
        m_completed = false;
        m_out << win::WideToUtf8(AfterAnswer(L"\n"));
    }

    std::optional<std::wstring> ReadLine() {
        std::string raw;
        if (!std::getline(m_in, raw)) return std::nullopt;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        // An Esc typed into a line-buffered terminal arrives as the escape character.
        if (raw.find('\x1b') != std::string::npos || raw.find('\x03') != std::string::npos) {
            m_out << CancelNotice() << '\n';
            return L"@esc";
        }
        return win::Utf8ToWide(raw);
    }

    // Line editing at a real terminal: printable characters, Backspace, Ctrl+U (clear),
    // Enter; Esc or Ctrl+C cancel the prompt; Ctrl+D on an empty line ends the input. The
    // escape sequences of arrow and function keys are swallowed.
    std::optional<std::wstring> ReadKeys() {
        m_out.flush();
        std::string line;
        for (;;) {
            // The wait is cut into short polls: a Ctrl+C that lands after the prompt was shown
            // but before the read began interrupts nothing, and is seen at the next poll.
            const int c = ReadByte(kBreakPollMs);
            if (c == kTimeout && g_breakRequested == 0) continue;
            if (c == kInterrupted && g_breakRequested == 0) continue;  // another signal
            if (c == kInterrupted || c == kTimeout) {
                g_breakRequested = 0;
                m_out << CancelNotice() << "\n" << std::flush;
                return L"@esc";
            }
            if (c < 0) return line.empty() ? std::nullopt : std::optional(win::Utf8ToWide(line));
            if (c == '\r' || c == '\n') {
                m_out << "\n" << std::flush;
                return win::Utf8ToWide(line);
            }
            if (c == 0x03 || (c == 0x1b && !SwallowSequence())) {
                m_out << CancelNotice() << "\n" << std::flush;
                return L"@esc";
            }
            if (c == 0x1b) continue;
            if (c == 0x04) {
                if (line.empty()) return std::nullopt;
                continue;
            }
            if (c == 0x7f || c == 0x08) {
                std::wstring w = win::Utf8ToWide(line);
                if (w.empty()) continue;
                const int columns = Columns(w.substr(w.size() - 1));
                w.pop_back();
                line = win::WideToUtf8(w);
                for (int i = 0; i < columns; ++i) m_out << "\b \b";
                m_out << std::flush;
                continue;
            }
            if (c == 0x15) {  // Ctrl+U
                const int columns = Columns(win::Utf8ToWide(line));
                for (int i = 0; i < columns; ++i) m_out << "\b \b";
                m_out << std::flush;
                line.clear();
                continue;
            }
            if (c < 0x20) continue;
            line += static_cast<char>(c);
            // Echo whole characters: the rest of a UTF-8 sequence follows at once.
            if (c >= 0x80 && (c & 0x40)) {
                const int more = (c & 0x20) == 0 ? 1 : (c & 0x10) == 0 ? 2 : 3;
                std::string seq(1, static_cast<char>(c));
                for (int i = 0; i < more; ++i) {
                    const int next = ReadByte(100);
                    if (next < 0) break;
                    line += static_cast<char>(next);
                    seq += static_cast<char>(next);
                }
                m_out << seq << std::flush;
            } else {
                m_out << static_cast<char>(c) << std::flush;
            }
        }
    }

    // After an escape character: true when a key's escape sequence followed (and was read),
    // false when Esc was pressed on its own.
    static bool SwallowSequence() {
        const int first = ReadByte(40);
        if (first != '[' && first != 'O') return false;
        for (int c = ReadByte(40); c >= 0; c = ReadByte(40))
            if (c >= 0x40 && c <= 0x7e) break;
        return true;
    }

    std::istream& m_in;
    std::ostream& m_out;
    bool m_keys = false;
    termios m_saved{};
    bool m_meterOpen = false, m_completed = false;
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
