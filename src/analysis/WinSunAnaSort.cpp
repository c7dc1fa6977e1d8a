#include <cwchar>
#include <cwctype>

#include "WinSunAna.h"
#include "solx/SolxDegree.h"

namespace {

int Compare(int a, int b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Labels compare piecewise: runs of digits by their value, other characters one by one, so
// "3-9" comes before "3-12". Until the product-line label comparison is available here.
int CompareLabel(const std::wstring& a, const std::wstring& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
            size_t ei = i, ej = j;
            while (ei < a.size() && std::iswdigit(a[ei])) ++ei;
            while (ej < b.size() && std::iswdigit(b[ej])) ++ej;
            const double x = std::wcstod(a.substr(i, ei - i).c_str(), nullptr);
            const double y = std::wcstod(b.substr(j, ej - j).c_str(), nullptr);
            if (x != y) return x < y ? -1 : 1;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
            ++i;
            ++j;
        }
    }
    return Compare(static_cast<int>(a.size() - i), static_cast<int>(b.size() - j));
}

// Labels "prefix-suffix" with numeric prefixes order by the prefix's value, then the suffix.
int CompareDashedLabels(const std::wstring& a, const std::wstring& b) {
    const size_t da = a.find(L'-'), db = b.find(L'-');
    if (da == std::wstring::npos || db == std::wstring::npos) return CompareLabel(a, b);
    const std::wstring pa = a.substr(0, da), pb = b.substr(0, db);
    if (!IsDigital(pa) || !IsDigital(pb)) return CompareLabel(a, b);
    const int byPrefix = Compare(static_cast<int>(std::wcstol(pa.c_str(), nullptr, 10)),
                                 static_cast<int>(std::wcstol(pb.c_str(), nullptr, 10)));
    return byPrefix != 0 ? byPrefix : CompareLabel(a.substr(da + 1), b.substr(db + 1));
}

}  // namespace

int CompareWindowLabels(const std::wstring& a, const std::wstring& b) {
    return CompareLabel(a, b);
}

int CompareWindowsByFloor(SolxWinSunlightInfo* const& a, SolxWinSunlightInfo* const& b) {
    const int byFloor = Compare(a->m_nFloor, b->m_nFloor);
    return byFloor != 0 ? byFloor : Compare(a->m_nNumber, b->m_nNumber);
}

int CompareWindowsByNumber(SolxWinSunlightInfo* const& a, SolxWinSunlightInfo* const& b) {
    if (const int c = Compare(a->m_nNumber, b->m_nNumber)) return c;
    if (const int c = Compare(a->m_nFloor, b->m_nFloor)) return c;
    return CompareDashedLabels(a->m_strLabel, b->m_strLabel);
}
