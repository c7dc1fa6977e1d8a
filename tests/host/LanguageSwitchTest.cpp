// The language switch and its dictionary files.
#include <gtest/gtest.h>

#include "brel/BrelLanguageSwitch.h"

namespace {

struct ParseCase {
    const char* what;
    const char* text;
    const wchar_t* original;     // looked up after parsing (null: nothing to look up)
    const wchar_t* translation;  // null: expect no entry
    bool errors;
};

TEST(DictionaryFile, LinesEscapesAndErrors) {
    const ParseCase cases[] = {
        {"plain", "窗位\tWindow\n", L"窗位", L"Window", false},
        {"escaped line breaks", "\\n共耗时\t\\nTime used: \n", L"\n共耗时", L"\nTime used: ",
         false},
        {"backslash and tab", "a\\\\b\\tc\tx\n", L"a\\b\tc", L"x", false},
        {"carriage return dropped", "秒；\t s.\r\n", L"秒；", L" s.", false},
        {"comment and blank lines", "# note\n\n分钟\tmin\n", L"分钟", L"min", false},
        {"tab inside the translation kept", "a\tb\tc\n", L"a", L"b\tc", false},
        {"no tab", "分钟 min\n", L"分钟 min", nullptr, true},
        {"empty original", "\tmin\n", nullptr, nullptr, true},
        {"unknown escape", "a\\q\tx\n", L"a\\q", nullptr, true},
    };
    for (const auto& c : cases) {
        VxDtDictionary d(L"M");
        std::wstring errors;
        solx::lang::ParseDictionary(c.text, "m.txt", d, errors);
        EXPECT_EQ(!errors.empty(), c.errors) << c.what;
        if (c.errors) {
            EXPECT_NE(errors.find(L"m.txt:1: "), std::wstring::npos) << c.what;
        }
        if (!c.original) continue;
        const wchar_t* got = d.Lookup(c.original);
        if (c.translation) {
            ASSERT_NE(got, nullptr) << c.what;
            EXPECT_STREQ(got, c.translation) << c.what;
        } else {
            EXPECT_EQ(got, nullptr) << c.what;
        }
    }
}

class InstalledSwitch : public ::testing::Test {
protected:
    void TearDown() override { solx::lang::RemoveLanguageSwitch(); }
    const std::string m_dir = std::string(SOLX_SOURCE_DIR) + "/resources/lang";
};

TEST_F(InstalledSwitch, EnglishTranslatesTheModulesPrompts) {
    solx::lang::InstallLanguageSwitch(L"Eng", m_dir);
    ASSERT_NE(g_pBrelLangSwitch, nullptr);
    EXPECT_TRUE(g_strCurLanguage == L"Eng");
    VxDtDictionary* d = g_pBrelLangSwitch->GetModuleDictionary(L"SOLXANALYSIS");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(g_pBrelLangSwitch->GetModuleDictionary(L"SolxAnalysis"), d) << "one per module";
    g_pCurModuleLang = d;
    EXPECT_STREQ(g_pBrelLangSwitch->TranslateText(L"\n选择遮挡物:"), L"\nSelect obstructions:");
    const wchar_t* missing = L"没有这条";
    EXPECT_EQ(g_pBrelLangSwitch->TranslateText(missing), missing);
    EXPECT_EQ(g_pBrelLangSwitch->GetModuleDictionary(L"NOSUCHMODULE"), nullptr);
}

TEST_F(InstalledSwitch, ChineseShowsTextsAsWritten) {
    solx::lang::InstallLanguageSwitch(L"Chs", m_dir);
    EXPECT_TRUE(g_strCurLanguage == L"Chs");
    VxDtDictionary* d = g_pBrelLangSwitch->GetModuleDictionary(L"SOLXANALYSIS");
    ASSERT_NE(d, nullptr);
    g_pCurModuleLang = d;
    const wchar_t* text = L"\n选择遮挡物:";
    EXPECT_EQ(g_pBrelLangSwitch->TranslateText(text), text);
}

TEST_F(InstalledSwitch, DictionariesOutliveTheSwitch) {
    solx::lang::InstallLanguageSwitch(L"Eng", m_dir);
    VxDtDictionary* d = g_pBrelLangSwitch->GetModuleDictionary(L"SOLXANALYSIS");
    solx::lang::RemoveLanguageSwitch();
    EXPECT_EQ(g_pBrelLangSwitch, nullptr);
    EXPECT_EQ(g_pCurModuleLang, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->Lookup(L"窗位"), L"Window");  // still valid for modules that cached it
}

}  // namespace
