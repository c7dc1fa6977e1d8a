// Reading DXF files into the tag-level document.
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

// Parses the bytes of a DXF file (ASCII, LF or CRLF, R12 to R2018; or binary DXF). FILE_NAME is
// only used in messages. Throws DxfError(file, line, reason) for anything malformed: a group
// code that is not a number, a value of the wrong kind for its group code, text not valid in
// the file's encoding, a truncated file, a section without ENDSEC, a missing EOF.
Document parseDocument(std::string_view bytes, const std::string& fileName);

// Maps the file and parses it. Throws DxfError (line 0) when the file cannot be opened.
Document readDocument(const std::string& path);

}  // namespace solx::dxf
