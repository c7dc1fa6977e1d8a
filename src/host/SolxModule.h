#pragma once
// Module-wide state of the analysis module and its contact with the host.

#include "acad/acrx.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/afxwin.h"

// The module's instance handle, recorded when the library is loaded; it is also the module's
// resource handle.
extern HINSTANCE g_hSolxInstance;
// The MFC extension-module record, filled on the host's initialisation message.
extern AFX_EXTENSION_MODULE g_SolxExtension;
// This module's language dictionary; null until a lookup succeeds.
extern VxDtDictionary* g_pSolxLang;

// The command group of the module's table.
inline constexpr const wchar_t* kSolxCommandGroup = L"SolxAnalysis";

extern "C" {
// The host's application entry: 1 initialises, 2 unloads, everything else is ignored.
// Always returns 0.
AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);
int acrxGetApiVersion();
}
