// What kind of value each DXF group code carries, and a check that a value's text fits it.
#pragma once

#include <string_view>

namespace solx::dxf {

enum class ValueKind { String, Double, Int16, Int32, Int64, Bool, Handle, Binary };

// Highest group code a DXF file may use; codes below 0 or above this are refused by the reader.
constexpr int kMaxGroupCode = 1071;

// The kind of value for a group code in 0..kMaxGroupCode, from the ranges of the DXF format.
// Codes the format leaves unassigned are treated as String so that their text is kept as it is.
ValueKind valueKind(int code);

// The kind of value for a group code inside a record of RECORD_TYPE ("LINE", "DIMSTYLE", ...):
// the same as valueKind except where a record gives a code a meaning of its own. A dimension
// style's own handle is 105 in every version, and its 5 is the arrow block name (DIMBLK), a text
// such as "ARCHTICK".
ValueKind valueKindIn(std::string_view recordType, int code);

// Name of a kind for messages ("double", "16-bit integer", ...).
const char* valueKindName(ValueKind kind);

// True when TEXT (the value line as read, without its line end) is a valid value of KIND:
// numbers may carry surrounding spaces as many writers pad them; an object's own handle (5, 105)
// and binary chunks are hexadecimal digits. References to other objects (320-369, 390-399, 480,
// 481, 1005) are not checked: known writers put names or nothing there, and such files open
// elsewhere. String values are always valid here (their encoding is checked elsewhere).
bool isValidValue(int code, std::string_view text);
// The same check for a value whose kind is already known (from valueKindIn).
bool isValidValue(ValueKind kind, int code, std::string_view text);

// Parses an integer value (surrounding spaces allowed); false when the text is not one.
bool parseIntValue(std::string_view text, long long& out);

}  // namespace solx::dxf
