// CString: the framework's 8-bit text in the system's ANSI code page.
// Portable (built on Linux and Windows). Value semantics: every copy owns its bytes.
#pragma once

#include <string>

class CString
{
    // Data members
private:
    std::string m_str;

    // Construction
public:
    CString() = default;
    CString(const char* psz);              // null counts as empty text
    CString(const char* pch, int nLength); // the first nLength bytes (negative: none)
    CString(char ch, int nRepeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    // Attributes
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str.at(static_cast<size_t>(nIndex)); }
    void SetAt(int nIndex, char ch) { m_str.at(static_cast<size_t>(nIndex)) = ch; }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }

    // Concatenation
    CString& operator+=(const CString& str);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);

    // Comparison: byte order, letter case significant
    int Compare(const char* psz) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    // Searching and extraction
    // Index (from 0) of the first occurrence at or after nStart, or -1. Case-sensitive.
    int Find(const char* pszSub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    int ReverseFind(char ch) const;
    // A start below 0 counts as 0, a count below 0 as 0; the part is cut at the end of the
    // text and a start beyond the end gives empty text.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    // Modification
    // Removes trailing blank, tab, carriage return, line feed, vertical tab and form feed.
    void TrimRight();
    void TrimLeft();
    // Only the ASCII letters change; every other byte stays.
    void MakeLower();
    void MakeUpper();

    // Buffer for functions that write into the text
    // Returns a writable buffer of at least nMinBufLength characters plus a terminator.
    char* GetBuffer(int nMinBufLength);
    // Ends the text at nNewLength, or at the first NUL when nNewLength is -1.
    void ReleaseBuffer(int nNewLength = -1);
};
