// The binary DXF format: a sentinel, then tags with binary group codes (one byte in R12 files,
// two bytes little-endian later) and values in binary form. Numbers are rendered as text so the
// document holds the same kind of values as for an ASCII file; "line" numbers in tags and
// messages are byte offsets into the file.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfTagSource.h"

namespace solx::dxf {

// True when BYTES start with the binary DXF sentinel.
bool isBinaryDxf(std::string_view bytes);

class BinaryTagSource : public TagSource {
public:
    // BASE is added to every offset reported (a test reads a few bytes as if they stood past
    // 2 GB in a huge file).
    BinaryTagSource(std::string_view bytes, const std::string& fileName, FilePos base = 0);
    bool next(RawTag& tag) override;
    FilePos endLine() const override { return at(); }
    size_t consumed() const override { return pos_; }
    bool isBinary() const override { return true; }

private:
    FilePos at() const { return base_ + static_cast<FilePos>(pos_); }
    void need(size_t n, int code) const;
    int readCode();
    void readValue(int code, RawTag& tag);
    void readString(RawTag& tag, int code);
    void readChunk(RawTag& tag, int code);
    template <typename T>
    T readNumber(int code);

    std::string_view bytes_;
    const std::string& file_;
    size_t pos_ = 0;
    FilePos base_ = 0;
    bool oneByteCodes_ = false;
    std::string text_;  // rendered value of the last numeric or binary tag
};

}  // namespace solx::dxf
