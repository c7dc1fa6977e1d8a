#pragma once
// The MFC module-state and extension-module stand-ins, module handles and message boxes.
// A module handle (HINSTANCE / HMODULE) is the load address of a shared object, as dladdr
// reports it in dli_fbase; null stands for the main program.

#include "mfc/CString.h"
#include "mfc/WinTypes.h"

using HINSTANCE = void*;
using HMODULE = void*;
using LPCTSTR = const wchar_t*;
using LPTSTR = wchar_t*;
using TCHAR = wchar_t;
#ifndef _T
#define _T(x) L##x
#endif

// Message box styles and answers (the real numbers).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The per-module record an extension module fills when it is initialised.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// The process-wide MFC state: where resources (dialog templates, strings) are looked up now.
struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);

// Fills the record for the module and returns TRUE; FALSE (record untouched) when the handle
// is null or the record was already initialised for another module.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Ends the module: forgets its resource chain entry and clears the record.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// Links an extension module into the chain searched for resources. Objects live until
// AfxTermExtensionModule of their record (or the end of the process).
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL systemOwned = FALSE);
    virtual ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
};

namespace solx::win {
// How many CDynLinkLibrary objects are linked in the resource chain now.
int DynLinkLibraryCount();
// The module handle of the shared object that contains addr (null when none does).
HMODULE ModuleOfAddress(const void* addr);
}  // namespace solx::win

// The full path of the module's file ("/" separators on this platform), null-terminated and
// truncated to size - 1 characters. Returns the length written, 0 on failure. A null module
// gives the main program.
DWORD GetModuleFileNameW(HMODULE module, wchar_t* fileName, DWORD size);

// Shows a message through the editor's current front end and returns the answer: IDOK for MB_OK,
// IDYES / IDNO for MB_YESNO, IDOK / IDCANCEL for MB_OKCANCEL.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
