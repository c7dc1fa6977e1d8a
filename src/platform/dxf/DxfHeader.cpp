#include "dxf/DxfHeader.h"

namespace solx::dxf {
namespace {

// Index range [first, last) of NAME's value tags; first == npos when absent.
std::pair<size_t, size_t> findRange(const Tags& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i].code != 9 || header[i].value != name) continue;
        size_t end = i + 1;
        while (end < header.size() && header[end].code != 9) ++end;
        return {i + 1, end};
    }
    return {std::string::npos, std::string::npos};
}

Tags withoutLines(Tags values) {
    for (Tag& t : values) t.line = 0;
    return values;
}

}  // namespace

Tags findHeaderVar(const Tags& header, std::string_view name) {
    auto [first, last] = findRange(header, name);
    if (first == std::string::npos) return {};
    return Tags(header.begin() + static_cast<std::ptrdiff_t>(first),
                header.begin() + static_cast<std::ptrdiff_t>(last));
}

Tags findHeaderVar(const Document& doc, std::string_view name) {
    return findHeaderVar(doc.header, name);
}

std::string headerValue(const Document& doc, std::string_view name, std::string_view fallback) {
    Tags values = findHeaderVar(doc, name);
    return values.empty() ? std::string(fallback) : values.front().value;
}

void setHeaderVar(Document& doc, std::string_view name, const Tags& values) {
    Tags fresh = withoutLines(values);
    auto [first, last] = findRange(doc.header, name);
    if (first == std::string::npos) {
        doc.header.push_back(Tag{9, std::string(name), 0});
        doc.header.insert(doc.header.end(), fresh.begin(), fresh.end());
        return;
    }
    auto begin = doc.header.begin();
    doc.header.erase(begin + static_cast<std::ptrdiff_t>(first),
                     begin + static_cast<std::ptrdiff_t>(last));
    doc.header.insert(doc.header.begin() + static_cast<std::ptrdiff_t>(first), fresh.begin(),
                      fresh.end());
}

bool removeHeaderVar(Document& doc, std::string_view name) {
    auto [first, last] = findRange(doc.header, name);
    if (first == std::string::npos) return false;
    auto begin = doc.header.begin();
    doc.header.erase(begin + static_cast<std::ptrdiff_t>(first - 1),
                     begin + static_cast<std::ptrdiff_t>(last));
    return true;
}

}  // namespace solx::dxf
