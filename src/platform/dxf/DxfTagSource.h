// Sources of raw group-code/value pairs: the ASCII line format and the binary format. The
// document builder reads tags from either without knowing which.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

// A tag as it stands in the file: the value is the undecoded text (for the ASCII format a view
// into the file's bytes, without the line end).
struct RawTag {
    int code = 0;
    std::string_view value;
    FilePos line = 0;  // line of the group code (ASCII) or its byte offset (binary)
};

class TagSource {
public:
    virtual ~TagSource() = default;
    // Reads the next tag; false at the end of the input. Throws DxfError on a malformed tag.
    virtual bool next(RawTag& tag) = 0;
    // Line (or position) just after the last tag read, for messages about a missing end.
    virtual FilePos endLine() const = 0;
    // Bytes consumed so far; the builder no longer needs anything before this offset.
    virtual size_t consumed() const = 0;
    // True when tag values are numbers in binary form rendered as text (the binary format).
    virtual bool isBinary() const { return false; }
};

// The ASCII format: lines alternating group code and value, LF or CRLF line ends, group codes
// possibly padded with spaces. A UTF-8 byte-order mark at the start is skipped.
class AsciiTagSource : public TagSource {
public:
    // FIRST_LINE: the number of lines before BYTES in the file (a test reads a few lines as if
    // they stood deep inside a huge file).
    AsciiTagSource(std::string_view bytes, const std::string& fileName, FilePos firstLine = 0);
    bool next(RawTag& tag) override;
    FilePos endLine() const override { return line_; }
    size_t consumed() const override { return pos_; }

private:
    bool readLine(std::string_view& out);
    int parseCode(std::string_view text) const;

    std::string_view bytes_;
    const std::string& file_;
    size_t pos_ = 0;
    FilePos line_ = 0;
};

}  // namespace solx::dxf
