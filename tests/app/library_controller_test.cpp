// The library: listing the style, preset and profile folders, the realm
// pills' texts, filling the realm panel and taking a pick, with the real
// pill bar, panel and profile pages.

#include "app/library_controller.h"

#include "app/brimvale_doc.h"
#include "base/unicode_text.h"
#include "controls/base/user_folders.h"
#include "controls/layout_tree.h"
#include "engine/profiles/reference_profile.h"
#include "engine/profiles/synthetic_profile.h"
#include "pages/realm_selector_panel_wnd.h"
#include "pages/realm_selector_wnd.h"
#include "platform/win32/shell_folders.h"
#include "profiles/profile_creator_viewport_wnd.h"
#include "profiles/reference_profile_viewport_wnd.h"
#include "tests/controls/control_test_kit.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::vector<std::string> Names(const std::vector<LibraryEntry>& list)
{
    std::vector<std::string> names;
    for (const LibraryEntry& entry : list)
    {
        names.push_back(entry.displayName);
    }
    return names;
}

void Touch(const fs::path& path)
{
    WriteFileBytes(path, "x");
}

void WriteProfile(const fs::path& path, const std::string& name)
{
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    profile.name = name;
    WriteReferenceProfile(FsPathToWide(path), profile);
}

// A program folder and a Documents folder (named by user-dirs.dirs) in a
// temporary folder, each holding the library's folders.
class LibraryFolders
{
public:
    LibraryFolders()
        : home("HOME", (temp / "home").string()),
          config("XDG_CONFIG_HOME", (temp / "config").string())
    {
        for (const fs::path& folder :
             {program / "profiles", program / "style", program / "presets", user / "profiles",
              user / "style", user / "presets", temp / "config"})
        {
            fs::create_directories(folder);
        }
        WriteFileBytes(temp / "config" / "user-dirs.dirs",
                       "XDG_DOCUMENTS_DIR=\"" + (temp / "docs").string() + "\"\n");
        brvl::win32::SetModuleFolderForTests(program);
    }
    ~LibraryFolders() { brvl::win32::SetModuleFolderForTests({}); }

    TempDir temp;
    ScopedEnvironment home;
    ScopedEnvironment config;
    fs::path program = temp / "program";
    fs::path user = temp / "docs" / "Brimhold";
};

class LibraryListing : public ::testing::Test
{
protected:
    LibraryFolders folders;
    fs::path styles = folders.program / "style";
};

} // namespace

TEST_F(LibraryListing, FoldersLieBesideTheProgramAndUnderDocumentsAtFullLength)
{
    EXPECT_EQ(ExeFolder(), FsPathToWide(folders.program));
    EXPECT_EQ(GetUserProfilesFolder(), FsPathToWide(folders.user / "profiles"));
    EXPECT_EQ(GetUserStylesFolder(), FsPathToWide(folders.user / "style"));
    EXPECT_EQ(GetUserPresetsFolder(), FsPathToWide(folders.user / "presets"));

    // A program deep in folders keeps its whole path, far beyond 260 characters.
    fs::path deep = folders.temp.Path();
    for (int i = 0; i < 12; ++i)
    {
        deep /= std::string(40, static_cast<char>('a' + i));
    }
    brvl::win32::SetModuleFolderForTests(deep);
    EXPECT_EQ(ExeFolder(), FsPathToWide(deep));
    EXPECT_GT(ExeFolder().size(), 480u);

    const ScopedEnvironment noHome("HOME", std::nullopt);
    const ScopedEnvironment noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(GetUserStylesFolder(), L"");
    EXPECT_EQ(GetUserPresetsFolder(), L"");
    EXPECT_TRUE(ListStyles(GetUserStylesFolder(), false).empty());
}

