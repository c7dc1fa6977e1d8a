// Module loading through the dynamic linker and the host's application messages.
#include "ModuleLoader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "acad/AcDbDatabase.h"
#include "acad/acrx.h"

namespace solx::app {

bool ModuleLoader::Load(const std::string& path, std::string& error) {
    Unload();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = "cannot load the module " + path + ": " + dlerror();
        return false;
    }
    auto version = reinterpret_cast<AcRxApiVersionFn>(dlsym(handle, "acrxGetApiVersion"));
    auto entry = reinterpret_cast<AcRxEntryPointFn>(dlsym(handle, "acrxEntryPoint"));
    if (!version || !entry || version() != kAcrxApiVersion) {
        error = path + " is not an application module of this host (entry or version missing)";
        dlclose(handle);
        return false;
    }
    m_handle = handle;
    m_entry = entry;
    m_entry(AcRx::kInitAppMsg, m_handle);  // the package pointer is the library handle
    // A drawing already open is announced to the module as the host does for each document.
    m_drawing = acdbHostApplicationServices()->workingDatabase();
    if (m_drawing) m_entry(AcRx::kLoadDwgMsg, m_drawing);
    return true;
}

void ModuleLoader::Unload() {
    if (!m_handle) return;
    if (m_drawing) m_entry(AcRx::kUnloadDwgMsg, m_drawing);
    m_drawing = nullptr;
    m_entry(AcRx::kUnloadAppMsg, m_handle);
    // A module that never unlocked itself stays mapped, as the host keeps it.
    if (!acrxDynamicLinker->isApplicationLocked(m_handle)) dlclose(m_handle);
    acrxDynamicLinker->forget(m_handle);
    m_handle = nullptr;
    m_entry = nullptr;
}

namespace {
std::filesystem::path ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}
}  // namespace

std::string DefaultModulePath() {
    return (ExecutableDir() / "../lib/SolxAnalysis.so").string();
}

// SOLX_RESOURCES wins; then resources/ beside the build folder; then the source tree's.
std::string LanguageDirectory() {
    if (const char* env = std::getenv("SOLX_RESOURCES")) return std::string(env) + "/lang";
    const auto beside = ExecutableDir() / "../../resources/lang";
    if (std::filesystem::is_directory(beside)) return beside.lexically_normal().string();
    return SOLX_RESOURCE_DIR "/lang";
}

}  // namespace solx::app
