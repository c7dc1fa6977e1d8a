// The host's texts in the session language: the installed translator, English when it has none.
#include "acad/AcEdHostText.h"

#include <cstdarg>

#include "mfc/CString.h"

namespace solx::editor {
namespace {

HostTranslator& Translator() {
    static HostTranslator translator;
    return translator;
}

}  // namespace

void SetHostTranslator(HostTranslator translator) {
    Translator() = std::move(translator);
}

const wchar_t* HostText(const wchar_t* english) {
    if (!english || !Translator()) return english;
    const wchar_t* local = Translator()(english);
    return local ? local : english;
}

std::wstring HostTextf(const wchar_t* englishFormat, ...) {
    va_list args;
    va_start(args, englishFormat);
    std::wstring text = win::FormatWide(HostText(englishFormat), args);
    va_end(args);
    return text;
}

HostMessage::HostMessage(const wchar_t* english)
    : m_english(english ? english : L""), m_local(english ? HostText(english) : L"") {}

HostMessage HostMessagef(const wchar_t* englishFormat, ...) {
    va_list args, again;
    va_start(args, englishFormat);
    va_copy(again, args);
    std::wstring english = win::FormatWide(englishFormat, args);
    std::wstring local = win::FormatWide(HostText(englishFormat), again);
    va_end(again);
    va_end(args);
    return {std::move(english), std::move(local)};
}

}  // namespace solx::editor
