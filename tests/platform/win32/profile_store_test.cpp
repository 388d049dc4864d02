// Registry values of the application object, kept in a settings file under
// $XDG_CONFIG_HOME.

#include "platform/mfc/win_app.h"
#include "platform/win32/profile_store.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <vector>

namespace
{

class RegistryProfile : public ::testing::Test
{
protected:
    TempDir config;
    ScopedEnvironment xdg{"XDG_CONFIG_HOME", config.Path().string()};

    std::filesystem::path SettingsFile() const { return config / "Quorvant" / "BRVL" / "BRVL.ini"; }
};

} // namespace

TEST_F(RegistryProfile, ValuesSurviveARestartOfTheApplicationObject)
{
    {
        CWinApp app;
        app.SetRegistryKey(L"Quorvant\\BRVL");
        ASSERT_TRUE(app.WriteProfileString(L"Import", L"LastAudioFolder", L"/music/Æther mixes"));
        ASSERT_TRUE(app.WriteProfileInt(L"Export", L"Format", 3));
        ASSERT_TRUE(app.WriteProfileInt(L"UXDesigner", L"Width", -1));
        ASSERT_TRUE(app.WriteProfileString(L"Odd", L"a=b [c]", L"line 1\nline 2 \\ = [x]"));
    }
    EXPECT_TRUE(std::filesystem::exists(SettingsFile()));

    CWinApp app;
    app.SetRegistryKey(L"Quorvant\\BRVL");
    EXPECT_EQ(app.GetProfileString(L"Import", L"LastAudioFolder"), CString(L"/music/Æther mixes"));
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 3u);
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"UXDesigner", L"Width", 0)), -1);
    EXPECT_EQ(app.GetProfileString(L"Odd", L"a=b [c]"), CString(L"line 1\nline 2 \\ = [x]"));
    EXPECT_EQ(app.GetProfileString(L"import", L"lastaudiofolder"), CString(L"/music/Æther mixes"))
        << "names are compared without regard to case, as the registry does";
    EXPECT_EQ(app.GetProfileString(L"Import", L"Missing", L"fallback"), CString(L"fallback"));

    // A null value removes the entry, a null entry the section.
    EXPECT_TRUE(app.WriteProfileString(L"Import", L"LastAudioFolder", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Import", L"LastAudioFolder", L"gone"), CString(L"gone"));
    EXPECT_TRUE(app.WriteProfileString(L"Export", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 7), 7u);
}

TEST_F(RegistryProfile, AnInterruptedWriteLeavesThePreviousSettingsIntact)
{
    CWinApp app;
    app.SetRegistryKey(L"Quorvant\\BRVL");
    ASSERT_TRUE(app.WriteProfileInt(L"Export", L"Format", 2));
    const auto before = std::filesystem::file_size(SettingsFile());
    {
        const FileSizeLimit limit(before + 16);
        EXPECT_FALSE(
            app.WriteProfileString(L"Import", L"LastAudioFolder", std::wstring(4096, L'x').c_str()))
            << "a write that could not finish is a failure";
    }
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 2u);
    EXPECT_EQ(app.GetProfileString(L"Import", L"LastAudioFolder", L"none"), CString(L"none"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(SettingsFile().parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left beside the settings";
}

TEST_F(RegistryProfile, OnlyAWholeDecimalIntegerIsAnInteger)
{
    struct Case
    {
        const wchar_t* stored;
        int expected;
    };
    const Case cases[] = {
        {L"12", 12},  {L"-3", -3}, {L"+7", 7},  {L"0", 0},     {L"12abc", 99},
        {L"", 99},    {L" 5", 99}, {L"5 ", 99}, {L"0x10", 99}, {L"99999999999", 99},
        {L"2.5", 99},
    };
    CWinApp app;
    app.SetRegistryKey(L"Quorvant\\BRVL");
    for (const Case& c : cases)
    {
        ASSERT_TRUE(app.WriteProfileString(L"Export", L"Format", c.stored));
        EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Export", L"Format", 99)), c.expected)
            << "stored \"" << CStringA(CString(c.stored)).GetString() << "\"";
    }
    EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Export", L"Missing", -1)), -1);
}

TEST_F(RegistryProfile, ADamagedSettingsFileReadsWhatItCanAndIsRepairedByTheNextWrite)
{
    std::filesystem::create_directories(SettingsFile().parent_path());
    WriteFileBytes(SettingsFile(),
                   std::string("garbage without section\n[Export]\nFormat=4\n\x01\xff=\n"
                               "no equals sign\n=no name\n[unterminated\nOverwrite=1\n"));
    CWinApp app;
    app.SetRegistryKey(L"Quorvant\\BRVL");
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 4u);
    ASSERT_TRUE(app.WriteProfileInt(L"Export", L"Overwrite", 0));
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 4u);
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Overwrite", 1), 0u);
}

TEST_F(RegistryProfile, AnUnreadableSettingsFileGivesDefaultsAndIsNeverWrittenOver)
{
    struct Case
    {
        const char* what;
        void (*make)(const std::filesystem::path& file);
    };
    std::vector<Case> cases = {
        {"a folder",
         [](const std::filesystem::path& file)
         {
             std::filesystem::create_directory(file);
             WriteFileBytes(file / "inside", "kept");
         }},
        // Reading this link fails with an I/O error, for root as well.
        {"a read error", [](const std::filesystem::path& file)
         { std::filesystem::create_symlink("/proc/self/mem", file); }},
    };
    if (::geteuid() != 0)
    {
        cases.push_back({"no read permission", [](const std::filesystem::path& file)
                         {
                             WriteFileBytes(file, "[Export]\nFormat=4\n");
                             std::filesystem::permissions(file,
                                                          std::filesystem::perms::owner_write);
                         }});
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(config.Path() / "Quorvant");
        CWinApp app;
        app.SetRegistryKey(L"Quorvant\\BRVL");
        // Read once while the file is fine, so a remembered copy would show.
        ASSERT_TRUE(app.WriteProfileInt(L"Export", L"Format", 2));
        ASSERT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 2u);
        std::filesystem::remove(SettingsFile());
        c.make(SettingsFile());
        const auto before = std::filesystem::symlink_status(SettingsFile()).type();

        EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 9), 9u);
        EXPECT_FALSE(app.WriteProfileInt(L"Export", L"Overwrite", 1));
        EXPECT_FALSE(app.WriteProfileString(L"Export", nullptr, nullptr));

        EXPECT_EQ(std::filesystem::symlink_status(SettingsFile()).type(), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(SettingsFile().parent_path()),
                                std::filesystem::directory_iterator()),
                  1);
        if (before == std::filesystem::file_type::directory)
        {
            EXPECT_EQ(ReadFileBytes(SettingsFile() / "inside"), "kept");
        }
    }
}

