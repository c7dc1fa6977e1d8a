// Header variables of a document: "9 $NAME" followed by the tags of its value (one tag for
// most, 10/20/30 for points).
#pragma once

#include <string>
#include <string_view>

#include "dxf/DxfDocument.h"

namespace solx::dxf {

// The value tags of header variable NAME ("$ACADVER"); empty when the header lacks it.
Tags findHeaderVar(const Tags& header, std::string_view name);
Tags findHeaderVar(const Document& doc, std::string_view name);

// The text of the first value tag of NAME, or FALLBACK when the variable is absent.
std::string headerValue(const Document& doc, std::string_view name, std::string_view fallback = {});

// Replaces the value tags of NAME, or appends the variable at the end of the header when it
// is absent. Tags set here carry line 0.
void setHeaderVar(Document& doc, std::string_view name, const Tags& values);

// Removes NAME and its value tags; false when it was not there.
bool removeHeaderVar(Document& doc, std::string_view name);

}  // namespace solx::dxf
