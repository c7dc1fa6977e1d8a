#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "mfc/DialogTemplate.h"
#include "mfc/Utf8.h"

namespace solx::ui {
namespace {

struct Store {
    std::string folder;
    bool loaded = false;
    std::map<int, DialogTemplate> templates;
};

Store& TheStore() {
    static Store store;
    return store;
}

std::string DefaultFolder() {
    if (const char* env = std::getenv("SOLX_DIALOGS")) return env;
    return SOLX_DEFAULT_DIALOG_DIR;
}

void WriteToStderr(const std::wstring& message) {
    std::cerr << solx::win::WideToUtf8(message) << '\n';
}

ErrorSink g_sink = &WriteToStderr;

void AddFile(Store& store, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::wstring error;
    auto templates = ParseDialogTemplates(text.str(), path.string(), error);
    if (!error.empty()) ReportError(error);
    for (auto& dialog : templates) {
        const auto [it, added] = store.templates.emplace(dialog.id, dialog);
        if (!added) {
            ReportError(win::Utf8ToWide(path.string()) + L": dialog " + std::to_wstring(dialog.id) +
                        L" is already defined in " + win::Utf8ToWide(it->second.source));
        }
    }
}

void Load(Store& store) {
    store.loaded = true;
    if (store.folder.empty()) store.folder = DefaultFolder();
    std::error_code code;
    std::filesystem::directory_iterator files(store.folder, code);
    if (code) {
        ReportError(L"dialog templates: cannot read folder " + win::Utf8ToWide(store.folder));
        return;
    }
    for (const auto& entry : files) {
        if (entry.path().extension() == ".dlg") AddFile(store, entry.path());
    }
}

}  // namespace

void SetDialogTemplateDirectory(const std::string& folder) {
    Store& store = TheStore();
    store.folder = folder;
    store.loaded = false;
    store.templates.clear();
}

const DialogTemplate* FindDialogTemplate(int id) {
    Store& store = TheStore();
    if (!store.loaded) Load(store);
    const auto it = store.templates.find(id);
    if (it != store.templates.end()) return &it->second;
    ReportError(L"dialog template " + std::to_wstring(id) + L" not found in " +
                win::Utf8ToWide(store.folder));
    return nullptr;
}

void SetErrorSink(ErrorSink sink) {
    g_sink = sink ? sink : &WriteToStderr;
}

void ReportError(const std::wstring& message) {
    g_sink(message);
}

}  // namespace solx::ui
