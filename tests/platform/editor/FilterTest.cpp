// Wildcards and filter lists against an object described by a table of group values.
#include <gtest/gtest.h>

#include <map>

#include "acad/acedFilter.h"
#include "mfc/Utf8.h"

namespace {

struct WcCase {
    const wchar_t* text;
    const wchar_t* pattern;
    bool match;
};

TEST(Wildcard, Patterns) {
    const WcCase cases[] = {
        {L"LWPOLYLINE", L"*POLYLINE", true},
        {L"POLYLINE", L"*POLYLINE", true},
        {L"LINE", L"*POLYLINE", false},
        {L"ARC", L"LINE,ARC", true},
        {L"CIRCLE", L"LINE,ARC", false},
        {L"CIRCLE", L"~CIRCLE", false},
        {L"ARC", L"~CIRCLE", true},
        {L"A1", L"A#", true},
        {L"AB", L"A#", false},
        {L"Ab", L"A@", true},
        {L"A-", L"A.", true},
        {L"A1", L"A.", false},
        {L"B", L"[ABC]", true},
        {L"D", L"[~ABC]", true},
        {L"D", L"[A-C]", false},
        {L"b", L"[A-C]", true},
        {L",", L"[,]", true},
        {L"a*b", L"a`*b", true},
        {L"axb", L"a`*b", false},
        {L"a,b", L"a`,b", true},
        {L"sun-window", L"SUN-WINDOW", true},
        {L"SUN-WINDOW", L"SUN-*", true},
        {L"", L"*", true},
        {L"x", L"", false},
        {L"_SUNWD", L"_SUN??", true},
        {L"_SUNWD", L"_SUN?", false},
        {L"日照窗", L"日照*", true},
        {L"abcabcabd", L"*abc*abd", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(acutWcMatch(c.text, c.pattern) == RTNORM, c.match)
            << solx::win::WideToUtf8(c.text) << " ~ " << solx::win::WideToUtf8(c.pattern);
}

// An object as the filter sees it: group code -> value.
using Fields = std::map<short, AcDbFilterValue>;

solx::editor::FieldLookup Lookup(const Fields& f) {
    return [&f](short code) -> std::optional<AcDbFilterValue> {
        const auto it = f.find(code);
        if (it == f.end()) return std::nullopt;
        return it->second;
    };
}

Fields Slab(double thickness, const wchar_t* layer = L"SUN-BUILDING") {
    return {{0, AcDbFilterValue::ofText(L"LWPOLYLINE")},
            {8, AcDbFilterValue::ofText(layer)},
            {39, AcDbFilterValue::ofNumber(thickness)},
            {70, AcDbFilterValue::ofNumber(1)},
            {10, AcDbFilterValue::ofPoint({100, 200, 0})}};
}

Fields Window() {
    return {{0, AcDbFilterValue::ofText(L"INSERT")},
            {8, AcDbFilterValue::ofText(L"SUN-WINDOW")},
            {2, AcDbFilterValue::ofText(L"_SUNWD")}};
}

struct RbDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using List = std::unique_ptr<resbuf, RbDeleter>;

struct FilterCase {
    const char* what;
    List filter;
    bool slab, lowSlab, window;
};

std::vector<FilterCase> Cases() {
    std::vector<FilterCase> v;
    auto add = [&](const char* what, resbuf* rb, bool a, bool b, bool c) {
        v.push_back({what, List(rb), a, b, c});
    };
    add("no filter", nullptr, true, true, true);
    add("type", acutBuildList(RTDXF0, L"LWPOLYLINE", 0), true, true, false);
    add("type wildcard", acutBuildList(RTDXF0, L"*POLYLINE", 0), true, true, false);
    add("type list", acutBuildList(RTDXF0, L"INSERT,LWPOLYLINE", 0), true, true, true);
    add("window filter", acutBuildList(RTDXF0, L"INSERT", 8, L"SUN-WINDOW", 2, L"_SUNWD", 0), false,
        false, true);
    add("thickness > 10", acutBuildList(-4, L">", 39, 10.0, 0), true, false, false);
    add("thickness <= 10", acutBuildList(-4, L"<=", 39, 10.0, 0), false, true, false);
    add("thickness != 5", acutBuildList(-4, L"!=", 39, 5.0, 0), true, false, false);
    add("missing code fails", acutBuildList(2, L"*", 0), false, false, true);
    add("flag bits", acutBuildList(-4, L"&", 70, 3, 0), true, true, false);
    add("flag all bits", acutBuildList(-4, L"&=", 70, 3, 0), false, false, false);
    const double corner[3] = {50, 250, 0};
    add("point per coordinate", acutBuildList(-4, L">,<,*", 10, corner, 0), true, true, false);
    add("3D obstruction mask",
        acutBuildList(-4, L"<OR", -4, L"<AND", RTDXF0, L"INSERT", 2, L"_SUNWD", -4, L"AND>", -4,
                      L"<AND", RTDXF0, L"*POLYLINE", -4, L">", 39, 10.0, -4, L"AND>", -4, L"OR>",
                      0),
        true, false, true);
    add("not", acutBuildList(-4, L"<NOT", 8, L"SUN-W*", -4, L"NOT>", 0), true, true, false);
    add("xor", acutBuildList(-4, L"<XOR", 8, L"SUN-*", -4, L">", 39, 10.0, -4, L"XOR>", 0), false,
        true, true);
    add("layer negated wildcard", acutBuildList(8, L"~SUN-WINDOW", 0), true, true, false);
    return v;
}

TEST(FilterList, MatchesTypesLayersRelationsAndLogic) {
    const Fields slab = Slab(18000), low = Slab(5), window = Window();
    for (const auto& c : Cases()) {
        const solx::editor::SelectionFilter f(c.filter.get());
        ASSERT_TRUE(f.ok()) << c.what << ": " << solx::win::WideToUtf8(f.error());
        EXPECT_EQ(f.Matches(Lookup(slab)), c.slab) << c.what;
        EXPECT_EQ(f.Matches(Lookup(low)), c.lowSlab) << c.what;
        EXPECT_EQ(f.Matches(Lookup(window)), c.window) << c.what;
    }
}

struct BadCase {
    const char* what;
    List filter;
    const char* error;
};

TEST(FilterList, MalformedListsSayWhichItem) {
    std::vector<BadCase> cases;
    auto add = [&](const char* what, resbuf* rb, const char* error) {
        cases.push_back({what, List(rb), error});
    };
    add("unclosed group", acutBuildList(-4, L"<OR", 8, L"A", 0), "missing \"OR>\"");
    add("wrong closing", acutBuildList(-4, L"<OR", 8, L"A", -4, L"AND>", 0), "item 3: unbalanced");
    add("closing alone", acutBuildList(8, L"A", -4, L"OR>", 0), "item 2: unexpected closing");
    add("not with two", acutBuildList(-4, L"<NOT", 8, L"A", 8, L"B", -4, L"NOT>", 0), "<NOT");
    add("xor with one", acutBuildList(-4, L"<XOR", 8, L"A", -4, L"XOR>", 0), "<XOR");
    add("empty group", acutBuildList(-4, L"<AND", -4, L"AND>", 0), "empty <AND");
    add("unknown operator", acutBuildList(-4, L"=~", 39, 1.0, 0), "unknown operator");
    add("operator without value", acutBuildList(-4, L">", 0), "no value");
    add("two operators on a number", acutBuildList(-4, L">,<", 39, 1.0, 0), "three for a point");
    for (const auto& c : cases) {
        const solx::editor::SelectionFilter f(c.filter.get());
        EXPECT_FALSE(f.ok()) << c.what;
        EXPECT_NE(solx::win::WideToUtf8(f.error()).find(c.error), std::string::npos)
            << c.what << ": " << solx::win::WideToUtf8(f.error());
        const Fields slab = Slab(1);
        EXPECT_FALSE(f.Matches(Lookup(slab))) << c.what << ": a broken filter matches nothing";
    }
}

}  // namespace
