#include "database/TextFile.h"

#include <cwchar>
#include <filesystem>
#include <fstream>

#include "mfc/Utf8.h"

namespace solx::data {

std::wstring FromUtf8(const std::string& text) {
    return solx::win::Utf8ToWide(text);
}

std::string ToUtf8(const std::wstring& text) {
    return solx::win::WideToUtf8(text);
}

std::string PathOf(const std::wstring& file) {
    return ToUtf8(file);
}

bool ReadLines(const std::wstring& file, std::vector<std::wstring>& lines) {
    std::ifstream in(PathOf(file), std::ios::binary);
    if (!in) return false;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        first = false;
        lines.push_back(FromUtf8(line));
    }
    return true;
}

bool WriteLines(const std::wstring& file, const std::vector<std::wstring>& lines) {
    const std::filesystem::path path(PathOf(file));
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::wstring& line : lines) out << ToUtf8(line) << '\n';
    return static_cast<bool>(out);
}

std::wstring Trim(const std::wstring& text) {
    const size_t b = text.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return {};
    const size_t e = text.find_last_not_of(L" \t");
    return text.substr(b, e - b + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t pos; (pos = text.find(separator, start)) != std::wstring::npos; start = pos + 1)
        parts.push_back(Trim(text.substr(start, pos - start)));
    parts.push_back(Trim(text.substr(start)));
    return parts;
}

bool ToNumber(const std::wstring& text, double& value) {
    const std::wstring t = Trim(text);
    wchar_t* end = nullptr;
    value = std::wcstod(t.c_str(), &end);
    return !t.empty() && end && *end == L'\0';
}

std::wstring Where(const std::wstring& file, size_t line, const std::wstring& message) {
    return file + L":" + std::to_wstring(line) + L": " + message;
}

}  // namespace solx::data
