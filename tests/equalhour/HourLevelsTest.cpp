// The hour levels as the user types them: separators, units, range, duplicates, and what
// typing habits of a Chinese keyboard give.

#include <gtest/gtest.h>

#include "EqualHour.h"

namespace {

struct LevelCase {
    const char* name;
    const wchar_t* text;
    bool minutes;
    std::vector<double> levels;
};

class HourLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(HourLevels, ParseAsTyped) {
    const LevelCase& c = GetParam();
    const std::vector<double> got = ParseHourLevels(c.text, c.minutes);
    ASSERT_EQ(got.size(), c.levels.size()) << c.name;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.levels[i], 1e-12) << c.name;
}

const LevelCase kCases[] = {
    {"Default", L"1,", false, {1.0}},
    {"ThreeInTypedOrder", L"3,1,2", false, {3.0, 1.0, 2.0}},
    {"DuplicateWithinFiveHundredths", L"2,2.04,2.06", false, {2.0, 2.06}},
    {"DuplicateOfALaterAcceptedLevel", L"2.06,2,2.04", false, {2.06, 2.0}},
    {"Minutes", L"60,90", true, {1.0, 1.5}},
    {"MinutesBelowTheRange", L"0.6,30", true, {0.5}},
    {"RangeIsOpenAtBothEnds", L"0.01,10.01,10,0.02", false, {10.0, 0.02}},
    {"EmptyText", L"", false, {}},
    {"OnlyCommas", L",,,", false, {}},
    {"LeadingBlanksAndTrailingLetters", L"  1.5h, 2 小时,abc", false, {1.5, 2.0}},
    {"NegativeAndNotANumber", L"-1,nan,inf,1e400", false, {}},
    {"ExponentAndSign", L"+2e0,0.3E1", false, {2.0, 3.0}},
    // What a Chinese keyboard types: the full-width comma and the enumeration comma separate,
    // full-width digits and point are digits and point, the ideographic space is a blank.
    {"FullWidthCommaSeparates", L"1，2，3", false, {1.0, 2.0, 3.0}},
    {"EnumerationCommaSeparates", L"1、2.5、3", false, {1.0, 2.5, 3.0}},
    {"FullWidthDigitsAndPoint", L"２，３．５,\u30001", false, {2.0, 3.5, 1.0}},
    {"FullWidthMinutes", L"６０，９０", true, {1.0, 1.5}},
    // Blanks do not separate: "1 2 3" reads as 1, as _wtof reads it.
    {"BlanksAreNotSeparators", L"1 2 3", false, {1.0}},
    // Other full-width letters stay letters: the number before them is read.
    {"FullWidthLettersEndANumber", L"1ｈ，ａ2", false, {1.0}},
};

INSTANTIATE_TEST_SUITE_P(Cases, HourLevels, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LevelCase>& p) {
                             return std::string(p.param.name);
                         });

// Seventeen distinct valid levels are all parsed (the command refuses them); a token longer
// than 255 characters is read from its first 255.
TEST(HourLevelsLimits, SeventeenLevelsAndLongTokens) {
    std::wstring text;
    for (int i = 1; i <= 17; ++i) text += std::to_wstring(i * 0.5) + L",";
    EXPECT_EQ(ParseHourLevels(text, false).size(), 17u);
    EXPECT_GT(ParseHourLevels(text, false).size(), static_cast<size_t>(kMaxEqualHourLevels));
    const std::wstring padded = std::wstring(254, L' ') + L"12";  // "1" is the 255th character
    EXPECT_EQ(ParseHourLevels(padded, false), std::vector<double>{1.0});
}

}  // namespace
