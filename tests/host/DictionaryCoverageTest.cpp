// Every text the module shows through the language switch has an English entry: the test reads
// the sources, collects each string literal inside a VxUtLangText(...) call, and looks it up in
// the shipped English dictionary. A text added to the code without its translation fails here.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "brel/BrelLanguageSwitch.h"
#include "mfc/Utf8.h"
#include "solx/SolxDate.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The C++ escapes the sources use in dictionary keys.
std::string Unescape(const std::string& literal) {
    std::string out;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            out += literal[i];
            continue;
        }
        const char next = literal[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

// The wide string literals between "<call>(" and its closing parenthesis.
std::set<std::string> KeysIn(const std::string& source, const std::string& function) {
    std::set<std::string> keys;
    const std::string call = function + "(";
    for (size_t at = source.find(call); at != std::string::npos; at = source.find(call, at + 1)) {
        if (at > 0 &&
            (std::isalnum(static_cast<unsigned char>(source[at - 1])) || source[at - 1] == '_'))
            continue;  // another function whose name ends the same way
        int depth = 1;
        for (size_t i = at + call.size(); i < source.size() && depth > 0; ++i) {
            if (source[i] == '(') ++depth;
            if (source[i] == ')') --depth;
            if (source[i] != '"') continue;
            const size_t start = i + 1;
            size_t end = start;
            while (end < source.size() && source[end] != '"') end += source[end] == '\\' ? 2 : 1;
            if (i > 0 && source[i - 1] == 'L')
                keys.insert(Unescape(source.substr(start, end - start)));
            i = end;
        }
    }
    return keys;
}

VxDtDictionary English(const std::string& name) {
    VxDtDictionary english(solx::win::Utf8ToWide(name));
    std::wstring errors;
    const fs::path file = std::string(SOLX_SOURCE_DIR "/resources/lang/") + name + ".Eng.txt";
    solx::lang::ParseDictionary(ReadAll(file), file.string(), english, errors);
    EXPECT_TRUE(errors.empty()) << solx::win::WideToUtf8(errors);
    return english;
}

// Keys of every call of `functions` in the sources, looked up in the module's dictionary.
int CheckKeys(const std::vector<std::string>& functions, const VxDtDictionary& english) {
    int keys = 0;
    for (const auto& entry : fs::recursive_directory_iterator(SOLX_SOURCE_DIR "/src")) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
        const std::string source = ReadAll(entry.path());
        for (const std::string& function : functions) {
            for (const std::string& key : KeysIn(source, function)) {
                ++keys;
                EXPECT_NE(english.Lookup(solx::win::Utf8ToWide(key).c_str()), nullptr)
                    << entry.path().filename().string() << ": \"" << key
                    << "\" has no English entry in " << solx::win::WideToUtf8(english.ModuleName());
            }
        }
    }
    return keys;
}

TEST(DictionaryCoverage, EveryKeyTheCodeUsesHasAnEnglishEntry) {
    EXPECT_GT(CheckKeys({"VxUtLangText"}, English("SolxAnalysis")), 20)
        << "the scan found the calls";
    const VxDtDictionary settings = English("SolxDataBase");
    EXPECT_GT(CheckKeys({"SolxText", "SolxTextWith"}, settings), 10);
    // Solar-term names reach the texts through the term table.
    for (int term = 0; term < 24; ++term)
        EXPECT_NE(settings.Lookup(SolxDate::GetTermName(term)), nullptr) << term;
}

}  // namespace
