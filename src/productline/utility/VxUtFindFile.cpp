#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "brel/VxUtFindFile.h"

bool FindFile(const wchar_t* name, std::wstring& path) {
    if (!name || !*name) return false;
    std::vector<std::filesystem::path> folders;
    if (const char* list = std::getenv("SOLX_SUPPORT_PATH")) {
        std::stringstream in(list);
        for (std::string folder; std::getline(in, folder, ':');)
            if (!folder.empty()) folders.emplace_back(folder);
    }
    if (const char* resources = std::getenv("SOLX_RESOURCES")) folders.emplace_back(resources);
    folders.emplace_back(SOLX_DEFAULT_SUPPORT_DIR);
    for (const auto& folder : folders) {
        std::error_code ec;
        const auto candidate = folder / std::filesystem::path(name);
        if (std::filesystem::is_regular_file(candidate, ec)) {
            path = candidate.wstring();
            return true;
        }
    }
    return false;
}
