#pragma once
// The product family's language switch: the current language, one text dictionary per module,
// and the module whose texts are current. Shared by every module of the family.
//
// Texts are written in Chinese in the code. With the language "Chs" they are shown as written;
// with any other language the switch looks them up in the current module's dictionary and
// shows the original when there is no entry.

#include <map>
#include <string>

#include "mfc/CString.h"

// The texts of one module in the current language: original -> translation.
class VxDtDictionary {
public:
    explicit VxDtDictionary(std::wstring moduleName) : m_moduleName(std::move(moduleName)) {}

    const std::wstring& ModuleName() const { return m_moduleName; }
    void Add(std::wstring original, std::wstring translation);
    // The translation, or null when the dictionary has none.
    const wchar_t* Lookup(const wchar_t* original) const;
    size_t Size() const { return m_texts.size(); }

private:
    std::wstring m_moduleName;
    std::map<std::wstring, std::wstring> m_texts;
};

class BrelLanguageSwitch {
public:
    virtual ~BrelLanguageSwitch() = default;
    // The text to show for text in the module that is current (g_pCurModuleLang). The result
    // lives as long as the dictionary (or is text itself).
    virtual const wchar_t* TranslateText(const wchar_t* text) = 0;
    // The dictionary of a module by its base name in capitals ("SOLXANALYSIS"); null when
    // the module has none. The switch owns the dictionaries.
    virtual VxDtDictionary* GetModuleDictionary(const CString& moduleName) = 0;
};

// Null when no switch is installed: texts are then shown as written.
extern BrelLanguageSwitch* g_pBrelLangSwitch;
// The dictionary of the module whose texts are current; null outside any module's scope.
extern VxDtDictionary* g_pCurModuleLang;
// "Chs" for Chinese, another name ("Eng") for a translated language.
extern CString g_strCurLanguage;
// The family's hot-key switch; commands turn it off around their own key handling.
extern bool g_bEnableHotKey;

namespace solx::lang {
// Installs the switch for a language, reading dictionaries from dictionaryDir: the file
// "<Module>.<language>.txt" (UTF-8, one "original<TAB>translation" a line, "\n" "\t" "\\"
// escapes, lines starting with "#" ignored) holds a module's texts. The module name in the file
// name is matched without regard to case. For "Chs" every module gets an empty dictionary.
// The host's own texts (English originals) come from "SolxHost.<language>.txt" and are given to
// the editor as its host translator (English where the file or an entry is missing).
void InstallLanguageSwitch(const std::wstring& language, const std::string& dictionaryDir);
// Removes the installed switch: g_pBrelLangSwitch and g_pCurModuleLang become null, the
// language "Chs", the host texts English. Dictionaries stay valid until the process ends (modules
// cache them).
void RemoveLanguageSwitch();
// Parses one dictionary file's text; bad lines are reported as "file:line: reason" in errors.
void ParseDictionary(const std::string& utf8Text, const std::string& fileName,
                     VxDtDictionary& dictionary, std::wstring& errors);
}  // namespace solx::lang
