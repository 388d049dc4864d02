#include "platform/mfc/cstring.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStringTest, FormatGrowsPastAnyFixedBufferAndKeepsTheCLocale)
{
    const std::wstring longName(5000, L'x');
    CString text;
    text.Format(L"%ls=%.2f dB (%d)", longName.c_str(), -3.14159, 7);
    EXPECT_EQ(text.GetLength(), 5000 + 13);
    EXPECT_EQ(text.Right(13), CString(L"=-3.14 dB (7)"));

    // A narrow argument with %s, a wide one with %ls.
    text.Format(L"%s/%ls", "a\xC3\xA9", L"\x00E9");
    EXPECT_EQ(text.Left(1), CString(L"a"));
    EXPECT_EQ(text.Right(2), CString(L"/\x00E9"));

    // Broken input leaves an empty string, never a crash.
    text.Format(L"%s", "\xFF\xFE");
    EXPECT_TRUE(text.IsEmpty());
    text.Format(nullptr);
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringTest, SubstringsClampOutOfRangeCountsAsTheFrameworkDoes)
{
    const CString text(L"Balanced.prs");
    EXPECT_EQ(text.Left(100), text);
    EXPECT_EQ(text.Left(-1), CString());
    EXPECT_EQ(text.Mid(9), CString(L"prs"));
    EXPECT_EQ(text.Mid(50), CString());
    EXPECT_EQ(text.Mid(-3, 3), CString(L"Bal"));
    EXPECT_EQ(text.Right(3), CString(L"prs"));
    EXPECT_EQ(text.Right(99), text);
    EXPECT_EQ(text.Find(L".prs"), 8);
    EXPECT_EQ(text.Find(L'z'), -1);
    EXPECT_EQ(text.Find(L"a", 50), -1);
    EXPECT_EQ(text.ReverseFind(L'a'), 3);
}

TEST(CStringTest, EditingOperationsReportWhatTheyChanged)
{
    CString text(L"  a\\b\\c \r\n");
    EXPECT_EQ(text.Trim(), CString(L"a\\b\\c"));
    EXPECT_EQ(text.Replace(L'\\', L'/'), 2);
    EXPECT_EQ(text, CString(L"a/b/c"));
    EXPECT_EQ(text.Replace(L"/", L"//"), 2) << "replacement text must not be scanned again";
    EXPECT_EQ(text, CString(L"a//b//c"));
    EXPECT_EQ(text.Replace(L"", L"x"), 0);
    EXPECT_EQ(CString(L"MiX").MakeLower(), CString(L"mix"));
    EXPECT_EQ(CString(L"abc").CompareNoCase(L"ABC"), 0);

    CString buffer;
    wchar_t* raw = buffer.GetBuffer(16);
    raw[0] = L'o';
    raw[1] = L'k';
    raw[2] = 0;
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer, CString(L"ok"));
}

TEST(CStringTest, NarrowAndWideConvertThroughUtf8)
{
    const CString wide(L"Caf\x00E9 \x266B");
    const CStringA narrow(wide);
    EXPECT_EQ(narrow.Str(), "Caf\xC3\xA9 \xE2\x99\xAB");
    EXPECT_EQ(CString(narrow.GetString()), wide);
}
