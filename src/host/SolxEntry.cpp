// The module entry: what happens when the library is loaded and on the host's messages.
#include "mfc/Modeless.h"
#include "SolxCommands.h"
#include "SolxModule.h"
#include "VxUtPushResource.h"
#include "brel/VxDefineCommand.h"
#include "solx/SolxDataSet.h"

HINSTANCE g_hSolxInstance = nullptr;
AFX_EXTENSION_MODULE g_SolxExtension;
VxDtDictionary* g_pSolxLang = nullptr;

namespace {

// Runs when the dynamic loader maps the library (the counterpart of the DLL's process attach):
// only the instance handle is recorded; real set-up waits for the initialisation message.
__attribute__((constructor)) void SolxOnLibraryLoad() {
    g_hSolxInstance = solx::win::ModuleOfAddress(reinterpret_cast<const void*>(&SolxOnLibraryLoad));
}

void InitApplication(void* appId) {
    // A failed extension set-up leaves the resource chain alone; registration still goes on.
    if (AfxInitExtensionModule(g_SolxExtension, g_hSolxInstance)) {
        g_SolxExtension.hResource = g_hSolxInstance;
        new CDynLinkLibrary(g_SolxExtension);  // the chain owns it until AfxTermExtensionModule
    }
    acrxUnlockApplication(appId);
    if (AcRxDynamicLinker* linker = acrxDynamicLinker) linker->registerAppMDIAware(appId);
    VxDefineCommand(kSolxCommandGroup, g_SolxCmdTable, kSolxCommandCount, 0);
    VxDefineCommand(kSolxCommandGroup, g_SolxOwnCmdTable, kSolxOwnCommandCount, 0);
    if (AcEdCommandStack* stack = acedRegCmds) {
        for (int i = 0; i < kSolxCommandCount; ++i)
            stack->setDescription(g_SolxCmdTable[i].name, VxUtLangText(g_SolxCmdHelp[i]));
        for (int i = 0; i < kSolxOwnCommandCount; ++i)
            stack->setDescription(g_SolxOwnCmdTable[i].name, VxUtLangText(g_SolxOwnCmdHelp[i]));
    }
}

void UnloadApplication() {
    solx::ui::CloseModelessWindows();
    if (AcEdCommandStack* stack = acedRegCmds) stack->removeGroup(kSolxCommandGroup);
    AfxTermExtensionModule(g_SolxExtension);
}

}  // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    switch (msg) {
        case AcRx::kInitAppMsg:
            InitApplication(appId);
            break;
        case AcRx::kUnloadAppMsg:
            UnloadApplication();
            break;
        case AcRx::kLoadDwgMsg:
            // Settings the drawing carries become the current ones; without them the user's
            // settings stay.
            g_SunDataSet.LoadSunDataSetDict(&g_dictSunSet);
            break;
        default:  // drawing unloaded, function invoked, anything else: nothing
            break;
    }
    return AcRx::kRetOK;
}

extern "C" int acrxGetApiVersion() {
    return kAcrxApiVersion;
}
