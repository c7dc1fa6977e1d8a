// Writing the tag-level document as an ASCII DXF file.
//
// Format: every tag is two lines, the group code right-aligned in three columns ("  0",
// " 10", "1001") and the value as it is held (numbers keep the text they were read with).
// Lines end with "\n". Text is UTF-8 for AC1021 and later; for older versions (or a document
// without $ACADVER) it is written in the code page of $DWGCODEPAGE (ANSI_1252 when absent), and
// characters the code page lacks as \U+XXXX, which every reader decodes. Line breaks inside a
// value are written as \U+000A / \U+000D.
#pragma once

#include <functional>
#include <string>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

class TagWriter;
// Writes the body of the section NAME straight to OUT and returns true, or returns false to
// leave the section to the document. A caller with a large drawing streams its sections this
// way instead of building them as a second copy in a Document.
using SectionBodies = std::function<bool(const std::string& name, TagWriter& out)>;

// The whole file as one string.
std::string serializeDocument(const Document& doc, const SectionBodies& bodies = {});

// Saves DOC at PATH without ever leaving a half-written drawing there: the file is written
// beside the target under a short temporary name (".~" + hash + 7 characters), flushed to disk,
// and renamed over the target; the previous file is kept as PATH + ".bak" (shortened when the
// name would be too long). A symbolic link is followed: its target is replaced and the link
// stays. A PATH that is not a regular file (a folder, a FIFO, a device) is refused. Temporary
// files an interrupted save of the same target left behind are removed. Throws
// DxfError(path, 0, reason) when any step fails, in which case the target is as it was.
void writeDocument(const Document& doc, const std::string& path, const SectionBodies& bodies = {});

}  // namespace solx::dxf
