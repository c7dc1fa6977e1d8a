// Every status a prompt can answer with, from script lines.
#include <functional>

#include "ScriptFixture.h"

namespace {

using Ask = std::function<int(std::wstring& value)>;

std::wstring Point(const ads_point p) {
    return std::to_wstring(p[0]) + L"," + std::to_wstring(p[1]) + L"," + std::to_wstring(p[2]);
}

Ask GetPoint(const double* base = nullptr) {
    return [base](std::wstring& v) {
        ads_point p = {0, 0, 0};
        const int rc = acedGetPoint(base, L"\nPoint: ", p);
        v = Point(p);
        return rc;
    };
}
Ask GetReal() {
    return [](std::wstring& v) {
        double d = 0;
        const int rc = acedGetReal(L"\nNumber: ", &d);
        v = std::to_wstring(d);
        return rc;
    };
}
Ask GetInt() {
    return [](std::wstring& v) {
        int i = 0;
        const int rc = acedGetInt(L"\nCount: ", &i);
        v = std::to_wstring(i);
        return rc;
    };
}
Ask GetDist(const double* base = nullptr) {
    return [base](std::wstring& v) {
        double d = 0;
        const int rc = acedGetDist(base, L"\nDistance: ", &d);
        v = std::to_wstring(d);
        return rc;
    };
}
Ask GetString(int cronly) {
    return [cronly](std::wstring& v) {
        wchar_t buf[64] = {};
        const int rc = acedGetString(cronly, L"\nName: ", buf);
        v = buf;
        return rc;
    };
}
Ask GetKword() {
    return [](std::wstring& v) {
        wchar_t buf[64] = {};
        const int rc = acedGetKword(L"\nOption: ", buf, 64);
        v = buf;
        return rc;
    };
}

struct PromptCase {
    const char* what;
    const char* script;
    int flags;
    const wchar_t* keywords;
    Ask ask;
    int status;
    std::wstring value;  // the value (or the keyword from acedGetInput); empty: not checked
};

const double kBase[3] = {10, 20, 0};

class PromptTest : public ScriptFixture {};

TEST_F(PromptTest, StatusCodesOfEveryPromptKind) {
    const PromptCase cases[] = {
        {"2D point", "3,4", 0, nullptr, GetPoint(), RTNORM, L"3.000000,4.000000,0.000000"},
        {"3D point", " 1.5, -2 ,7 ", 0, nullptr, GetPoint(), RTNORM,
         L"1.500000,-2.000000,7.000000"},
        {"distance from base", "5", 0, nullptr, GetPoint(kBase), RTNORM,
         L"15.000000,20.000000,0.000000"},
        {"Enter", "", 0, nullptr, GetPoint(), RTNONE, L""},
        {"keyword", "e", 0, L"E D", GetPoint(), RTKWORD, L"E"},
        {"keyword by capitals", "h", 0, L"Height Dist", GetPoint(), RTKWORD, L"Height"},
        {"keyword in full", "DIST", 0, L"Height Dist", GetReal(), RTKWORD, L"Dist"},
        {"other text as keyword", "anything", RSG_OTHER, nullptr, GetPoint(), RTKWORD, L"anything"},
        {"escape", "@esc", 0, nullptr, GetPoint(), RTCAN, L""},
        {"end of script", "", 0, nullptr, nullptr, RTCAN, L""},
        {"real", "-2.5e1", 0, nullptr, GetReal(), RTNORM, L"-25.000000"},
        {"integer", "42", 0, nullptr, GetInt(), RTNORM, L"42"},
        {"distance as number", "7", 0, nullptr, GetDist(), RTNORM, L"7.000000"},
        {"distance from base to point", "13,24", 0, nullptr, GetDist(kBase), RTNORM, L"5.000000"},
        {"distance by two points", "0,0\n3,4", 0, nullptr, GetDist(), RTNORM, L"5.000000"},
        {"string to first blank", "ab cd", 0, nullptr, GetString(0), RTNORM, L"ab"},
        {"string with blanks", "ab cd", 0, nullptr, GetString(1), RTNORM, L"ab cd"},
        {"empty string", "", 0, nullptr, GetString(1), RTNORM, L""},
        {"kword", "d", 0, L"E D", GetKword(), RTNORM, L"D"},
        {"comment skipped", "; first\n  ; second\n8", 0, nullptr, GetInt(), RTNORM, L"8"},
    };
    for (const auto& c : cases) {
        // "end of script" has an empty script with no lines at all.
        Script(std::string(c.what) == "end of script" ? "" : std::string(c.script) + "\n");
        if (c.flags || c.keywords) acedInitGet(c.flags, c.keywords);
        std::wstring value;
        const int rc = c.ask ? c.ask(value) : GetPoint()(value);
        EXPECT_EQ(rc, c.status) << c.what;
        if (rc == RTKWORD) {
            wchar_t kw[64] = {};
            acedGetInput(kw);
            value = kw;
        }
        if (!c.value.empty()) {
            EXPECT_EQ(value, c.value) << c.what;
        }
        EXPECT_FALSE(Stopped()) << c.what;
    }
}

struct RejectCase {
    const char* what;
    const char* script;
    int flags;
    Ask ask;
    int line;
};

TEST_F(PromptTest, LinesThatDoNotFitStopTheRun) {
    const RejectCase cases[] = {
        {"text at a point prompt", "abc", 0, GetPoint(), 1},
        {"four coordinates", "1,2,3,4", 0, GetPoint(), 1},
        {"Enter not allowed", "; c\n", RSG_NONULL, GetPoint(), 2},
        {"negative not allowed", "-1", RSG_NONEG, GetReal(), 1},
        {"zero not allowed", "0", RSG_NOZERO, GetInt(), 1},
        {"fraction at an integer prompt", "2.5", 0, GetInt(), 1},
        {"number without base at a point prompt", "5", 0, GetPoint(), 1},
        {"not a keyword", "x", 0, GetKword(), 1},
    };
    for (const auto& c : cases) {
        Script(std::string(c.script) + "\n1,1\n");
        acedInitGet(c.flags, L"E D");
        std::wstring value;
        EXPECT_EQ(c.ask(value), RTERROR) << c.what;
        ASSERT_TRUE(Stopped()) << c.what;
        EXPECT_NE(StopMessage().find("test.scr line " + std::to_string(c.line)), std::string::npos)
            << c.what << ": " << StopMessage();
        // Every later prompt is cancelled, even one the next line would fit.
        EXPECT_EQ(GetPoint()(value), RTCAN) << c.what;
    }
}

TEST_F(PromptTest, StopMessageNamesTheLineAndThePrompt) {
    Script("5,5\nhello\n");
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\n表格位置:", p), RTNORM);
    EXPECT_EQ(acedGetPoint(nullptr, L"\n表格位置:", p), RTERROR);
    EXPECT_EQ(StopMessage(),
              "test.scr line 2: \"hello\" does not fit the prompt \"表格位置:\" "
              "(expected a point x,y or x,y,z)");
}

TEST_F(PromptTest, KeywordsApplyToOneInputOnly) {
    Script("E\nE\n");
    acedInitGet(0, L"E D");
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTKWORD);
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTERROR);
}

TEST_F(PromptTest, TranscriptShowsPromptsAndAnswers) {
    Script("3,4\n");
    ads_point p;
    acedGetPoint(nullptr, L"\n选取测试点:", p);
    EXPECT_EQ(Output(), "\n选取测试点:3,4\n");
}

TEST(TerminalFrontEnd, AsksAgainAfterALineThatDoesNotFit) {
    std::istringstream in("abc\n3,4\n");
    std::ostringstream out;
    auto fe = solx::editor::MakeTerminalFrontEnd(in, out);
    solx::editor::SetFrontEnd(fe.get());
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[0], 3.0);
    EXPECT_NE(out.str().find("Invalid input"), std::string::npos);
    EXPECT_FALSE(fe->Stopped());
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTCAN);  // end of input
    solx::editor::SetFrontEnd(nullptr);
}

}  // namespace
