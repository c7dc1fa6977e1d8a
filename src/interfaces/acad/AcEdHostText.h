#pragma once
// The host's own texts (prompts, notices, the terminal's answers, dialog refusals, LIST and HELP)
// in the session language. Each text is written in English in the code and looked up by that
// English text in the translator the program installs at start; without a translator, or
// without an entry for the text, the English text is shown. The script language (keywords,
// "@" lines, control kinds) is not translated.

#include <functional>
#include <string>
#include <utility>

namespace solx::editor {

// Maps an English text to the session language; null when it has no entry. What it returns
// must stay valid while the translator is installed.
using HostTranslator = std::function<const wchar_t*(const wchar_t* english)>;
// Installs the translator; an empty function removes it (English again).
void SetHostTranslator(HostTranslator translator);

// The text in the session language (english itself when there is no translation).
const wchar_t* HostText(const wchar_t* english);
// Marks an English text that is translated where it is used, not where it is written (so that
// the dictionary check finds it).
constexpr const wchar_t* HostKey(const wchar_t* english) {
    return english;
}
// printf-style: the translated format filled in. A translation keeps the conversions of its
// English format, in the same order.
std::wstring HostTextf(const wchar_t* englishFormat, ...);

// A text kept in two forms: the session language for the screen (Local), English for the stop
// messages of scripted runs (English), which stay English whatever the session language.
class HostMessage {
public:
    HostMessage() = default;
    explicit HostMessage(const wchar_t* english);
    HostMessage(std::wstring english, std::wstring local)
        : m_english(std::move(english)), m_local(std::move(local)) {}

    const std::wstring& English() const { return m_english; }
    const std::wstring& Local() const { return m_local; }
    bool empty() const { return m_english.empty(); }

    // Both forms one after the other (a prefix, then the reason).
    friend HostMessage operator+(const HostMessage& a, const HostMessage& b) {
        return {a.m_english + b.m_english, a.m_local + b.m_local};
    }

private:
    std::wstring m_english, m_local;
};

// printf-style, both forms filled in from the same arguments.
HostMessage HostMessagef(const wchar_t* englishFormat, ...);

}  // namespace solx::editor
