// Module dictionaries and their file format.
#include <sstream>

#include "brel/BrelLanguageSwitch.h"
#include "mfc/Utf8.h"

void VxDtDictionary::Add(std::wstring original, std::wstring translation) {
    m_texts[std::move(original)] = std::move(translation);
}

const wchar_t* VxDtDictionary::Lookup(const wchar_t* original) const {
    if (!original) return nullptr;
    const auto it = m_texts.find(original);
    return it == m_texts.end() ? nullptr : it->second.c_str();
}

namespace solx::lang {
namespace {

// Undoes the escapes "\n", "\t" and "\\"; false on any other backslash sequence.
bool Unescape(const std::wstring& in, std::wstring& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != L'\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) return false;
        if (in[i] == L'n')
            out += L'\n';
        else if (in[i] == L't')
            out += L'\t';
        else if (in[i] == L'\\')
            out += L'\\';
        else
            return false;
    }
    return true;
}

std::wstring Where(const std::string& fileName, int line) {
    return win::Utf8ToWide(fileName) + L":" + std::to_wstring(line) + L": ";
}

}  // namespace

void ParseDictionary(const std::string& utf8Text, const std::string& fileName,
                     VxDtDictionary& dictionary, std::wstring& errors) {
    std::istringstream in(utf8Text);
    int lineNo = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.empty() || raw[0] == '#') continue;
        const std::wstring line = win::Utf8ToWide(raw);
        const auto tab = line.find(L'\t');
        std::wstring original, translation;
        if (tab == std::wstring::npos || tab == 0) {
            errors += Where(fileName, lineNo) + L"expected original<TAB>translation\n";
        } else if (!Unescape(line.substr(0, tab), original) ||
                   !Unescape(line.substr(tab + 1), translation)) {
            errors += Where(fileName, lineNo) + L"unknown escape (use \\n, \\t or \\\\)\n";
        } else {
            dictionary.Add(std::move(original), std::move(translation));
        }
    }
}

}  // namespace solx::lang
