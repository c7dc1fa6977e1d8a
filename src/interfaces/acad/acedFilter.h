#pragma once
// The host's selection filter lists, matched against one object through a field lookup (what
// the object would write for a DXF group code), so that matching needs no database.
//
// A filter is a result-buffer chain of (group code, value) items, all of which must match.
// Text values are wildcard patterns (acutWcMatch). A (-4 . "op") item puts a relational
// operator in front of the next item: "=", "!=", "/=", "<>", "<", "<=", ">", ">=", "*" (any),
// "&" (bits in common), "&=" (all given bits set); a point takes one operator per coordinate
// ("<,<,*") or one for all. (-4 . "<AND") ... (-4 . "AND>") and likewise OR, XOR (exactly two
// operands) and NOT (exactly one) group items. A group code the object does not have fails its
// item.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acad/AcDbCore.h"
#include "acad/adsdef.h"

// RTNORM when text matches the pattern, RTERROR otherwise. Patterns, without regard to case:
// "*" any run, "?" one character, "#" a digit, "@" a letter, "." neither, "[abc]" / "[~abc]"
// / "[a-z]" sets, "~" at the start negates, "," separates alternatives, "`" quotes the next
// character.
int acutWcMatch(const wchar_t* text, const wchar_t* pattern);

namespace solx::editor {

using FieldLookup = std::function<std::optional<AcDbFilterValue>(short code)>;

// A parsed filter, reusable for many objects.
class SelectionFilter {
public:
    // Parses the chain (null: matches everything). On a malformed list, ok() is false and
    // error() says which item (1-based) is wrong and why.
    explicit SelectionFilter(const resbuf* filter);
    ~SelectionFilter();
    SelectionFilter(SelectionFilter&&) noexcept;
    SelectionFilter& operator=(SelectionFilter&&) noexcept;

    bool ok() const { return m_error.empty(); }
    const std::wstring& error() const { return m_error; }
    bool Matches(const FieldLookup& lookup) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
    std::wstring m_error;
};

}  // namespace solx::editor
