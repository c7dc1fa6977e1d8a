// Resource and language scope, the text function and the module-language lookup.
#include "VxUtPushResource.h"

#include <cwctype>

#include "SolxModule.h"

VxUtPushResource::VxUtPushResource(HINSTANCE instance)
    : m_hPrevResource(AfxGetModuleState()->m_hCurrentResourceHandle),
      m_pPrevLang(g_pCurModuleLang) {
    AfxGetModuleState()->m_hCurrentResourceHandle = instance;
    g_pCurModuleLang = LookUpModuleLanguage();
}

VxUtPushResource::~VxUtPushResource() {
    AfxGetModuleState()->m_hCurrentResourceHandle = m_hPrevResource;
    g_pCurModuleLang = m_pPrevLang;
}

const wchar_t* VxUtLangText(const wchar_t* text) {
    VxUtPushResource scope(g_hSolxInstance);
    return g_pBrelLangSwitch ? g_pBrelLangSwitch->TranslateText(text) : text;
}

CString ModuleLanguageName(const wchar_t* fileName) {
    CString name(fileName);
    name.MakeUpper();
    // Module paths here are POSIX paths: the file name follows the last "/".
    const int slash = name.ReverseFind(L'/');
    if (slash < 1 || slash >= name.GetLength() - 1) return CString();
    CString base = name.Mid(slash + 1);
    const int dot = base.Find(L'.');
    if (dot < 1) return CString();
    base = base.Left(dot);
    // A versioned file name ("SOLXANALYSIS2") shares the plain name's dictionary.
    if (std::iswdigit(static_cast<wint_t>(base[base.GetLength() - 1])))
        base.Delete(base.GetLength() - 1);
    return base;
}

VxDtDictionary* LookUpModuleLanguage() {
    if (!g_pSolxLang) {
        wchar_t fileName[1024] = {};
        GetModuleFileNameW(g_hSolxInstance, fileName, 1023);
        const CString name = ModuleLanguageName(fileName);
        if (!name.IsEmpty() && g_pBrelLangSwitch)
            g_pSolxLang = g_pBrelLangSwitch->GetModuleDictionary(name);
    }
    return g_pSolxLang;
}
