#pragma once
// A wide-character string object with the operations of the host's MFC string class that the
// module uses. Positions and lengths are in wchar_t units; Find and friends return -1 when the
// text is not there. Format takes the MFC (Unicode build) conversions: "%s" and "%c" take wide
// arguments, "%hs" and "%hc" narrow ones.

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}  // NOLINT: implicit like MFC
    CString(const wchar_t* text, int length) : m_str(text ? text : L"", text ? length : 0) {}
    CString(wchar_t ch, int repeat = 1) : m_str(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::wstring& text) : m_str(text) {}  // NOLINT: implicit on purpose

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int index) const { return m_str.at(index); }
    void SetAt(int index, wchar_t ch) { m_str.at(index) = ch; }
    wchar_t operator[](int index) const { return m_str.at(index); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }  // NOLINT: MFC's LPCTSTR
    const std::wstring& str() const { return m_str; }

    // A writable buffer of at least minLength characters (plus the terminator). After writing,
    // ReleaseBuffer(-1) takes the length up to the first zero, ReleaseBuffer(n) exactly n.
    wchar_t* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

    CString& operator=(const wchar_t* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend CString operator+(const wchar_t* a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);

    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
    friend bool operator!=(const CString& a, const wchar_t* b) { return a.Compare(b) != 0; }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_str > b.m_str; }

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    int Delete(int index, int count = 1);
    int Insert(int index, const wchar_t* text);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);

    void Format(const wchar_t* format, ...);
    void AppendFormat(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);

private:
    std::wstring m_str;
};

using CStringW = CString;

namespace solx::win {
// printf-style formatting with the MFC meaning of %s and %c (wide). Used by CString::Format and
// the command-line output.
std::wstring FormatWide(const wchar_t* format, va_list args);
// The same with the arguments given directly; the result grows to any length.
std::wstring FormatText(const wchar_t* format, ...);
}  // namespace solx::win
