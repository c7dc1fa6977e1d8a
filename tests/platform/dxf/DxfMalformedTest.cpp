// Malformed input is refused with the file, the line and the reason; nothing crashes.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "dxf/DxfBinaryTagSource.h"
#include "dxf/DxfDocumentBuilder.h"
#include "dxf/DxfReader.h"

namespace solx::dxf {
namespace {

struct BadCase {
    const char* name;
    std::string bytes;
    int line;
    const char* reason;
};

const std::string kEntities = "  0\nSECTION\n  2\nENTITIES\n";
const std::string kLine = "  0\nLINE\n  8\n0\n";
const std::string kEnd = "  0\nENDSEC\n  0\nEOF\n";

std::string header(const std::string& version, const std::string& codePage) {
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n" + version +
           "\n  9\n$DWGCODEPAGE\n  3\n" + codePage + "\n  0\nENDSEC\n";
}

const std::string kSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

const BadCase kCases[] = {
    {"empty file", "", 1, "file is empty"},
    {"group code is a word", kEntities + "abc\nLINE\n", 5, "group code is not a number"},
    {"group code with junk", kEntities + "  0x\nLINE\n", 5, "group code is not a number"},
    {"group code out of range", kEntities + kLine + "5000\nx\n", 9, "out of range"},
    {"blank group code line", kEntities + "\nLINE\n" + kEnd, 5, "empty line"},
    {"truncated after a group code", kEntities + kLine + " 10\n", 9, "without its value"},
    {"real number with letters", kEntities + kLine + " 10\n1.5x\n" + kEnd, 10, "real number"},
    {"real number without digits", kEntities + kLine + " 10\n.\n" + kEnd, 10, "real number"},
    {"integer with a fraction", kEntities + kLine + " 62\n1.5\n" + kEnd, 10, "16-bit integer"},
    {"flag word is text", kEntities + kLine + " 70\nyes\n" + kEnd, 10, "16-bit integer"},
    {"own handle not hexadecimal", kEntities + kLine + "  5\nXYZ\n" + kEnd, 10, "handle"},
    {"binary chunk not hexadecimal", kEntities + kLine + "310\n0G\n" + kEnd, 10, "binary"},
    {"NUL byte in text", kEntities + "  0\nTEXT\n  1\nab" + std::string(1, '\0') + "c\n" + kEnd, 8,
     "NUL"},
    {"section without ENDSEC at end of file", kEntities + kLine, 8, "before its ENDSEC"},
    {"section runs into the next", kEntities + kLine + "  0\nSECTION\n  2\nOBJECTS\n", 9,
     "has no ENDSEC"},
    {"missing EOF", kEntities + "  0\nENDSEC\n", 6, "before its EOF"},
    {"tag between sections", kEntities + "  0\nENDSEC\n  8\n0\n  0\nEOF\n", 7,
     "expected group code 0"},
    {"section without a name", "  0\nSECTION\n  8\nX\n", 3, "without its name"},
    {"unknown top-level record", "  0\nLINE\n  0\nEOF\n", 1, "expected SECTION or EOF"},
    {"record type with junk bytes", kEntities + "  0\nLI\xff\xfeNE\n" + kEnd, 6,
     "not a record or section name"},
    {"section twice", kEntities + "  0\nENDSEC\n" + kEntities + kEnd, 9, "appears twice"},
    {"table without ENDTAB", "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n" + kEnd, 9,
     "has no ENDTAB"},
    {"block without ENDBLK", "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n" + kLine + kEnd, 13,
     "no ENDBLK"},
    {"executable bytes",
     std::string("\x7f"
                 "ELF\x02\x01\x01\0\0\0",
                 10),
     1, "group code is not a number"},
    {"invalid UTF-8 in a modern file",
     header("AC1024", "ANSI_1252") + kEntities + "  0\nTEXT\n  1\nok\xff\xfe\n" + kEnd, 22,
     "not valid UTF-8"},
    {"invalid GBK text", header("AC1015", "ANSI_936") + kEntities + "  0\nTEXT\n  1\n\x81\x20\n",
     22, "not valid CP936"},
    {"real number beyond the largest double", kEntities + kLine + " 10\n1e309\n" + kEnd, 10,
     "real number"},
    {"negative real beyond the largest double", kEntities + kLine + " 40\n-2.5E+400\n" + kEnd, 10,
     "real number"},
    {"real number of 400 digits", kEntities + kLine + " 40\n" + std::string(400, '9') + "\n" + kEnd,
     10, "real number"},
    {"16-bit integer above its range", kEntities + kLine + " 62\n99999\n" + kEnd, 10,
     "16-bit integer"},
    {"16-bit integer below its range", kEntities + kLine + " 70\n-32769\n" + kEnd, 10,
     "16-bit integer"},
    {"32-bit integer above its range", kEntities + kLine + " 90\n2147483648\n" + kEnd, 10,
     "32-bit integer"},
    {"64-bit integer of 30 digits",
     kEntities + kLine + "160\n" + std::string(30, '7') + "\n" + kEnd, 10, "64-bit integer"},
    {"binary file cut inside a value", kSentinel + std::string("\0\0SECT", 6), 24, "ends inside"},
    {"binary file cut inside a number", kSentinel + std::string("\0\0SECTION\0\x0a\0\x01", 13), 34,
     "ends inside the value of group code 10"},
};

class DxfMalformed : public testing::TestWithParam<BadCase> {};

TEST_P(DxfMalformed, IsRefusedWithLineAndReason) {
    const BadCase& c = GetParam();
    try {
        parseDocument(c.bytes, "case.dxf");
        FAIL() << "accepted: " << c.name;
    } catch (const DxfError& e) {
        EXPECT_EQ(e.file(), "case.dxf");
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
}

// Entities handed on one by one as they are read: every fault is still found, at the same line,
// whatever was handed on before it and whatever the first pass over the raw tags met.
struct Collector : EntitySink {
    std::vector<Entity> entities;
    bool beginEntities(Document&) override { return true; }
    void entity(Entity&& e) override { entities.push_back(std::move(e)); }
};

TEST_P(DxfMalformed, IsRefusedAtTheSameLineWhenEntitiesAreStreamed) {
    const BadCase& c = GetParam();
    Collector sink;
    try {
        parseDocument(c.bytes, "case.dxf", &sink);
        FAIL() << "accepted: " << c.name;
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
}

std::string caseName(const testing::TestParamInfo<BadCase>& info) {
    std::string s = info.param.name;
    for (char& ch : s) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(Cases, DxfMalformed, testing::ValuesIn(kCases), caseName);

// Positions past 2^31 (a binary file over 2 GB, an ASCII file of more than 2^31 lines) are
// counted and reported as they are, not wrapped to negative numbers. The sources start counting
// at a base near 2^31, so no file of that size has to be written.
TEST(DxfMalformedFile, PositionsPast32BitsAreReportedWhole) {
    const FilePos base = (FilePos{1} << 31) - 16;
    const std::string name = "big.dxf";
    const std::string binary = kSentinel + std::string("\0\0SECTION\0\x02\0ENTITIES\0", 21) +
                               std::string(
                                   "\0\0LINE\0\x08\0"
                                   "0\0",
                                   11) +
                               std::string("\0\0ENDSEC\0\0\0EOF\0", 15);
    {
        BinaryTagSource source(binary, name, base);
        Document doc = DocumentBuilder(source, name).build();
        ASSERT_EQ(doc.entities.size(), 1u);
        EXPECT_EQ(doc.entities[0].record.line,
                  base + 43);  // after the sentinel and the section head
        ASSERT_EQ(doc.entities[0].record.tags.size(), 1u);
        EXPECT_EQ(doc.entities[0].record.tags[0].line, base + 50);
    }
    {  // the same, handed on as it is read
        BinaryTagSource source(binary, name, base);
        Collector sink;
        DocumentBuilder builder(source, name);
        builder.setEntitySink(&sink);
        EXPECT_TRUE(builder.build().entities.empty());
        ASSERT_EQ(sink.entities.size(), 1u);
        EXPECT_EQ(sink.entities[0].record.line, base + 43);
        EXPECT_EQ(sink.entities[0].record.tags.at(0).line, base + 50);
    }
    const std::string cut = kSentinel + std::string("\0\0SECTION\0\x0a\0\x01", 13);
    try {
        BinaryTagSource source(cut, name, base);
        DocumentBuilder(source, name).build();
        FAIL() << "a cut binary file was read";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line(), base + 34);
        EXPECT_NE(std::string(e.what()).find("big.dxf:2147483666:"), std::string::npos) << e.what();
    }
    const FilePos lines = FilePos{1} << 32;  // past both the signed and the unsigned 32-bit range
    try {
        const std::string text = kEntities + kLine + " 62\n1.5\n" + kEnd;
        AsciiTagSource source(text, name, lines);
        DocumentBuilder(source, name).build();
        FAIL() << "a bad value was read";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line(), lines + 10);
        EXPECT_NE(std::string(e.what()).find("big.dxf:4294967306:"), std::string::npos) << e.what();
    }
}

// The ends of each range still read: the limits above are not off by one.
TEST(DxfMalformedFile, ValuesAtTheEndsOfTheirRangesLoad) {
    const std::string values = " 62\n32767\n 70\n-32768\n 90\n-2147483648\n 91\n2147483647\n" +
                               std::string(" 10\n1.7976931348623157e308\n 20\n-1e-400\n") +
                               " 40\n" + std::string(299, '9') + "\n";
    Document doc = parseDocument(kEntities + kLine + values + kEnd, "ends.dxf");
    ASSERT_EQ(doc.entities.size(), 1u);
    EXPECT_EQ(doc.entities[0].record.tags.size(), 8u);
}

// A folder or a device is no drawing; a file is read whole before it is parsed, so one that
// shrinks meanwhile is an error, not a crash.
TEST(DxfMalformedFile, OnlyRegularFilesAreRead) {
    for (const char* path : {"/tmp", "/dev/zero"}) {
        try {
            readDocument(path);
            ADD_FAILURE() << "read " << path;
        } catch (const DxfError& e) {
            EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos);
        }
    }
}

TEST(DxfMalformedFile, MissingFileNamesThePath) {
    try {
        readDocument("/nonexistent/drawing.dxf");
        FAIL() << "a missing file was read";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.file(), "/nonexistent/drawing.dxf");
        EXPECT_NE(std::string(e.what()).find("cannot open"), std::string::npos);
    }
}

}  // namespace
}  // namespace solx::dxf
