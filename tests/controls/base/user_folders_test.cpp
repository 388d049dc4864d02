#include "controls/base/user_folders.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

TEST(UserProfilesFolder, SitsUnderTheDocumentsFolderAtFullLength)
{
    // A Documents folder of 1,000 characters comes back whole: no fixed-size
    // buffer cuts it.
    const std::string longName = "/" + std::string(998, 'd');
    const struct
    {
        std::string documents;
        std::string expected;
    } cases[] = {
        {"$HOME/Papiere", "/home/tester/Papiere/Brimhold/profiles"},
        {"/srv/shared docs/", "/srv/shared docs/Brimhold/profiles"},
        {longName, longName + "/Brimhold/profiles"},
    };
    for (const auto& c : cases)
    {
        TempDir config;
        WriteFileBytes(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + c.documents + "\"\n");
        const ScopedEnvironment home("HOME", std::string("/home/tester"));
        const ScopedEnvironment xdg("XDG_CONFIG_HOME", config.Path().string());
        EXPECT_EQ(GetUserProfilesFolder(), Wide(c.expected)) << c.documents.substr(0, 40);
    }
}

TEST(UserProfilesFolder, IsEmptyWithoutADocumentsFolder)
{
    const ScopedEnvironment home("HOME", std::nullopt);
    EXPECT_EQ(GetUserProfilesFolder(), L"");
}
