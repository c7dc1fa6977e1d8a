// The window tables as CSV, for spreadsheet programs.
#include <cerrno>
#include <cstring>
#include <fstream>

#include "WinSunAnaTable.h"
#include "mfc/Utf8.h"

namespace {

// A field as CSV writes it: quoted (quotes doubled) when it holds a separator, a quote or a
// line break.
std::string CsvField(const std::wstring& text) {
    const std::string utf8 = solx::win::WideToUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string quoted = "\"";
    for (char ch : utf8) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::wstring>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
    return line + "\r\n";
}

}  // namespace

bool WriteWinTableCsv(const std::wstring& path, const std::wstring& note,
                      const std::vector<WinTableTexts>& tables, std::wstring& error) {
    std::string text = "\xEF\xBB\xBF" + CsvLine({note});
    for (size_t t = 0; t < tables.size(); ++t) {
        if (t) text += "\r\n";
        for (const auto& row : tables[t].rows) text += CsvLine(row);
    }
    std::ofstream out(solx::win::WideToUtf8(path), std::ios::binary | std::ios::trunc);
    if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (out) out.close();
    if (out) return true;
    error = solx::win::Utf8ToWide(std::strerror(errno ? errno : EIO));
    return false;
}
