// Time and angle texts, orientation texts, digit test.
#include "solx/SolxDegree.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct FormatCase {
    double hours;
    bool seconds;
    const wchar_t* text;
};

TEST(SolxDegree, TimeFormat) {
    const FormatCase cases[] = {
        {0.0, false, L"0:00"},       {2.5, false, L"2:30"},
        {2.9999999, false, L"3:00"}, {0.24, false, L"0:14"},
        {-0.44, false, L"-0:26"},    {8.0, true, L"8:00:00"},
        {23.99, false, L"23:59"},    {1.0 / 7200, true, L"0:00:01"},
        {-0.001, false, L"0:00"},    {12.508333333, true, L"12:30:30"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(SolxDegree(c.hours).TimeFormat(c.seconds), c.text) << c.hours;
    EXPECT_EQ(SolxDegree(116.41).DegreeFormat(false), L"116°25′");
}

struct ParseCase {
    const wchar_t* text;
    bool degree;
    bool valid;
    double value;
};

TEST(SolxDegree, ParsesTexts) {
    const ParseCase cases[] = {
        {L"8:05", false, true, 8 + 5 / 60.0},
        {L"2:30:15", false, true, 2.5 + 15 / 3600.0},
        {L"-0:26", false, true, -26 / 60.0},
        {L"2.5", false, true, 2.5},
        {L"8时5分", false, true, 8 + 5 / 60.0},
        {L"116°24′", true, true, 116.4},
        {L"39度54分", true, true, 39.9},
        {L" 7:00 ", false, true, 7.0},
        {L"abc", false, false, 0},
        {L"", false, false, 0},
        {L"8:xx", false, false, 0},
    };
    for (const ParseCase& c : cases) {
        const SolxDegree d(c.text, c.degree);
        double v = -1;
        d.getDegree(v);
        EXPECT_EQ(d.IsValid(), c.valid) << static_cast<const void*>(c.text);
        EXPECT_NEAR(v, c.value, 1e-9);
    }
}

// Results are written as text and read back to be compared with the requirement: the text
// of a whole number of minutes must come back exactly.
TEST(SolxDegree, FormatParsesBackToTheMinute) {
    for (int minutes = -90; minutes <= 24 * 60; minutes += 7) {
        const double hours = minutes / 60.0 + 0.2 / 3600.0;  // a little off the minute
        double back = 0;
        SolxDegree(SolxDegree(hours).TimeFormat(false).c_str(), false).getDegree(back);
        EXPECT_NEAR(back, minutes / 60.0, 1e-12) << minutes;
    }
}

TEST(SolxDegree, PartsRoundTrip) {
    SolxDegree d;
    d.setDegree(8, 30, 0);
    int h = 0, m = 0;
    double s = 0;
    d.getDegree(h, m, s);
    EXPECT_EQ(h * 100 + m, 830);
    SolxDegree(-0.5).getDegree(h, m, s);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m, -30);
    d.setDegree(-2, 15, 0);
    EXPECT_DOUBLE_EQ(d.GetValue(), -2.25);
}

struct AngleCase {
    double angle;  // degrees counter-clockwise from east
    int mode;
    const wchar_t* text;
};

TEST(GetAngleStr, OrientationTexts) {
    const AngleCase cases[] = {
        {270, 1, L"正南"},      {285, 1, L"南偏东15°"}, {255, 1, L"南偏西15°"},
        {90, 1, L"正北"},       {0, 1, L"正东"},        {180, 1, L"正西"},
        {10, 1, L"东偏北10°"},  {-90, 1, L"正南"},      {272.5, 1, L"南偏东2.5°"},
        {100, 1, L"北偏西10°"}, {350, 1, L"东偏南10°"}, {255.5, 0, L"255.5°"},
        {630, 1, L"正南"},
    };
    for (const AngleCase& c : cases) EXPECT_EQ(GetAngleStr(c.angle, c.mode), c.text) << c.angle;
}

TEST(IsDigital, OnlyAsciiDigits) {
    EXPECT_TRUE(IsDigital(L"12"));
    EXPECT_TRUE(IsDigital(L"0"));
    EXPECT_FALSE(IsDigital(L""));
    EXPECT_FALSE(IsDigital(L"1a"));
    EXPECT_FALSE(IsDigital(L"-1"));
    EXPECT_FALSE(IsDigital(L"１２"));
    EXPECT_FALSE(IsDigital(L"1.5"));
}

}  // namespace
