// Filter lists: parsed once into a tree of logical groups and tests, then evaluated per object.
#include <cmath>
#include <cwctype>
#include <vector>

#include "acad/acedFilter.h"

namespace solx::editor {

struct SelectionFilter::Node {
    enum class Type { And, Or, Xor, Not, Test } type = Type::And;
    std::vector<std::unique_ptr<Node>> children;
    // Test: the group code, its operator(s) and the value to compare with.
    short code = 0;
    std::vector<std::wstring> ops;
    ResbufValueKind kind = ResbufValueKind::None;
    double number = 0.0;
    double point[3] = {0.0, 0.0, 0.0};
    std::wstring text;
};

namespace {

using Node = SelectionFilter::Node;

std::wstring Upper(const wchar_t* s) {
    std::wstring out = s ? s : L"";
    for (auto& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

std::vector<std::wstring> SplitOps(const std::wstring& op) {
    std::vector<std::wstring> out(1);
    for (wchar_t c : op) {
        if (c == L',')
            out.emplace_back();
        else if (c != L' ')
            out.back() += c;
    }
    return out;
}

bool KnownOp(const std::wstring& op) {
    static const wchar_t* const ops[] = {L"=", L"!=", L"/=", L"<>", L"<", L"<=",
                                         L">", L">=", L"*",  L"&",  L"&="};
    for (const wchar_t* known : ops)
        if (op == known) return true;
    return false;
}

bool Compare(const std::wstring& op, double have, double want) {
    const double tol = 1e-10 * std::max(1.0, std::fabs(want));
    if (op == L"*") return true;
    if (op == L"=") return std::fabs(have - want) <= tol;
    if (op == L"!=" || op == L"/=" || op == L"<>") return std::fabs(have - want) > tol;
    if (op == L"<") return have < want;
    if (op == L"<=") return have <= want;
    if (op == L">") return have > want;
    if (op == L">=") return have >= want;
    const auto bits = static_cast<long long>(have), mask = static_cast<long long>(want);
    if (op == L"&") return (bits & mask) != 0;
    return (bits & mask) == mask;  // "&="
}

bool TestText(const Node& n, const AcDbFilterValue& v) {
    const std::wstring& op = n.ops.front();
    if (op == L"*") return true;
    const bool match = acutWcMatch(v.text.c_str(), n.text.c_str()) == RTNORM;
    if (op == L"=") return match;
    if (op == L"!=" || op == L"/=" || op == L"<>") return !match;
    const int cmp = Upper(v.text.c_str()).compare(Upper(n.text.c_str()));
    return Compare(op, cmp, 0.0);
}

bool TestPoint(const Node& n, const AcDbFilterValue& v) {
    const double have[3] = {v.point.x, v.point.y, v.point.z};
    for (int i = 0; i < 3; ++i) {
        const std::wstring& op = n.ops.size() == 3 ? n.ops[i] : n.ops.front();
        if (!Compare(op, have[i], n.point[i])) return false;
    }
    return true;
}

bool Evaluate(const Node& n, const FieldLookup& lookup);

bool EvaluateTest(const Node& n, const FieldLookup& lookup) {
    const std::optional<AcDbFilterValue> v = lookup(n.code);
    if (!v) return false;
    switch (n.kind) {
        case ResbufValueKind::Text:
            return !v->isNumber && !v->isPoint && TestText(n, *v);
        case ResbufValueKind::Point:
            return v->isPoint && TestPoint(n, *v);
        default:
            return v->isNumber && Compare(n.ops.front(), v->number, n.number);
    }
}

bool Evaluate(const Node& n, const FieldLookup& lookup) {
    switch (n.type) {
        case Node::Type::Test:
            return EvaluateTest(n, lookup);
        case Node::Type::Not:
            return !Evaluate(*n.children.front(), lookup);
        case Node::Type::Xor:
            return Evaluate(*n.children[0], lookup) != Evaluate(*n.children[1], lookup);
        case Node::Type::Or:
            for (const auto& c : n.children)
                if (Evaluate(*c, lookup)) return true;
            return false;
        case Node::Type::And:
            for (const auto& c : n.children)
                if (!Evaluate(*c, lookup)) return false;
            return true;
    }
    return false;
}

}  // namespace
}  // namespace solx::editor

namespace solx::editor {
namespace {

// Recursive-descent reader of a filter chain; records the first error with its item number.
class FilterParser {
public:
    explicit FilterParser(const resbuf* rb) : m_rb(rb) {}

    std::unique_ptr<Node> Parse(std::wstring& error) {
        auto root = std::make_unique<Node>();
        ParseItems(*root, L"");
        error = m_error;
        return root;
    }

private:
    void Fail(const std::wstring& why) {
        if (m_error.empty()) m_error = L"filter item " + std::to_wstring(m_index) + L": " + why;
    }

