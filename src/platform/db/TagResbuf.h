// Conversions between DXF tags and result-buffer lists, and small name helpers of the database.
#pragma once

#include <string>

#include "acad/AcDbObject.h"

namespace solx::db {

// Points (code c followed by c+10 and c+20) become one point buffer; text, numbers and binary
// chunks follow the code's type.
resbuf* tagsToResbuf(const AcDbDxfTags& tags);
AcDbDxfTags resbufToTags(const resbuf* list);
// The value a kept tag stands for in a filter (points gather their y and z tags).
AcDbFilterValue filterValueOf(const AcDbDxfTag& tag, const std::vector<AcDbKeptTag>& all);
// Symbol names compare without case, as the host does.
bool sameName(const std::wstring& a, const std::wstring& b);
bool sameName(const std::wstring& a, const wchar_t* b);
std::wstring upper(const std::wstring& s);

}  // namespace solx::db