TEST_F(RegistryProfile, AChangeMadeByAnotherWriterIsSeenAtTheNextRead)
{
    CWinApp app;
    app.SetRegistryKey(L"Quorvant\\BRVL");
    ASSERT_TRUE(app.WriteProfileInt(L"Export", L"Format", 2));
    ASSERT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 2u);

    {
        CWinApp other;
        other.SetRegistryKey(L"Quorvant\\BRVL");
        ASSERT_TRUE(other.WriteProfileInt(L"Export", L"Format", 3));
    }
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 3u)
        << "a file replaced by another writer";

    WriteFileBytes(SettingsFile(), "[export]\nformat=14\n");
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 14u) << "a file edited in place";

    std::filesystem::remove(SettingsFile());
    EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 0), 0u) << "a removed file";
    ASSERT_TRUE(app.WriteProfileInt(L"Import", L"Mode", 1));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), "[Import]\nMode=1\n") << "only a missing file is made";
}

TEST(ProfileStorePath, TheRegistryKeyNamesFoldersThatCannotClimbOutOfTheConfigFolder)
{
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", std::string("/cfg"));
    EXPECT_EQ(brvl::win32::ProfileStore::PathFor(L"Quorvant\\BRVL", L"BRVL"),
              std::filesystem::path("/cfg/Quorvant/BRVL/BRVL.ini"));
    EXPECT_EQ(brvl::win32::ProfileStore::PathFor(L"..\\..\\etc", L"BRVL"),
              std::filesystem::path("/cfg/etc/BRVL.ini"));
    EXPECT_EQ(brvl::win32::ProfileStore::PathFor(L"", L"BRVL"),
              std::filesystem::path("/cfg/BRVL.ini"));

    const ScopedEnvironment relative("XDG_CONFIG_HOME", std::string("relative/cfg"));
    const ScopedEnvironment home("HOME", std::string("/home/someone"));
    EXPECT_EQ(brvl::win32::ProfileStore::PathFor(L"Quorvant\\BRVL", L"BRVL"),
              std::filesystem::path("/home/someone/.config/Quorvant/BRVL/BRVL.ini"))
        << "a relative XDG_CONFIG_HOME is ignored";
}

TEST(ProfileStorePath, WithoutAnyConfigFolderNothingIsWrittenAndDefaultsAreRead)
{
    // No HOME and no XDG_CONFIG_HOME: the settings must not land in whatever
    // folder the program was started from.
    TempDir cwd;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    {
        const ScopedEnvironment xdg("XDG_CONFIG_HOME", std::nullopt);
        const ScopedEnvironment home("HOME", std::nullopt);
        CWinApp app;
        app.SetRegistryKey(L"Quorvant\\BRVL");
        EXPECT_FALSE(app.WriteProfileInt(L"Export", L"Format", 3));
        EXPECT_EQ(app.GetProfileInt(L"Export", L"Format", 7), 7u);
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::is_empty(cwd.Path()));
}
