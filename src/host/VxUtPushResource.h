#pragma once
// The resource and language scope every command opens around its dialogs, and the text
// function every prompt and message goes through.

#include "brel/BrelLanguageSwitch.h"
#include "mfc/afxwin.h"

// Makes a module's resources and texts current for the life of the object: the MFC resource
// handle becomes the given handle and g_pCurModuleLang this module's dictionary (looked up
// first when not yet cached). The destructor puts back both previous values, so they are
// restored on every exit, also when the scope is left by an exception.
class VxUtPushResource {
public:
    explicit VxUtPushResource(HINSTANCE instance);
    virtual ~VxUtPushResource();
    VxUtPushResource(const VxUtPushResource&) = delete;
    VxUtPushResource& operator=(const VxUtPushResource&) = delete;

private:
    HINSTANCE m_hPrevResource;
    VxDtDictionary* m_pPrevLang;
};

// The text to show for text: the language switch's translation within this module's scope;
// text itself (the very pointer) when no switch is installed.
const wchar_t* VxUtLangText(const wchar_t* text);

// The dictionary name of a module file: the base name in capitals without its extension and
// without one trailing digit ("/opt/lib/SolxAnalysis2.so" -> "SOLXANALYSIS"). Paths use "/"
// separators on this platform. Empty when the name has no separator, ends in one, or has no
// extension.
CString ModuleLanguageName(const wchar_t* fileName);
// Runs the lookup for this module when the cache is still empty; returns the cache.
VxDtDictionary* LookUpModuleLanguage();
