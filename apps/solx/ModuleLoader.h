#pragma once
// Loads an application module the way the CAD host does: dlopen, version handshake, then the
// initialisation message, then the drawing-loaded message for the working drawing (the module
// reads the settings the drawing carries); Unload sends the drawing-unloaded message and the unload
// message and unmaps it when it is unlocked.

#include <string>

#include "acad/acrx.h"

namespace solx::app {

class ModuleLoader {
public:
    ModuleLoader() = default;
    ~ModuleLoader() { Unload(); }
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // False with a message in error when the file cannot be loaded or is not a module.
    bool Load(const std::string& path, std::string& error);
    void Unload();
    bool Loaded() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
    AcRxEntryPointFn m_entry = nullptr;
    void* m_drawing = nullptr;  // the drawing announced with the drawing-loaded message
};

// The module next to the program: <dir of the executable>/../lib/SolxAnalysis.so.
std::string DefaultModulePath();
// The folder with the language dictionaries.
std::string LanguageDirectory();

}  // namespace solx::app
