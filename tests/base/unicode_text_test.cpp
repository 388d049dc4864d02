#include "base/unicode_text.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(UnicodeText, WideAndUtf8RoundTripEveryPlane)
{
    const std::wstring text = L"Pr\u00fcfung \u00e9 \u65e5\u672c \U0001F3B5";
    const std::string utf8 = WideToUtf8(text);
    EXPECT_EQ(utf8, "Pr\xC3\xBC"
                    "fung \xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(Utf8ToWide(utf8), text);
}

TEST(UnicodeText, InvalidInputBecomesTheReplacementCharacter)
{
    struct Case
    {
        std::string utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         L"a\uFFFDb"},       // byte that never starts a sequence
        {"\xC3", L"\uFFFD"}, // truncated at the end
        {"\xE6\x97"
         "x",
         L"\uFFFDx"},                    // truncated before an ASCII byte
        {"\xC0\xAF", L"\uFFFD"},         // overlong "/"
        {"\xED\xA0\x80", L"\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD"}, // beyond U+10FFFF
        {"\x80", L"\uFFFD"},             // lone continuation byte
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << "input bytes: " << c.utf8.size();
    }

    const std::wstring badWide{static_cast<wchar_t>(0xD800), L'x', static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(WideToUtf8(badWide), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(UnicodeText, WidePathWithNonAsciiOpensTheFileItNames)
{
    TempDir dir;
    const std::wstring folder = Utf8ToWide(dir.Path().string()) + L"/Pr\u00fcfung";
    std::filesystem::create_directories(WidePathToFs(folder));
    const std::wstring file = folder + L"/Mix \u00e9.mst";
    {
        std::ofstream out(WidePathToFs(file));
        out << "x";
    }
    EXPECT_TRUE(std::filesystem::exists(dir /
                                        "Pr\xC3\xBC"
                                        "fung" /
                                        "Mix \xC3\xA9.mst"));
    EXPECT_EQ(PathToUtf8(WidePathToFs(file)), WideToUtf8(file));
}

TEST(UnicodeText, FileNameBytesSurviveTheWideRoundTrip)
{
    std::string everyHighByte;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
    {
        everyHighByte += static_cast<char>(byte);
    }
    const std::string names[] = {
        "caf\xE9.wav",                                  // Latin-1
        "\xC3\xA9t\xE9 \xE6\x97\xA5.flac",              // UTF-8 and Latin-1 mixed
        "\xED\xA0\x80\xC0\xAF\xF4\x90\x80\x80\xE6\x97", // encoded surrogate, overlong, too large,
                                                        // cut
        everyHighByte,
    };
    for (const std::string& name : names)
    {
        const std::wstring wide = FsPathToWide(name);
        EXPECT_EQ(WidePathToFs(wide).native(), name);
        const std::string display = WideToUtf8(wide);
        EXPECT_EQ(WideToUtf8(Utf8ToWide(display)), display) << "display text is not UTF-8";
    }
    EXPECT_EQ(FsPathToWide("caf\xE9"), std::wstring(L"caf") + static_cast<wchar_t>(0xDCE9));
    EXPECT_EQ(FsPathToWide("\xC3\xA9"), L"\u00e9");
    EXPECT_EQ(WideToUtf8(FsPathToWide("caf\xE9")), "caf\xEF\xBF\xBD");
    EXPECT_EQ(PathToUtf8("/music/caf\xE9.wav"), "/music/caf\xEF\xBF\xBD.wav");
}
