// The installed language switch: dictionaries are read from files on first request and kept
// for the life of the switch.
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "acad/AcEdHostText.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/Utf8.h"

BrelLanguageSwitch* g_pBrelLangSwitch = nullptr;
VxDtDictionary* g_pCurModuleLang = nullptr;
CString g_strCurLanguage = L"Chs";
bool g_bEnableHotKey = true;

namespace solx::lang {
namespace {

std::wstring Upper(std::wstring text) {
    for (auto& ch : text) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return text;
}

class FileLanguageSwitch : public BrelLanguageSwitch {
public:
    FileLanguageSwitch(std::wstring language, std::string dir)
        : m_language(std::move(language)), m_dir(std::move(dir)) {}

    const wchar_t* TranslateText(const wchar_t* text) override {
        if (!text || m_language == L"Chs" || !g_pCurModuleLang) return text;
        const wchar_t* translated = g_pCurModuleLang->Lookup(text);
        return translated ? translated : text;
    }

    // The host's texts: their originals are English, so every language but English has a file.
    const VxDtDictionary* HostDictionary() {
        if (!m_hostLoaded) {
            m_hostLoaded = true;
            const auto path = FindFile(L"SOLXHOST");
            if (!path.empty()) m_host = Read(path, L"SOLXHOST");
        }
        return m_host.get();
    }

    VxDtDictionary* GetModuleDictionary(const CString& moduleName) override {
        const std::wstring key = Upper(moduleName.str());
        if (key.empty()) return nullptr;
        auto& slot = m_dictionaries[key];
        if (!slot) slot = Load(key);
        return slot.get();
    }

private:
    // The dictionary file of the module, matched by name without regard to case.
    std::filesystem::path FindFile(const std::wstring& key) const {
        const std::wstring wanted = key + L"." + Upper(m_language) + L".TXT";
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir, ec))
            if (Upper(win::Utf8ToWide(entry.path().filename().string())) == wanted)
                return entry.path();
        return {};
    }

    std::unique_ptr<VxDtDictionary> Load(const std::wstring& key) const {
        auto dictionary = std::make_unique<VxDtDictionary>(key);
        if (m_language == L"Chs") return dictionary;
        const auto path = FindFile(key);
        if (path.empty()) return nullptr;
        return Read(path, key);
    }

    static std::unique_ptr<VxDtDictionary> Read(const std::filesystem::path& path,
                                                const std::wstring& key) {
        auto dictionary = std::make_unique<VxDtDictionary>(key);
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        std::wstring errors;
        ParseDictionary(text, path.string(), *dictionary, errors);
        if (!errors.empty()) std::cerr << win::WideToUtf8(errors);
        return dictionary;
    }

    std::wstring m_language;
    std::string m_dir;
    std::map<std::wstring, std::unique_ptr<VxDtDictionary>> m_dictionaries;
    std::unique_ptr<VxDtDictionary> m_host;
    bool m_hostLoaded = false;
};

// Every switch ever installed: modules cache dictionary pointers for the life of the process,
// so a removed switch (and its dictionaries) is retired, not destroyed.
std::vector<std::unique_ptr<FileLanguageSwitch>>& Installed() {
    static std::vector<std::unique_ptr<FileLanguageSwitch>> all;
    return all;
}

}  // namespace

void InstallLanguageSwitch(const std::wstring& language, const std::string& dictionaryDir) {
    RemoveLanguageSwitch();
    Installed().push_back(std::make_unique<FileLanguageSwitch>(language, dictionaryDir));
    g_pBrelLangSwitch = Installed().back().get();
    g_strCurLanguage = language.c_str();
    if (const VxDtDictionary* host = Installed().back()->HostDictionary())
        editor::SetHostTranslator([host](const wchar_t* english) { return host->Lookup(english); });
}

void RemoveLanguageSwitch() {
    g_pBrelLangSwitch = nullptr;
    g_pCurModuleLang = nullptr;
    editor::SetHostTranslator({});
    g_strCurLanguage = L"Chs";
}

}  // namespace solx::lang