TEST_F(LibraryListing, OnlyRegularFilesWithTheExactExtensionListInLibraryOrder)
{
    for (const char* name : {"Warm.mst", "bright.mst", "Reference Master.mst", "Loud.MST",
                             "notes.txt", ".mst", "..mst", "caf\xE9.mst"})
    {
        Touch(styles / name);
    }
    const std::string longName(240, 'l');
    Touch(styles / (longName + ".mst"));
    fs::create_directory(styles / "Old.mst");
    fs::create_symlink(styles / "Warm.mst", styles / "Linked.mst");
    fs::create_symlink(styles / "loopB.mst", styles / "loopA.mst");
    fs::create_symlink(styles / "loopA.mst", styles / "loopB.mst");

    const std::vector<LibraryEntry> list = ListStyles(FsPathToWide(styles), true);
    // ".mst" is a name without an extension; "..mst" is the style ".".
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Reference Master", ".", "bright",
                                                     "caf\xEF\xBF\xBD", longName, "Warm"}));
    for (const LibraryEntry& entry : list)
    {
        EXPECT_EQ(entry.description, "Factory style") << entry.displayName;
    }
    EXPECT_EQ(list[0].path, PathToUtf8(styles / "Reference Master.mst"));
    EXPECT_EQ(list[5].path, PathToUtf8(styles / "Warm.mst"));
}

TEST_F(LibraryListing, EachKindHasItsExtensionAndFixedTexts)
{
    struct Case
    {
        std::vector<LibraryEntry> (*list)(const std::wstring&, bool);
        const char* extension;
        bool factory;
        const char* text;
    };
    const Case cases[] = {
        {ListStyles, ".mst", false, "Custom style from Documents\\Brimhold\\style"},
        {ListPresets, ".msp", true, "Factory preset"},
        {ListPresets, ".msp", false, "Custom preset from Documents\\Brimhold\\presets"},
        {ListProfiles, ".prs", true, "Factory profile from the application profiles folder"},
        {ListProfiles, ".prs", false, "Custom profile from Documents\\Brimhold\\profiles"},
    };
    const fs::path folder = folders.temp / "mixed";
    fs::create_directory(folder);
    for (const char* name : {"a.mst", "b.msp", "c.prs"})
    {
        Touch(folder / name);
    }
    for (const Case& c : cases)
    {
        const std::vector<LibraryEntry> list = c.list(FsPathToWide(folder), c.factory);
        ASSERT_EQ(list.size(), 1u) << c.extension;
        EXPECT_EQ(fs::path(list[0].path).extension().string(), c.extension);
        EXPECT_EQ(list[0].description, c.text);
    }
}

TEST_F(LibraryListing, TheTrialProfileIsNeverListedInAnyLetterCase)
{
    for (const fs::path& folder : {folders.program / "profiles", folders.user / "profiles"})
    {
        for (const char* name : {"Unsaved_Profile.prs", "UNSAVED_PROFILE.prs",
                                 "unsaved_profile.prs", "Mine.prs", "Unsaved_Profile2.prs"})
        {
            Touch(folder / name);
        }
        for (bool factory : {true, false})
        {
            EXPECT_EQ(Names(ListProfiles(FsPathToWide(folder), factory)),
                      (std::vector<std::string>{"Mine", "Unsaved_Profile2"}));
        }
    }
    // Only profiles keep the trial name out.
    Touch(styles / "Unsaved_Profile.mst");
    EXPECT_EQ(Names(ListStyles(FsPathToWide(styles), true)),
              std::vector<std::string>{"Unsaved_Profile"});
}

TEST_F(LibraryListing, ANonEmptyCommentOfTheExactFileNameDescribesIt)
{
    for (const char* name : {"Warm.mst", "bright.mst", "Dark.mst"})
    {
        Touch(styles / name);
    }
    WriteFileBytes(styles / "meta.json", R"([{"file": "warm.mst", "comment": "lower case"},
        {"file": "bright.mst", "comment": "Airy top, caf\u00e9"},
        {"file": "Dark.mst", "comment": ""}])");
    const std::vector<LibraryEntry> list = ListStyles(FsPathToWide(styles), false);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"bright", "Dark", "Warm"}));
    EXPECT_EQ(list[0].description, "Airy top, caf\xC3\xA9");
    EXPECT_EQ(list[1].description, "Custom style from Documents\\Brimhold\\style");
    EXPECT_EQ(list[2].description, "Custom style from Documents\\Brimhold\\style");

    // A comments file that cannot be used gives the fixed texts.
    const std::string huge = "[" + std::string(4 << 20, ' ') + "{\"file\": 1}";
    for (const std::string& meta :
         {std::string("{\"file\": \"Warm.mst\"}"), std::string("[{\"file\": \"Warm.mst\", \"comm"),
          huge, std::string("\xFF\xFE garbage")})
    {
        WriteFileBytes(styles / "meta.json", meta);
        for (const LibraryEntry& entry : ListStyles(FsPathToWide(styles), true))
        {
            EXPECT_EQ(entry.description, "Factory style") << meta.substr(0, 30);
        }
    }
}

