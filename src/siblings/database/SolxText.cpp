#include "solx/SolxText.h"

#include "brel/BrelLanguageSwitch.h"

const wchar_t* SolxText(const wchar_t* text) {
    if (!text || !g_pBrelLangSwitch || g_strCurLanguage == L"Chs") return text;
    const VxDtDictionary* dictionary = g_pBrelLangSwitch->GetModuleDictionary(L"SolxDataBase");
    const wchar_t* translated = dictionary ? dictionary->Lookup(text) : nullptr;
    return translated ? translated : text;
}

std::wstring SolxTextWith(const wchar_t* pattern, std::initializer_list<std::wstring> pieces) {
    std::wstring text = SolxText(pattern);
    int index = 0;
    for (const std::wstring& piece : pieces) {
        const std::wstring mark = L"{" + std::to_wstring(index++) + L"}";
        for (auto at = text.find(mark); at != std::wstring::npos; at = text.find(mark, at)) {
            text.replace(at, mark.size(), piece);
            at += piece.size();
        }
    }
    return text;
}
