// The wide string object: a thin layer over std::wstring with MFC's names and index rules.
#include "mfc/CString.h"

#include <algorithm>
#include <cwctype>

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength));
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = static_cast<int>(std::wcslen(m_str.c_str()));
    m_str.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

CString& CString::operator=(const wchar_t* text) {
    m_str = text ? text : L"";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_str += other.m_str;
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    if (text) m_str += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_str + b.m_str);
}
CString operator+(const CString& a, const wchar_t* b) {
    return CString(a) += b;
}
CString operator+(const wchar_t* a, const CString& b) {
    return CString(a) += b;
}
CString operator+(const CString& a, wchar_t b) {
    return CString(a) += b;
}

int CString::Compare(const wchar_t* other) const {
    return m_str.compare(other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const {
    CString a(*this), b(other);
    return a.MakeLower().Compare(b.MakeLower());
}

CString& CString::MakeUpper() {
    for (auto& ch : m_str) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeLower() {
    for (auto& ch : m_str) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

CString& CString::Trim() {
    return TrimLeft().TrimRight();
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < m_str.size() && std::iswspace(static_cast<wint_t>(m_str[n]))) ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_str.empty() && std::iswspace(static_cast<wint_t>(m_str.back()))) m_str.pop_back();
    return *this;
}

static int ToIndex(size_t pos) {
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    return ToIndex(m_str.find(ch, static_cast<size_t>(start)));
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    return ToIndex(m_str.find(sub, static_cast<size_t>(start)));
}

int CString::ReverseFind(wchar_t ch) const {
    return ToIndex(m_str.rfind(ch));
}

CString CString::Left(int count) const {
    return CString(m_str.substr(0, static_cast<size_t>(std::clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_str.substr(static_cast<size_t>(GetLength() - count)));
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text) {
    if (text) m_str.insert(static_cast<size_t>(std::clamp(index, 0, GetLength())), text);
    return GetLength();
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    const std::wstring from = oldText ? oldText : L"", to = newText ? newText : L"";
    if (from.empty()) return 0;
    int count = 0;
    for (size_t pos = m_str.find(from); pos != std::wstring::npos;
         pos = m_str.find(from, pos + to.size())) {
        m_str.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Remove(wchar_t ch) {
    const auto before = m_str.size();
    std::erase(m_str, ch);
    return static_cast<int>(before - m_str.size());
}

void CString::FormatV(const wchar_t* format, va_list args) {
    m_str = solx::win::FormatWide(format, args);
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    m_str += solx::win::FormatWide(format, args);
    va_end(args);
}
