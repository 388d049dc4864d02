#pragma once

#include "platform/win32/win_types.h"

#include <cstdarg>
#include <string>
#include <string_view>

// The framework's text type: a wide string (one code point per wchar_t) that
// converts to LPCTSTR wherever the window functions want one. Format follows
// vswprintf: "%ls" for wide strings, "%s" for narrow ones, numbers in the C
// locale. A text that came from outside (a path, an exception message) is an
// argument, never the format.
class CString
{
public:
    CString() = default;
    CString(LPCWSTR text) : m_text(text != nullptr ? text : L"") {}
    CString(std::wstring text) : m_text(std::move(text)) {}
    CString(std::wstring_view text) : m_text(text) {}
    CString(wchar_t ch, int count = 1) : m_text(count > 0 ? count : 0, ch) {}
    explicit CString(const char* utf8); // the "ANSI code page" is UTF-8

    operator LPCWSTR() const { return m_text.c_str(); }
    LPCWSTR GetString() const { return m_text.c_str(); }
    const std::wstring& Str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }
    wchar_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, wchar_t ch) { m_text.at(static_cast<size_t>(index)) = ch; }

    void Format(LPCWSTR format, ...);
    void FormatV(LPCWSTR format, va_list args);
    void AppendFormat(LPCWSTR format, ...);

    // The string of this id from the string table; FALSE (and empty) when there is none.
    BOOL LoadString(UINT id);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCWSTR other);
    CString& operator+=(wchar_t ch);

    int Compare(LPCWSTR other) const;
    int CompareNoCase(LPCWSTR other) const;

    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(LPCWSTR characters);
    CString& TrimLeft(LPCWSTR characters);
    CString& TrimRight(LPCWSTR characters);
    CString& MakeLower();
    CString& MakeUpper();

    // Out-of-range counts and positions are clamped, as the framework does.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // -1 when not found.
    int Find(LPCWSTR sub, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    int ReverseFind(wchar_t ch) const;

    // The number of replacements made.
    int Replace(LPCWSTR oldText, LPCWSTR newText);
    int Replace(wchar_t oldChar, wchar_t newChar);
    int Remove(wchar_t ch);
    int Insert(int index, LPCWSTR text);
    int Delete(int index, int count = 1);

    // A writable buffer of at least `minLength` characters plus the terminator;
    // ReleaseBuffer(-1) takes the length up to the first NUL.
    LPWSTR GetBuffer(int minLength);
    LPWSTR GetBuffer() { return GetBuffer(GetLength()); }
    void ReleaseBuffer(int newLength = -1);

private:
    std::wstring m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator<(const CString& a, const CString& b);

using CStringW = CString;

// The narrow (UTF-8) text of the framework's conversion helpers.
class CStringA
{
public:
    CStringA() = default;
    CStringA(const char* text) : m_text(text != nullptr ? text : "") {}
    CStringA(std::string text) : m_text(std::move(text)) {}
    explicit CStringA(const CString& wide);

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

    void Format(const char* format, ...);

private:
    std::string m_text;
};

bool operator==(const CStringA& a, const CStringA& b);