TEST_F(LibraryListing, MissingOrUnreadableFoldersListNothing)
{
    EXPECT_TRUE(ListStyles(L"", true).empty());
    EXPECT_TRUE(ListPresets(FsPathToWide(folders.temp / "absent"), true).empty());
    Touch(folders.temp / "plain.prs");
    EXPECT_TRUE(ListProfiles(FsPathToWide(folders.temp / "plain.prs"), true).empty());

    const fs::path locked = folders.temp / "locked";
    fs::create_directory(locked);
    Touch(locked / "Hidden.mst");
    fs::permissions(locked, fs::perms::none);
    if (::geteuid() != 0) // the superuser reads it anyway
    {
        EXPECT_TRUE(ListStyles(FsPathToWide(locked), true).empty());
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(LibraryListing, TheDefaultProfileLeadsUnlessBalancedIsListed)
{
    const fs::path factory = folders.program / "profiles";
    Touch(factory / "Reference Master.prs");
    Touch(factory / "Airy.prs");
    const std::wstring balanced = FsPathToWide(factory / "Balanced.prs");

    std::vector<LibraryEntry> list = ListProfiles(FsPathToWide(factory), true);
    EnsureDefaultProfileListed(list, balanced);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"Balanced", "Reference Master", "Airy"}));
    EXPECT_EQ(list[0].path, WideToUtf8(balanced));
    EXPECT_EQ(list[0].description, "Default factory profile");

    Touch(factory / "Balanced.prs");
    list = ListProfiles(FsPathToWide(factory), true);
    EnsureDefaultProfileListed(list, balanced);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Reference Master", "Airy", "Balanced"}));
}

TEST(LibraryDisplayName, IsTheStemOfTheUtf8Path)
{
    EXPECT_EQ(LibraryDisplayName(""), L"");
    EXPECT_EQ(LibraryDisplayName("/styles/Warm.mst"), L"Warm");
    EXPECT_EQ(LibraryDisplayName("realm_mastering"), L"realm_mastering");
    EXPECT_EQ(LibraryDisplayName("/p/Caf\xC3\xA9.tar.prs"), L"Caf\u00E9.tar");
}

namespace
{

// The view's part of the library, as its page build wires it: the pill bar,
// the panel, the profile pages and the Apprentice page in slot 6.
class LibraryWindows : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(view.CreateTopLevel(CRect(0, 0, 1000, 700)));
        view.On(WMU_REALM_ITEM_PICKED,
                [this](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                {
                    library.ApplyPickedEntry(*reinterpret_cast<const RealmItemPick*>(lParam),
                                             document.get());
                    return 0;
                });
        ASSERT_TRUE(bar.Create(&view, CRect(0, 0, 1000, 52), 8714));
        ASSERT_TRUE(apprentice.CreateChild(view, CRect(0, 60, 1000, 600), 100));
        ASSERT_TRUE(panel.Create(&view, CRect(0, 60, 1000, 600), 8715));
        ASSERT_TRUE(profilePage.Create(CRect(0, 60, 1000, 600), &view, 8713));
        ASSERT_TRUE(creator.Create(CRect(0, 60, 1000, 600), &view));
        layout.AddRow(6, 1);
        for (CWnd* page : {static_cast<CWnd*>(&apprentice), static_cast<CWnd*>(&panel),
                           static_cast<CWnd*>(&profilePage), static_cast<CWnd*>(&creator)})
        {
            layout.AddWindowToSlot(6, page->GetSafeHwnd());
        }
        layout.SetBounds(CRect(0, 60, 1000, 600));

        library.realmBar = &bar;
        library.realmPanel = &panel;
        library.creatorPage = &creator;
        library.profilePage = &profilePage;
        library.layout = &layout;
        library.pageWindow = &apprentice;
        library.profilePillId = kRealmProfilePillId;
        library.stylePillId = kRealmStylePillId;
        library.presetPillId = kRealmPresetPillId;
        Settle();
    }

