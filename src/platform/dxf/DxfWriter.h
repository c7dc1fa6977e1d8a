// Writing the tag-level document as an ASCII DXF file.
//
// Format: every tag is two lines, the group code right-aligned in three columns ("  0",
// " 10", "1001") and the value as it is held (numbers keep the text they were read with).
// Lines end with "\n". Text is UTF-8 for AC1021 and later; for older versions (or a document
// without $ACADVER) it is written in the code page of $DWGCODEPAGE (ANSI_1252 when absent), and
// characters the code page lacks as \U+XXXX, which every reader decodes. Line breaks inside a
// value are written as \U+000A / \U+000D.
#pragma once

#include <string>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

// The whole file as one string.
std::string serializeDocument(const Document& doc);

// Saves DOC at PATH without ever leaving a half-written drawing there: the file is written
// beside the target under a temporary name, flushed to disk, and renamed over the target; the
// previous file is kept as PATH + ".bak". Throws DxfError(path, 0, reason) when any step fails,
// in which case the target is as it was before the call.
void writeDocument(const Document& doc, const std::string& path);

}  // namespace solx::dxf
