// The MFC module state and extension-module chain. One process-wide state: the program has one
// user-interface thread, like the host.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "mfc/afxwin.h"
#include "mfc/Utf8.h"

namespace {

AFX_MODULE_STATE g_moduleState;

std::vector<CDynLinkLibrary*>& Chain() {
    static std::vector<CDynLinkLibrary*> chain;
    return chain;
}

}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() {
    return &g_moduleState;
}
HINSTANCE AfxGetResourceHandle() {
    return g_moduleState.m_hCurrentResourceHandle;
}
void AfxSetResourceHandle(HINSTANCE resource) {
    g_moduleState.m_hCurrentResourceHandle = resource;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
    if (!module) return FALSE;
    if (state.bInitialized) return state.hModule == module ? TRUE : FALSE;
    state.bInitialized = TRUE;
    state.hModule = module;
    state.hResource = module;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*all*/) {
    auto& chain = Chain();
    std::vector<CDynLinkLibrary*> mine;
    for (auto* lib : chain)
        if (lib->m_hModule == state.hModule) mine.push_back(lib);
    for (auto* lib : mine) delete lib;  // the destructor unlinks it
    state = AFX_EXTENSION_MODULE{};
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL systemOwned)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(systemOwned) {
    Chain().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::erase(Chain(), this);
}

namespace solx::win {

int DynLinkLibraryCount() {
    return static_cast<int>(Chain().size());
}

HMODULE ModuleOfAddress(const void* addr) {
    Dl_info info{};
    if (!addr || dladdr(addr, &info) == 0) return nullptr;
    return info.dli_fbase;
}

}  // namespace solx::win

namespace {

std::string ModulePath(HMODULE module) {
    if (!module) {
        char exe[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
        return n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string();
    }
    Dl_info info{};
    if (dladdr(module, &info) == 0 || !info.dli_fname) return {};
    char resolved[PATH_MAX];
    return realpath(info.dli_fname, resolved) ? std::string(resolved) : std::string(info.dli_fname);
}

}  // namespace

DWORD GetModuleFileNameW(HMODULE module, wchar_t* fileName, DWORD size) {
    if (!fileName || size == 0) return 0;
    const std::wstring path = solx::win::Utf8ToWide(ModulePath(module));
    const size_t n = std::min<size_t>(path.size(), size - 1);
    std::copy_n(path.begin(), n, fileName);
    fileName[n] = L'\0';
    return static_cast<DWORD>(n);
}