    // What the view's pill handler does before the user picks.
    void OpenPanel(UINT pillId)
    {
        library.openPillId = pillId;
        if (pillId == kRealmProfilePillId)
        {
            library.FillProfilesPanel();
        }
        else if (pillId == kRealmStylePillId)
        {
            library.FillStylesPanel();
        }
        else
        {
            library.FillPresetsPanel();
        }
        layout.ShowWindowInSlot(6, panel.GetSafeHwnd());
    }

    bool Shown(const CWnd& page) const { return layout.IsWindowActiveInSlot(6, page.m_hWnd); }

    // A click on a card, delivered as the panel delivers it.
    void Pick(bool factory, const std::string& name)
    {
        const std::vector<LibraryEntry>& list =
            factory ? panel.factoryEntries : panel.customEntries;
        for (size_t i = 0; i < list.size(); ++i)
        {
            if (list[i].displayName == name)
            {
                panel.NotifyPick(factory, static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << name << " is not listed";
    }

    std::string Profile(const std::string& name, bool factory) const
    {
        return PathToUtf8((factory ? folders.program : folders.user) / "profiles" /
                          (name + ".prs"));
    }

    void Picture(CWnd& window, const std::string& name)
    {
        window.UpdateWindow();
        ASSERT_TRUE(RenderWindowToPng(window.GetSafeHwnd(), ControlPicturePath(name)));
    }

    LibraryFolders folders;
    std::unique_ptr<CBrimvaleDoc> document;
    RecordingWnd view{"view", log};
    CRealmSelectorViewportWnd bar;
    RecordingWnd apprentice{"apprentice", log};
    CRealmSelectorPanelWnd panel;
    CReferenceProfileViewportWnd profilePage;
    CProfileCreatorViewportWnd creator;
    LayoutTree layout;
    LibraryController library;
};

} // namespace

TEST_F(LibraryWindows, PillTextsFollowTheDocumentAndTheRememberedFiles)
{
    // The construction values name no file of their kind.
    library.RefreshLibraryLists(nullptr);
    EXPECT_EQ(bar.profilePill.valueText, L"Balanced");
    EXPECT_EQ(bar.stylePill.valueText, L"Custom");
    EXPECT_EQ(bar.presetPill.valueText, L"Custom");

    library.stylePath = PathToUtf8(folders.program / "style" / "Warm.mst");
    library.presetPath = "/presets/Loud Night.msp";
    library.RefreshLibraryLists(nullptr);
    EXPECT_EQ(bar.stylePill.valueText, L"Warm");
    EXPECT_EQ(bar.presetPill.valueText, L"Loud Night");
    Picture(bar, "library_realm_bar");

    for (const char* notAStyle : {"/style/Warm", "/style/Warm.MST", "/style/Warm.mst.bak", ""})
    {
        library.stylePath = notAStyle;
        library.RefreshLibraryLists(nullptr);
        EXPECT_EQ(bar.stylePill.valueText, L"Custom") << notAStyle;
    }

    WriteProfile(folders.user / "profiles" / "Mine.prs", "Mine");
    document = std::make_unique<CBrimvaleDoc>();
    CString error;
    ASSERT_TRUE(document->SetReferenceProfile(Profile("Mine", false), error));
    library.RefreshLibraryLists(document.get());
    EXPECT_EQ(bar.profilePill.valueText, L"Mine");
    EXPECT_EQ(library.profilePath, Profile("Mine", false));

    document->settings.referenceProfileFileName = "";
    library.RefreshLibraryLists(document.get());
    EXPECT_EQ(bar.profilePill.valueText, L"Balanced");

    // Unwired pill ids and a bar without a window change nothing.
    library.stylePath = "/style/Dark.mst";
    library.stylePillId = 0;
    library.RefreshLibraryLists(nullptr);
    EXPECT_EQ(bar.stylePill.valueText, L"Custom");
    library.stylePillId = kRealmStylePillId;
    bar.DestroyWindow();
    library.RefreshLibraryLists(nullptr);
    EXPECT_EQ(bar.stylePill.valueText, L"Custom");
}

TEST_F(LibraryWindows, EachPillFillsThePanelWithItsTwoFoldersColourAndChoice)
{
    Touch(folders.program / "profiles" / "Airy.prs");
    Touch(folders.user / "profiles" / "Mine.prs");
    Touch(folders.user / "profiles" / "Unsaved_Profile.prs");
    Touch(folders.program / "style" / "Warm.mst");
    Touch(folders.program / "style" / "Reference Master.mst");
    Touch(folders.user / "style" / "Own.mst");
    Touch(folders.program / "presets" / "Night.msp");
    library.stylePath = PathToUtf8(folders.program / "style" / "Warm.mst");
    library.presetPath = "nothing.msp";

    struct Case
    {
        UINT pill;
        COLORREF accent;
        std::vector<std::string> factory;
        std::vector<std::string> custom;
        std::string selected;
    };
    const Case cases[] = {
        {kRealmProfilePillId, 0x20A5DA, {"Balanced", "Airy"}, {"Mine"}, "crown_neutral"},
        {kRealmStylePillId, 0xDCA050, {"Reference Master", "Warm"}, {"Own"}, library.stylePath},
        {kRealmPresetPillId, 0xC878A0, {"Night"}, {}, "nothing.msp"},
    };
    for (const Case& c : cases)
    {
        panel.scrollOffset = 40;
        panel.hoverIndex = 1;
        OpenPanel(c.pill);
        EXPECT_EQ(panel.accentColor, c.accent) << c.pill;
        EXPECT_EQ(Names(panel.factoryEntries), c.factory) << c.pill;
        EXPECT_EQ(Names(panel.customEntries), c.custom) << c.pill;
        EXPECT_EQ(panel.selectedPath, c.selected) << c.pill;
        EXPECT_EQ(panel.scrollOffset, 0);
        EXPECT_EQ(panel.hoverIndex, -1);
    }
    EXPECT_EQ(panel.factoryEntries[0].path, PathToUtf8(folders.program / "presets" / "Night.msp"));

    // Read again on every opening; a missing Documents folder lists no custom entries.
    Touch(folders.program / "style" / "Added.mst");
    const ScopedEnvironment noHome("HOME", std::nullopt);
    const ScopedEnvironment noConfig("XDG_CONFIG_HOME", std::nullopt);
    OpenPanel(kRealmStylePillId);
    EXPECT_EQ(Names(panel.factoryEntries),
              (std::vector<std::string>{"Reference Master", "Added", "Warm"}));
    EXPECT_TRUE(panel.customEntries.empty());
}

TEST_F(LibraryWindows, APickedStyleOrPresetIsLeftToTheViewAndThePanelCloses)
{
    Touch(folders.program / "style" / "Warm.mst");
    Touch(folders.program / "presets" / "Night.msp");
    library.RefreshLibraryLists(nullptr);
    const std::string styleBefore = library.stylePath;
    const std::string presetBefore = library.presetPath;

    OpenPanel(kRealmStylePillId);
    Pick(true, "Warm");
    EXPECT_EQ(library.openPillId, 0u);
    EXPECT_TRUE(Shown(apprentice));
    EXPECT_FALSE(panel.IsWindowVisible());

    OpenPanel(kRealmPresetPillId);
    Pick(true, "Night");
    EXPECT_EQ(library.openPillId, 0u);
    EXPECT_TRUE(Shown(apprentice));

    // Until the view has applied them they are not the current choice.
    EXPECT_EQ(library.stylePath, styleBefore);
    EXPECT_EQ(library.presetPath, presetBefore);
    EXPECT_EQ(bar.stylePill.valueText, L"Custom");
    EXPECT_EQ(bar.presetPill.valueText, L"Custom");
}

TEST_F(LibraryWindows, APickedProfileBecomesTheDocumentsAndShowsOnTheProfilePage)
{
    WriteProfile(folders.program / "profiles" / "Balanced.prs", "Balanced");
    WriteProfile(folders.program / "profiles" / "Generated.prs", "Generated");
    WriteProfile(folders.user / "profiles" / "Mine.prs", "Mine");
    document = std::make_unique<CBrimvaleDoc>();
    library.RefreshLibraryLists(document.get());
    ASSERT_EQ(bar.profilePill.valueText, L"Balanced");

    OpenPanel(kRealmProfilePillId);
    ASSERT_EQ(Names(panel.factoryEntries), (std::vector<std::string>{"Balanced", "Generated"}));
    ASSERT_EQ(Names(panel.customEntries), std::vector<std::string>{"Mine"});
    EXPECT_EQ(panel.selectedPath, panel.factoryEntries[0].path);
    panel.hoverColumn = 0;
    panel.hoverIndex = 1;
    Picture(panel, "library_realm_panel_open");
    panel.hoverIndex = -1;

    Pick(true, "Generated");
    EXPECT_EQ(document->settings.referenceProfileFileName, "Generated.prs");
    EXPECT_TRUE(document->settings.referenceProfileIsFactory);
    EXPECT_EQ(library.profilePath, Profile("Generated", true));
    EXPECT_EQ(bar.profilePill.valueText, L"Generated");
    // The page shows the document's profile under its resolved path.
    EXPECT_TRUE(profilePage.hasProfile);
    EXPECT_EQ(profilePage.profile.name, "Generated");
    EXPECT_EQ(WideToUtf8(profilePage.profilePath.Str()), Profile("Generated", true));
    EXPECT_EQ(library.pageWindow, &profilePage);
    EXPECT_TRUE(Shown(profilePage));
    EXPECT_EQ(library.openPillId, 0u);
    Picture(profilePage, "library_profile_page_picked");

    // Closing a later panel returns to the profile page.
    OpenPanel(kRealmStylePillId);
    library.ApplyPickedEntry(RealmItemPick{}, document.get());
    EXPECT_TRUE(Shown(profilePage));
}

TEST_F(LibraryWindows, ARefusedProfileKeepsEverythingAndThePanelOpen)
{
    WriteProfile(folders.program / "profiles" / "Balanced.prs", "Balanced");
    WriteFileBytes(folders.user / "profiles" / "Broken.prs", "AMRPROF1 and nothing after");
    document = std::make_unique<CBrimvaleDoc>();
    library.RefreshLibraryLists(document.get());
    std::vector<brvl::backend::ModalRequest> boxes;
    session->SetResponder(
        [&](const brvl::backend::ModalRequest& request)
        {
            boxes.push_back(request);
            return brvl::backend::ModalAnswer::With(IDOK);
        });

    OpenPanel(kRealmProfilePillId);
    const std::string remembered = library.profilePath;
    Pick(false, "Broken");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_EQ(boxes[0].text.rfind(L"Failed to load reference profile", 0), 0u)
        << WideToUtf8(boxes[0].text);
    EXPECT_EQ(document->settings.referenceProfileFileName, "Balanced.prs");
    EXPECT_EQ(document->referenceProfile.name, "Balanced");
    EXPECT_EQ(library.openPillId, kRealmProfilePillId);
    EXPECT_TRUE(Shown(panel));
    EXPECT_EQ(bar.profilePill.valueText, L"Balanced");
    EXPECT_EQ(library.profilePath, remembered);
    EXPECT_EQ(library.pageWindow, &apprentice);
    EXPECT_FALSE(profilePage.hasProfile);
}

TEST_F(LibraryWindows, WithoutADocumentTheProfilePageReadsThePickedFile)
{
    WriteProfile(folders.user / "profiles" / "Mine.prs", "Mine");
    WriteFileBytes(folders.user / "profiles" / "Broken.prs", "not a profile");
    profilePage.SetEditEnabled(true);

    OpenPanel(kRealmProfilePillId);
    Pick(false, "Mine");
    EXPECT_TRUE(profilePage.hasProfile);
    EXPECT_EQ(profilePage.profile.name, "Mine");
    EXPECT_TRUE(profilePage.editButton.IsWindowVisible());
    EXPECT_EQ(bar.profilePill.valueText, L"Mine");

    OpenPanel(kRealmProfilePillId);
    Pick(false, "Broken");
    EXPECT_FALSE(profilePage.hasProfile);
    EXPECT_FALSE(profilePage.errorText.IsEmpty());
    EXPECT_FALSE(profilePage.editButton.IsWindowVisible());
    EXPECT_TRUE(Shown(profilePage));
}

TEST_F(LibraryWindows, TheCreatorTakesTheSlotAndKeepsThePageToReturnTo)
{
    OpenPanel(kRealmStylePillId);
    library.ShowProfileCreator();
    EXPECT_EQ(library.openPillId, 0u);
    EXPECT_TRUE(Shown(creator));
    EXPECT_EQ(library.pageWindow, &apprentice);

    // A creator without a window is not shown.
    OpenPanel(kRealmStylePillId);
    creator.DestroyWindow();
    library.ShowProfileCreator();
    EXPECT_EQ(library.openPillId, kRealmStylePillId);
    EXPECT_TRUE(Shown(panel));
}
