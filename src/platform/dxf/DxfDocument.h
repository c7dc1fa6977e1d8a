// The tag-level model of a DXF file: everything a file holds, section by section, as group-code /
// value pairs, so that a load followed by a save writes back what was read. The drawing database
// builds its typed objects from this model and writes them back into it; whatever it does not
// model stays here untouched.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace solx::dxf {

// Where something stands in a file: the line number in an ASCII file, the byte offset in a binary
// one. 64 bits: a binary file passes 2 GB, an ASCII file 2^31 lines, long before memory runs out.
using FilePos = std::int64_t;

// One group code and its value. Text values are UTF-8 (decoded from the file's code page and
// \U+XXXX escapes on read); numbers keep the exact text they had in the file, so an untouched
// value is written back byte for byte. Binary chunks (310-319, 1004) stay as their hex text.
struct Tag {
    Tag() = default;
    Tag(int c, std::string v, FilePos l = 0) : code(c), line(l), value(std::move(v)) {}

    // Code and position share one 64-bit word, so that a tag takes 40 bytes, not 48: a drawing
    // holds millions. Group codes stop at 1071; 47 bits of position reach 128 TB.
    int code : 16 = 0;
    // Line (ASCII) or byte offset (binary) of the group code in the source file; 0 for tags we
    // made.
    FilePos line : 48 = 0;
    std::string value;
};
static_assert(sizeof(Tag) <= sizeof(std::string) + sizeof(FilePos));
using Tags = std::vector<Tag>;

// One record: the "0 TYPE" tag's type and every tag after it up to the next group code 0.
struct Record {
    std::string type;
    Tags tags;
    FilePos line = 0;  // line (or byte offset) of the "0 TYPE" tag
};

// An entity with the records that belong to it in the stream: VERTEX records and the SEQEND of
// a POLYLINE, ATTRIB records and the SEQEND of an INSERT with attributes.
struct Entity {
    Record record;
    std::vector<Record> children;
};

// A table of the TABLES section: its "0 TABLE" record, its entries, and the ENDTAB.
struct Table {
    Record head;  // type "TABLE", tag 2 holds the table name (LAYER, STYLE, ...)
    std::vector<Record> entries;
    Record end{"ENDTAB", {}, 0};  // "ENDTAB"; tags after it are rare but kept
};

// A block definition of the BLOCKS section.
struct Block {
    Record begin;  // "BLOCK"
    std::vector<Entity> entities;
    Record end;  // "ENDBLK"
};

// A section we keep whole without looking inside (CLASSES, THUMBNAILIMAGE, ACDSDATA, unknown).
struct RawSection {
    std::string name;
    std::vector<Record> records;
    Tags head;  // tags between "2 NAME" and the first record (THUMBNAILIMAGE starts with 90, 310)
};

struct Document {
    Tags header;  // the HEADER section's tags: "9 $NAME" followed by its value tags
    std::vector<RawSection> rawSections;  // in file order, written where they stood
    std::vector<Table> tables;
    std::vector<Block> blocks;
    std::vector<Entity> entities;
    std::vector<Record> objects;
    // Order of the sections in the file, by name, so the writer keeps it.
    std::vector<std::string> sectionOrder;
    // 999 comments outside records, by where they stood: commentsBefore[i] before the
    // "0 SECTION" of sectionOrder[i] (index sectionOrder.size() holds those before "0 EOF"),
    // commentsInside[i] right after the section's "2 NAME" (raw sections keep them in their
    // head instead). Both may be shorter than
    // sectionOrder (missing entries are empty).
    std::vector<Tags> commentsBefore;
    std::vector<Tags> commentsInside;
};

// A file that cannot be read: says which file, which line and why.
class DxfError : public std::runtime_error {
public:
    DxfError(std::string file, FilePos line, const std::string& reason)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason),
          file_(std::move(file)),
          line_(line) {}
    const std::string& file() const { return file_; }
    // Line of an ASCII file, byte offset of a binary one; 0 when the file as a whole is meant.
    FilePos line() const { return line_; }

private:
    std::string file_;
    FilePos line_;
};

}  // namespace solx::dxf
