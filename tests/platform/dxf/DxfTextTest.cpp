// Text in drawings: code pages of older files, \U+XXXX escapes, what the writer does with text
// a line cannot hold or a code page lacks, and the line-level details of the ASCII format.
#include <gtest/gtest.h>

#include "DxfTestSupport.h"
#include "dxf/DxfHeader.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfValueKind.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {
namespace {

std::string drawing(const std::string& version, const std::string& codePage,
                    const std::string& rawText) {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n" + version +
           "\n  9\n$DWGCODEPAGE\n  3\n" + codePage +
           "\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  8\n0\n  1\n" + rawText +
           "\n  0\nENDSEC\n  0\nEOF\n";
}

std::string textOf(const Document& doc) {
    return doc.entities.at(0).record.tags.at(1).value;
}

struct TextCase {
    const char* name;
    const char* version;
    const char* codePage;
    std::string raw;       // bytes in the file
    std::string expected;  // UTF-8 after reading
};

const TextCase kTextCases[] = {
    {"GBK (simplified Chinese)", "AC1009", "ANSI_936", "\xd6\xd0\xce\xc4", "中文"},
    {"Big5 (traditional Chinese)", "AC1015", "ANSI_950", "\xa4\xa4\xa4\xe5", "中文"},
    {"Windows Latin", "AC1015", "ANSI_1252", "caf\xe9", "café"},
    {"Vietnamese, with a combining accent", "AC1015", "ANSI_1258", "Vi\xea\xf2t Nam", "Việt Nam"},
    {"byte Windows Latin leaves undefined", "AC1015", "ANSI_1252", "a\x81", "a\xc2\x81"},
    {"unknown code page reads as Windows Latin", "AC1015", "ANSI_9999", "\xe9", "é"},
    {"code page that changes ASCII reads as Windows Latin", "AC1015", "ANSI_937", "caf\xe9",
     "café"},
    {"UTF-8 in a modern file", "AC1024", "ANSI_936", "中文", "中文"},
    {"escapes in an old file", "AC1015", "ANSI_1252", "\\U+4E2D\\U+6587", "中文"},
    {"escapes in a modern file", "AC1032", "ANSI_1252", "x\\U+00e9y", "xéy"},
    {"escape pair beyond the basic plane", "AC1024", "ANSI_1252", "\\U+D83D\\U+DE00",
     "\xf0\x9f\x98\x80"},
    {"not an escape: bad digit", "AC1024", "ANSI_1252", "\\U+12G4", "\\U+12G4"},
    {"not an escape: NUL", "AC1024", "ANSI_1252", "\\U+0000", "\\U+0000"},
    {"escaped backslash before escape-like text", "AC1024", "ANSI_1252", "\\U+005CU+0041",
     "\\U+0041"},
    {"MTEXT codes stay", "AC1024", "ANSI_1252", "a\\Pb{\\fArial;c}", "a\\Pb{\\fArial;c}"},
};

class DxfText : public testing::TestWithParam<TextCase> {};

TEST_P(DxfText, DecodesToUtf8AndSurvivesASave) {
    const TextCase& c = GetParam();
    Document doc = parseDocument(drawing(c.version, c.codePage, c.raw), "text.dxf");
    EXPECT_EQ(textOf(doc), c.expected);
    Document again = parseDocument(serializeDocument(doc), "again.dxf");
    EXPECT_EQ(textOf(again), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DxfText, testing::ValuesIn(kTextCases),
                         [](const testing::TestParamInfo<TextCase>& param) {
                             std::string s = param.param.name;
                             for (char& ch : s) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return s;
                         });

TEST(DxfTextWriting, OldVersionKeepsItsCodePageAndEscapesWhatItLacks) {
    Document doc = parseDocument(drawing("AC1015", "ANSI_936", "\xd6\xd0"), "gbk.dxf");
    doc.entities[0].record.tags[1].value = "中한";  // Hangul is not in GBK
    std::string out = serializeDocument(doc);
    EXPECT_NE(out.find("\n\xd6\xd0\\U+D55C\n"), std::string::npos);
    EXPECT_EQ(textOf(parseDocument(out, "again.dxf")), "中한");
}

TEST(DxfTextWriting, ModernVersionWritesUtf8) {
    Document doc = parseDocument(drawing("AC1015", "ANSI_936", "\xd6\xd0"), "gbk.dxf");
    setHeaderVar(doc, "$ACADVER", {Tag{1, "AC1024", 0}});
    EXPECT_NE(serializeDocument(doc).find("\n中\n"), std::string::npos);
}

TEST(DxfTextWriting, LineBreaksInAValueNeverSplitTheLine) {
    Document doc = parseDocument(drawing("AC1024", "ANSI_1252", "x"), "t.dxf");
    doc.entities[0].record.tags[1].value = "one\ntwo\r\nthree";
    std::string out = serializeDocument(doc);
    EXPECT_NE(out.find("\none\\U+000Atwo\\U+000D\\U+000Athree\n"), std::string::npos);
    EXPECT_EQ(textOf(parseDocument(out, "t.dxf")), "one\ntwo\r\nthree");
}

TEST(DxfLines, CrLfPaddedCodesCommentsAndNoHeader) {
    // R12 without HEADER or handles, CRLF line ends, codes padded on both sides, comments.
    std::string bytes =
        "999\r\nmade by hand\r\n  0\r\nSECTION\r\n  2 \r\nENTITIES\r\n999\r\ninside\r\n"
        "  0\r\nLINE\r\n8\r\nWALLS\r\n 10\r\n  1.5\r\n999\r\nin record\r\n  0\r\nENDSEC\r\n"
        "999\r\nlast\r\n  0\r\nEOF\r\n";
    Document doc = parseDocument(bytes, "r12.dxf");
    ASSERT_EQ(doc.entities.size(), 1u);
    const Record& line = doc.entities[0].record;
    EXPECT_EQ(line.type, "LINE");
    EXPECT_EQ(line.line, 9);
    ASSERT_EQ(line.tags.size(), 3u);
    EXPECT_EQ(line.tags[1].value, "  1.5");  // numbers keep their text
    EXPECT_EQ(line.tags[2].code, 999);
    Document again = parseDocument(serializeDocument(doc), "again.dxf");
    EXPECT_EQ(test::flatten(again), test::flatten(doc));
    ASSERT_EQ(again.commentsBefore.size(), 2u);
    EXPECT_EQ(again.commentsBefore[0].at(0).value, "made by hand");
    EXPECT_EQ(again.commentsBefore[1].at(0).value, "last");
    EXPECT_EQ(again.commentsInside.at(0).at(0).value, "inside");
}

TEST(DxfLines, CommentBeforeTheHeaderIsReadInTheFilesCodePage) {
    Document doc = parseDocument("999\n\xd6\xd0\n" + drawing("AC1015", "ANSI_936", "x"), "c.dxf");
    ASSERT_FALSE(doc.commentsBefore.empty());
    EXPECT_EQ(doc.commentsBefore[0].at(0).value, "中");
    Document again = parseDocument(serializeDocument(doc), "again.dxf");
    EXPECT_EQ(test::flatten(again), test::flatten(doc));
}

TEST(DxfLines, SequencesBelongToTheirOwner) {
    std::string bytes =
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nPOLYLINE\n 66\n1\n  0\nVERTEX\n  0\nVERTEX\n  0\nSEQEND\n"
        "  0\nINSERT\n  2\nB\n 66\n     1\n  0\nATTRIB\n  2\nFLOOR\n  0\nSEQEND\n"
        "  0\nINSERT\n  2\nB\n  0\nLINE\n  0\nENDSEC\n  0\nEOF\n";
    Document doc = parseDocument(bytes, "seq.dxf");
    ASSERT_EQ(doc.entities.size(), 4u);
    EXPECT_EQ(doc.entities[0].children.size(), 3u);
    EXPECT_EQ(doc.entities[1].children.size(), 2u);
    EXPECT_EQ(doc.entities[1].children[0].type, "ATTRIB");
    EXPECT_TRUE(doc.entities[2].children.empty());  // no 66: nothing follows it
    EXPECT_EQ(doc.entities[3].record.type, "LINE");
}

TEST(DxfLines, StrayEndsecInsideTheHeaderIsDropped) {
    std::string bytes =
        "  0\nSECTION\n  2\nHEADER\n  9\n$HANDSEED\n  5\nFFFF\n  0\nENDSEC\n  9\n$DIMASZ\n"
        " 40\n2.5\n  0\nENDSEC\n  0\nEOF\n";
    Document doc = parseDocument(bytes, "stray-endsec.dxf");
    EXPECT_EQ(headerValue(doc, "$DIMASZ"), "2.5");
    EXPECT_EQ(doc.sectionOrder, std::vector<std::string>{"HEADER"});
}

TEST(DxfHeaderVars, SetReplacesOrAppendsAndRemoves) {
    Document doc = parseDocument(drawing("AC1015", "ANSI_1252", "x"), "h.dxf");
    setHeaderVar(doc, "$INSUNITS", {Tag{70, "4", 0}});
    setHeaderVar(doc, "$ACADVER", {Tag{1, "AC1032", 0}});
    EXPECT_EQ(headerValue(doc, "$ACADVER"), "AC1032");
    EXPECT_EQ(doc.header.at(1).value, "AC1032");  // replaced where it stood
    EXPECT_EQ(findHeaderVar(doc, "$INSUNITS").at(0).value, "4");
    EXPECT_TRUE(removeHeaderVar(doc, "$DWGCODEPAGE"));
    EXPECT_TRUE(findHeaderVar(doc, "$DWGCODEPAGE").empty());
    EXPECT_EQ(headerValue(doc, "$MISSING", "none"), "none");
    Document again = parseDocument(serializeDocument(doc), "h.dxf");
    EXPECT_EQ(test::flatten(again), test::flatten(doc));
}

TEST(DxfValueKinds, GroupCodeRanges) {
    const std::pair<int, ValueKind> kinds[] = {
        {0, ValueKind::String},    {5, ValueKind::Handle},    {10, ValueKind::Double},
        {59, ValueKind::Double},   {62, ValueKind::Int16},    {90, ValueKind::Int32},
        {100, ValueKind::String},  {105, ValueKind::Handle},  {160, ValueKind::Int64},
        {280, ValueKind::Int16},   {290, ValueKind::Bool},    {310, ValueKind::Binary},
        {330, ValueKind::Handle},  {370, ValueKind::Int16},   {390, ValueKind::Handle},
        {420, ValueKind::Int32},   {999, ValueKind::String},  {1000, ValueKind::String},
        {1004, ValueKind::Binary}, {1005, ValueKind::Handle}, {1010, ValueKind::Double},
        {1070, ValueKind::Int16},  {1071, ValueKind::Int32},
    };
    for (auto [code, kind] : kinds) EXPECT_EQ(valueKind(code), kind) << code;
}

}  // namespace
}  // namespace solx::dxf
