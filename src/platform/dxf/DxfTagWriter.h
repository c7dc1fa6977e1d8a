// Formats tags into DXF text, optionally flushing to a file descriptor as the buffer fills.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"
#include "dxf/DxfTextCodec.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {

class TagWriter {
public:
    // Text is encoded for the version and code page in DOC's header. FD < 0: everything
    // accumulates in the buffer (see take()).
    TagWriter(const Document& doc, int fd, std::string path);
    void tag(int code, std::string_view value);
    void tag(const Tag& t) { tag(t.code, t.value); }
    void tags(const Tags& ts);
    // A record type or section name: ASCII, written as it is.
    void name(int code, std::string_view value);
    void record(const Record& r);
    // Writes what is buffered to the descriptor. Throws DxfError on a write error.
    void flush();
    std::string take() { return std::move(buf_); }

private:
    void writeCode(int code);
    [[noreturn]] void refuse(int code, std::string_view value) const;

    std::string buf_;
    TextEncoder encoder_;
    int fd_;
    std::string path_;
    const Record* current_ = nullptr;  // the record being written, named in messages
};

// Writes DOC section by section in its sectionOrder; BODIES, when set, may write any
// section's body itself.
void writeSections(const Document& doc, TagWriter& out, const SectionBodies& bodies = {});

}  // namespace solx::dxf
