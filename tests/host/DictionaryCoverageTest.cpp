// Every text the module shows through the language switch has an English entry: the test reads
// the sources, collects each string literal inside a VxUtLangText(...) call, and looks it up in
// the shipped English dictionary. A text added to the code without its translation fails here.
// The host's texts go the other way: English in the code (HostText, HostTextf, HostMessage,
// HostMessagef, HostKey), each with an entry in the Chinese host dictionary.
#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "acad/AcEdHostText.h"
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
        std::string key;
        size_t lastEnd = 0;  // just after the closing quote of the last literal
        auto flush = [&] {
            if (lastEnd && !key.empty()) keys.insert(Unescape(key));  // "" is no text
            key.clear();
            lastEnd = 0;
        };
        for (size_t i = at + call.size(); i < source.size() && depth > 0; ++i) {
            if (source[i] == '(') ++depth;
            if (source[i] == ')') --depth;
            if (source[i] != '"') continue;
            const size_t start = i + 1;
            size_t end = start;
            while (end < source.size() && source[end] != '"') end += source[end] == '\\' ? 2 : 1;
            // Literals with only blanks between them are one text, as the compiler joins them.
            const bool adjacent = lastEnd && source.find_first_not_of(" \t\r\nL", lastEnd) == i;
            if (!adjacent) flush();
            if (i > 0 && source[i - 1] == 'L') key += source.substr(start, end - start);
            lastEnd = end + 1;
            i = end;
        }
        flush();
    }
    return keys;
}

VxDtDictionary Dictionary(const std::string& name, const std::string& language) {
    VxDtDictionary english(solx::win::Utf8ToWide(name));
    std::wstring errors;
    const fs::path file =
        std::string(SOLX_SOURCE_DIR "/resources/lang/") + name + "." + language + ".txt";
    solx::lang::ParseDictionary(ReadAll(file), file.string(), english, errors);
    EXPECT_TRUE(errors.empty()) << solx::win::WideToUtf8(errors);
    return english;
}

VxDtDictionary English(const std::string& name) {
    return Dictionary(name, "Eng");
}

// Keys of every call of `functions` in the sources under `folders`, looked up in a dictionary;
// the keys found are added to `seen` when given.
int CheckKeys(const std::vector<std::string>& functions, const VxDtDictionary& english,
              const std::vector<std::string>& folders = {"src"},
              std::set<std::string>* seen = nullptr) {
    int keys = 0;
    for (const std::string& folder : folders)
        for (const auto& entry : fs::recursive_directory_iterator(SOLX_SOURCE_DIR "/" + folder)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
            const std::string source = ReadAll(entry.path());
            for (const std::string& function : functions) {
                for (const std::string& key : KeysIn(source, function)) {
                    ++keys;
                    if (seen) seen->insert(key);
                    EXPECT_NE(english.Lookup(solx::win::Utf8ToWide(key).c_str()), nullptr)
                        << entry.path().filename().string() << ": \"" << key
                        << "\" has no entry in " << solx::win::WideToUtf8(english.ModuleName());
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

// The printf conversions of a format, in order ("%d", "%.15g", "%s" ...).
std::vector<std::string> Conversions(const std::string& format) {
    static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::string> found;
    for (std::sregex_iterator it(format.begin(), format.end(), conversion), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

TEST(DictionaryCoverage, EveryHostTextHasAChineseEntryWithTheSameConversions) {
    const VxDtDictionary chinese = Dictionary("SolxHost", "Chs");
    std::set<std::string> seen;
    EXPECT_GT(CheckKeys({"HostText", "HostTextf", "HostMessage", "HostMessagef", "HostKey"},
                        chinese, {"src/platform", "src/productline", "apps"}, &seen),
              60)
        << "the scan found the calls";
    for (const std::string& key : seen) {
        const wchar_t* local = chinese.Lookup(solx::win::Utf8ToWide(key).c_str());
        if (!local) continue;  // reported above
        EXPECT_EQ(Conversions(solx::win::WideToUtf8(local)), Conversions(key))
            << "\"" << key << "\": a translation fills in the same values in the same order";
    }
    EXPECT_EQ(chinese.Size(), seen.size()) << "entries no code uses (a key changed in the code?)";
}

// Without a translator, or for a text the dictionary lacks, the host shows the English text;
// the installed switch gives the session's texts and removing it gives English back.
TEST(DictionaryCoverage, HostTextsFallBackToEnglish) {
    using solx::editor::HostMessagef;
    using solx::editor::HostText;
    const wchar_t* prompt = L"\nSelect objects: ";
    EXPECT_EQ(HostText(prompt), prompt);
    const std::string dir = SOLX_SOURCE_DIR "/resources/lang";
    solx::lang::InstallLanguageSwitch(L"Chs", dir);
    EXPECT_STREQ(HostText(prompt), L"\n选择对象: ");
    const wchar_t* unknown = L"not a host text";
    EXPECT_EQ(HostText(unknown), unknown);
    const auto refusal = HostMessagef(L"control %d cannot hold \"%s\"", 2048, L"25:00");
    EXPECT_EQ(refusal.English(), L"control 2048 cannot hold \"25:00\"");
    EXPECT_EQ(refusal.Local(), L"控件 2048 不能接受 \"25:00\"");
    solx::lang::InstallLanguageSwitch(L"Eng", dir);
    EXPECT_EQ(HostText(prompt), prompt) << "no English host dictionary: the originals";
    solx::lang::RemoveLanguageSwitch();
    EXPECT_EQ(HostText(prompt), prompt);
}

}  // namespace
