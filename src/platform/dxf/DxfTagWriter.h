// Formats tags into DXF text, optionally flushing to a file descriptor as the buffer fills.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

class TagWriter {
public:
    // FD < 0: everything accumulates in the buffer (see take()).
    TagWriter(bool asciiOnly, int fd, std::string path);
    void tag(int code, std::string_view value);
    void tag(const Tag& t) { tag(t.code, t.value); }
    void tags(const Tags& ts);
    void record(const Record& r);
    // Writes what is buffered to the descriptor. Throws DxfError on a write error.
    void flush();
    std::string take() { return std::move(buf_); }

private:
    std::string buf_;
    bool asciiOnly_;
    int fd_;
    std::string path_;
};

// Writes DOC section by section in its sectionOrder.
void writeSections(const Document& doc, TagWriter& out);

// True when text for DOC must be written as ASCII with \U+XXXX escapes (before AC1021).
bool needsAsciiText(const Document& doc);

}  // namespace solx::dxf
