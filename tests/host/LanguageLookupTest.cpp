// The module-language lookup: which dictionary name a module file gives, and how the result is
// cached and retried.
#include <gtest/gtest.h>

#include "SolxModule.h"
#include "VxUtPushResource.h"

namespace {

struct NameCase {
    const char* what;
    const wchar_t* file;
    const wchar_t* name;  // empty: no dictionary
};

TEST(ModuleLanguageName, FileNamesThatCouldBreak) {
    const NameCase cases[] = {
        {"plain", L"/opt/solx/lib/SolxAnalysis.so", L"SOLXANALYSIS"},
        {"one trailing digit dropped", L"/opt/lib/SolxAnalysis2.so", L"SOLXANALYSIS"},
        {"only the last of two digits dropped", L"/opt/lib/Solx12.so", L"SOLX1"},
        {"digit inside kept", L"/opt/lib/Solx2D.so", L"SOLX2D"},
        {"first dot ends the base name", L"/opt/lib/SolxAnalysis.so.1", L"SOLXANALYSIS"},
        {"dots in folders do not count", L"/opt/v1.2/Solx.so", L"SOLX"},
        {"no separator", L"SolxAnalysis.so", L""},
        {"separator last", L"/opt/lib/", L""},
        {"separator at the first position", L"/Solx.so", L""},
        {"no extension", L"/opt/lib/SolxAnalysis", L""},
        {"dot first in the name", L"/opt/lib/.so", L""},
        {"a backslash is not a separator here", L"C:\\lib\\Solx.dll", L""},
        {"empty", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModuleLanguageName(c.file).str(), std::wstring(c.name)) << c.what;
}

// A switch that answers the module lookup from a script of results and records the calls.
class ScriptedSwitch : public BrelLanguageSwitch {
public:
    std::vector<VxDtDictionary*> answers;
    std::vector<std::wstring> asked;
    VxDtDictionary* currentDuringTranslate = nullptr;

    const wchar_t* TranslateText(const wchar_t* text) override {
        currentDuringTranslate = g_pCurModuleLang;
        const wchar_t* t = g_pCurModuleLang ? g_pCurModuleLang->Lookup(text) : nullptr;
        return t ? t : text;
    }
    VxDtDictionary* GetModuleDictionary(const CString& name) override {
        asked.push_back(name.str());
        if (answers.empty()) return nullptr;
        VxDtDictionary* d = answers.front();
        answers.erase(answers.begin());
        return d;
    }
};

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_pSolxLang = nullptr;
        g_pCurModuleLang = nullptr;
        g_pBrelLangSwitch = &m_switch;
        m_dictionary.Add(L"\n选择遮挡物:", L"\nSelect obstructions:");
    }
    void TearDown() override {
        g_pBrelLangSwitch = nullptr;
        g_pSolxLang = nullptr;
        g_pCurModuleLang = nullptr;
    }
    ScriptedSwitch m_switch;
    VxDtDictionary m_dictionary{L"SOLXANALYSIS"};
};

TEST_F(LookupTest, FailedLookupIsRetriedAndSuccessIsCached) {
    m_switch.answers = {nullptr, &m_dictionary};
    {
        VxUtPushResource scope(g_hSolxInstance);
        EXPECT_EQ(g_pCurModuleLang, nullptr);
    }
    {
        VxUtPushResource scope(g_hSolxInstance);
        EXPECT_EQ(g_pCurModuleLang, &m_dictionary);
    }
    { VxUtPushResource scope(g_hSolxInstance); }
    EXPECT_EQ(m_switch.asked, (std::vector<std::wstring>{L"SOLXANALYSIS", L"SOLXANALYSIS"}));
}

TEST_F(LookupTest, NoSwitchGivesNoDictionaryAndTheSameText) {
    g_pBrelLangSwitch = nullptr;
    const wchar_t* text = L"\n选择遮挡物:";
    EXPECT_EQ(VxUtLangText(text), text);
    VxUtPushResource scope(g_hSolxInstance);
    EXPECT_EQ(g_pCurModuleLang, nullptr);
}

TEST_F(LookupTest, LangTextTranslatesWithinTheModulesScopeOnly) {
    m_switch.answers = {&m_dictionary};
    VxDtDictionary other(L"OTHER");
    g_pCurModuleLang = &other;
    EXPECT_STREQ(VxUtLangText(L"\n选择遮挡物:"), L"\nSelect obstructions:");
    EXPECT_EQ(m_switch.currentDuringTranslate, &m_dictionary);
    EXPECT_EQ(g_pCurModuleLang, &other);
    const wchar_t* unknown = L"没有译文";
    EXPECT_EQ(VxUtLangText(unknown), unknown);
}

}  // namespace
