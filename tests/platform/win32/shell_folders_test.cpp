// The Documents folder, the module path and temporary files.

#include "base/unicode_text.h"
#include "platform/win32/shell_folders.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{

std::optional<std::wstring> Documents()
{
    PWSTR path = reinterpret_cast<PWSTR>(1);
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path);
    if (FAILED(hr))
    {
        EXPECT_EQ(path, nullptr) << "a failure hands back no text";
        return std::nullopt;
    }
    std::wstring text = path;
    CoTaskMemFree(path);
    return text;
}

} // namespace

TEST(KnownFolders, DocumentsComesFromUserDirsElseHomeDocuments)
{
    struct Case
    {
        const char* userDirs; // nullptr: no file
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
         L"/home/tester/Dokumente"},
        {"XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n", L"/srv/shared docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Mes \\\"documents\\\"\"\n", L"/home/tester/Mes \"documents\""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", L"/home/tester/Documents"},    // switched off
        {"XDG_DOCUMENTS_DIR=relative/path\n", L"/home/tester/Documents"}, // not quoted
        {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", L"/home/tester/Documents"},
        {nullptr, L"/home/tester/Documents"},
    };
    for (const Case& c : cases)
    {
        TempDir config;
        if (c.userDirs != nullptr)
        {
            WriteFileBytes(config / "user-dirs.dirs", c.userDirs);
        }
        const ScopedEnvironment home("HOME", std::string("/home/tester"));
        const ScopedEnvironment xdg("XDG_CONFIG_HOME", config.Path().string());
        EXPECT_EQ(Documents().value_or(L"(failed)"), c.expected)
            << (c.userDirs != nullptr ? c.userDirs : "(no user-dirs.dirs)");
    }
}

TEST(KnownFolders, WithoutHomeThereIsNoDocumentsFolder)
{
    const ScopedEnvironment home("HOME", std::nullopt);
    EXPECT_FALSE(Documents().has_value());
    EXPECT_EQ(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, nullptr), E_FAIL);
}

TEST(ModulePath, IsTheExecutableAndTruncatesToTheBufferAsWindowsDoes)
{
    const std::wstring full = brvl::win32::ModulePath();
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(full.front(), L'/');
    EXPECT_NE(full.find(L"brvl_platform_tests"), std::wstring::npos);

    wchar_t small[6];
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 6), 6u) << "too small: the buffer size comes back";
    EXPECT_EQ(std::wstring(small), full.substr(0, 5));

    std::wstring big(MAX_PATH, L'\0');
    EXPECT_EQ(GetModuleFileNameW(nullptr, big.data(), MAX_PATH), full.size());

    brvl::win32::SetModuleFolderForTests("/opt/brvl test");
    EXPECT_EQ(brvl::win32::ModulePath(), L"/opt/brvl test/brvl_platform_tests");
    brvl::win32::SetModuleFolderForTests({});
    EXPECT_EQ(brvl::win32::ModulePath(), full);
}

TEST(TempFiles, ATempFileIsCreatedUniqueWithItsLastDotInTheFileName)
{
    TempDir temp;
    const ScopedEnvironment tmpdir("TMPDIR", (temp / "dotted.folder").string());
    std::filesystem::create_directories(temp / "dotted.folder");

    wchar_t folder[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    EXPECT_EQ(std::wstring(folder, length), Utf8ToWide((temp / "dotted.folder").string()) + L"/");
    EXPECT_GT(GetTempPathW(3, folder), 3u) << "too small: the length needed";

    wchar_t first[MAX_PATH];
    wchar_t second[MAX_PATH];
    ASSERT_NE(GetTempFileNameW(folder, L"uxd", 0, first), 0u);
    ASSERT_NE(GetTempFileNameW(folder, L"uxd", 0, second), 0u);
    EXPECT_NE(std::wstring(first), std::wstring(second));
    const std::filesystem::path made = WidePathToFs(first);
    EXPECT_TRUE(std::filesystem::exists(made));
    EXPECT_EQ(std::filesystem::file_size(made), 0u);
    EXPECT_EQ(made.extension(), ".tmp");
    EXPECT_EQ(made.filename().string().rfind("uxd", 0), 0u);
    EXPECT_EQ(GetTempFileNameW(L"/no/such/folder", L"uxd", 0, first), 0u);
}