    void Advance() {
        m_rb = m_rb->rbnext;
        ++m_index;
    }

    // Reads items into group until the closing operator (empty: until the end of the chain).
    void ParseItems(Node& group, const std::wstring& closing) {
        while (m_rb && m_error.empty()) {
            if (m_rb->restype == -4 && IsClosing(Upper(m_rb->resval.rstring))) {
                const std::wstring op = Upper(m_rb->resval.rstring);
                if (closing.empty()) return Fail(L"unexpected closing operator \"" + op + L"\"");
                if (op != closing) return Fail(L"unbalanced group, \"" + closing + L"\" expected");
                Advance();
                return;
            }
            if (auto child = ParseOne()) group.children.push_back(std::move(child));
        }
        if (!closing.empty()) Fail(L"missing \"" + closing + L"\"");
    }

    static bool IsClosing(const std::wstring& op) {
        return op == L"AND>" || op == L"OR>" || op == L"XOR>" || op == L"NOT>";
    }

    std::unique_ptr<Node> ParseOne() {
        if (m_rb->restype != -4) return ParseTest(L"=");
        const std::wstring op = Upper(m_rb->resval.rstring);
        Advance();
        if (op == L"<AND" || op == L"<OR" || op == L"<XOR" || op == L"<NOT") return ParseGroup(op);
        if (!KnownOp(SplitOps(op).front())) {
            Fail(L"unknown operator \"" + op + L"\"");
            return nullptr;
        }
        if (!m_rb || m_rb->restype == -4) {
            Fail(L"operator \"" + op + L"\" has no value after it");
            return nullptr;
        }
        return ParseTest(op);
    }

    std::unique_ptr<Node> ParseGroup(const std::wstring& op) {
        auto node = std::make_unique<Node>();
        const std::wstring name = op.substr(1);
        node->type = name == L"AND"   ? Node::Type::And
                     : name == L"OR"  ? Node::Type::Or
                     : name == L"XOR" ? Node::Type::Xor
                                      : Node::Type::Not;
        ParseItems(*node, name + L">");
        const size_t n = node->children.size();
        if (node->type == Node::Type::Not && n != 1) Fail(L"<NOT takes exactly one operand");
        if (node->type == Node::Type::Xor && n != 2) Fail(L"<XOR takes exactly two operands");
        if (n == 0) Fail(L"empty " + op + L" group");
        return node;
    }

    std::unique_ptr<Node> ParseTest(const std::wstring& op) {
        auto node = std::make_unique<Node>();
        node->type = Node::Type::Test;
        // RTDXF0 stands for group 0 where 0 would end an acutBuildList argument list.
        node->code = m_rb->restype == RTDXF0 ? short{0} : m_rb->restype;
        node->ops = SplitOps(op);
        node->kind = acutResbufValueKind(m_rb->restype);
        if (!ReadValue(*node)) return nullptr;
        for (const auto& each : node->ops)
            if (!KnownOp(each)) Fail(L"unknown operator \"" + op + L"\"");
        if (node->ops.size() != 1 &&
            (node->kind != ResbufValueKind::Point || node->ops.size() != 3))
            Fail(L"one operator, or three for a point, expected");
        Advance();
        return node;
    }

    bool ReadValue(Node& n) {
        const auto& v = m_rb->resval;
        switch (n.kind) {
            case ResbufValueKind::Text:
                n.text = v.rstring ? v.rstring : L"";
                return true;
            case ResbufValueKind::Real:
                n.number = v.rreal;
                return true;
            case ResbufValueKind::Short:
                n.number = v.rint;
                return true;
            case ResbufValueKind::Long:
                n.number = v.rlong;
                return true;
            case ResbufValueKind::Int64:
                n.number = static_cast<double>(v.mnInt64);
                return true;
            case ResbufValueKind::Point:
                for (int i = 0; i < 3; ++i) n.point[i] = v.rpoint[i];
                return true;
            default:
                Fail(L"group code " + std::to_wstring(m_rb->restype) + L" cannot be filtered");
                return false;
        }
    }

    const resbuf* m_rb;
    int m_index = 1;
    std::wstring m_error;
};

}  // namespace

SelectionFilter::SelectionFilter(const resbuf* filter) {
    m_root = FilterParser(filter).Parse(m_error);
}
SelectionFilter::~SelectionFilter() = default;
SelectionFilter::SelectionFilter(SelectionFilter&&) noexcept = default;
SelectionFilter& SelectionFilter::operator=(SelectionFilter&&) noexcept = default;

bool SelectionFilter::Matches(const FieldLookup& lookup) const {
    return ok() && m_root && Evaluate(*m_root, lookup);
}

}  // namespace solx::editor
