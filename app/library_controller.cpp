#include "app/library_controller.h"

#include "app/brimvale_doc.h"
#include "app/profile_folders.h"
#include "base/unicode_text.h"
#include "controls/base/user_folders.h"
#include "controls/layout_tree.h"
#include "engine/settings/library_comments.h"
#include "pages/realm_selector_panel_wnd.h"
#include "pages/realm_selector_wnd.h"
#include "platform/mfc/afx_message_box.h"
#include "profiles/profile_creator_viewport_wnd.h"
#include "profiles/reference_profile_viewport_wnd.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

// One kind of library file: its extension and its two fixed descriptions.
struct LibraryKind
{
    const char* extension;
    const char* factoryText;
    const char* customText;
    bool skipsTrialProfile;
};

constexpr LibraryKind kStyles{".mst", "Factory style",
                              "Custom style from Documents\\Brimhold\\style", false};
constexpr LibraryKind kPresets{".msp", "Factory preset",
                               "Custom preset from Documents\\Brimhold\\presets", false};
constexpr LibraryKind kProfiles{".prs", "Factory profile from the application profiles folder",
                                "Custom profile from Documents\\Brimhold\\profiles", true};

constexpr const char* kLeadingName = "Reference Master";
constexpr const char* kTrialProfileName = "Unsaved_Profile.prs";
constexpr const char* kDefaultProfileText = "Default factory profile";

constexpr COLORREF kProfilesAccent = 0x20A5DA;
constexpr COLORREF kStylesAccent = 0xDCA050;
constexpr COLORREF kPresetsAccent = 0xC878A0;

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte by byte with ASCII capitals folded: <0, 0 or >0.
int CompareFolded(const std::string& a, const std::string& b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
    {
        const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y)
        {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool InLibraryOrder(const LibraryEntry& a, const LibraryEntry& b)
{
    const bool aLeads = CompareFolded(a.displayName, kLeadingName) == 0;
    const bool bLeads = CompareFolded(b.displayName, kLeadingName) == 0;
    if (aLeads != bLeads)
    {
        return aLeads;
    }
    return CompareFolded(a.displayName, b.displayName) < 0;
}

// The stem as the panel shows it; the process's narrow code page is UTF-8.
std::string StemText(const fs::path& path)
{
    return PathToUtf8(path.stem());
}

std::vector<LibraryEntry> ListFolder(const std::wstring& folder, bool isFactory,
                                     const LibraryKind& kind)
{
    std::vector<LibraryEntry> list;
    const fs::path folderPath = WidePathToFs(folder);
    std::error_code error;
    if (folder.empty() || !fs::exists(fs::status(folderPath, error)) || error)
    {
        return list;
    }
    const LibraryCommentMap comments = LoadLibraryComments(folder);

    // A failure part way (a vanished folder, an unreadable entry) ends the
    // reading; what was read is still offered.
    fs::directory_iterator it(folderPath, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error))
    {
        const fs::directory_entry& entry = *it;
        std::error_code statusError;
        if (!fs::is_regular_file(entry.symlink_status(statusError)) || statusError)
        {
            continue;
        }
        const fs::path& path = entry.path();
        if (path.extension().native() != kind.extension)
        {
            continue;
        }
        const std::string fileName = path.filename().native();
        if (kind.skipsTrialProfile && CompareFolded(fileName, kTrialProfileName) == 0)
        {
            continue;
        }
        LibraryEntry listed{PathToUtf8(path), StemText(path),
                            isFactory ? kind.factoryText : kind.customText};
        const auto comment = comments.find(FsPathToWide(path.filename()));
        if (comment != comments.end() && !comment->second.empty())
        {
            listed.description = comment->second;
        }
        list.push_back(std::move(listed));
    }
    std::sort(list.begin(), list.end(), InLibraryOrder);
    return list;
}

std::wstring InExeFolder(const char* name)
{
    return FsPathToWide(WidePathToFs(ExeFolder()) / name);
}

} // namespace

std::vector<LibraryEntry> ListStyles(const std::wstring& folder, bool isFactory)
{
    return ListFolder(folder, isFactory, kStyles);
}

std::vector<LibraryEntry> ListPresets(const std::wstring& folder, bool isFactory)
{
    return ListFolder(folder, isFactory, kPresets);
}

std::vector<LibraryEntry> ListProfiles(const std::wstring& folder, bool isFactory)
{
    return ListFolder(folder, isFactory, kProfiles);
}

void EnsureDefaultProfileListed(std::vector<LibraryEntry>& list, const std::wstring& path)
{
    const std::string utf8Path = WideToUtf8(path);
    const bool listed =
        std::any_of(list.begin(), list.end(),
                    [&](const LibraryEntry& entry) { return entry.path == utf8Path; });
    if (!listed)
    {
        list.insert(list.begin(),
                    LibraryEntry{utf8Path, StemText(WidePathToFs(path)), kDefaultProfileText});
    }
}

std::wstring LibraryDisplayName(const std::string& path)
{
    if (path.empty())
    {
        return {};
    }
    return FsPathToWide(WidePathToFs(Utf8ToWide(path)).stem());
}

CRealmSelectorWnd* LibraryController::Pill(UINT pillId) const
{
    if (realmBar == nullptr || realmBar->GetSafeHwnd() == nullptr)
    {
        return nullptr;
    }
    switch (pillId)
    {
    case kRealmProfilePillId:
        return &realmBar->profilePill;
    case kRealmStylePillId:
        return &realmBar->stylePill;
    case kRealmPresetPillId:
        return &realmBar->presetPill;
    default:
        return nullptr;
    }
}

void LibraryController::SetPillText(UINT pillId, const std::wstring& text) const
{
    if (CRealmSelectorWnd* pill = Pill(pillId))
    {
        pill->SetValueText(text);
    }
}

void LibraryController::ShowInSlot(CWnd* window) const
{
    if (layout != nullptr && window != nullptr)
    {
        layout->ShowWindowInSlot(slotId, window->GetSafeHwnd());
    }
}

void LibraryController::RefreshLibraryLists(CBrimvaleDoc* document)
{
    if (realmBar == nullptr || realmBar->GetSafeHwnd() == nullptr)
    {
        return;
    }
    std::wstring profileText;
    if (document != nullptr)
    {
        profilePath = WideToUtf8(ResolveProfilePath(document->settings.referenceProfileFileName,
                                                    document->settings.referenceProfileIsFactory));
        profileText = LibraryDisplayName(profilePath);
    }
    SetPillText(profilePillId, profileText.empty() ? L"Balanced" : profileText);

    const auto valueText = [](const std::string& path, const char* extension)
    {
        const bool ofKind = WidePathToFs(Utf8ToWide(path)).extension().native() == extension;
        return ofKind ? LibraryDisplayName(path) : std::wstring(L"Custom");
    };
    SetPillText(stylePillId, valueText(stylePath, kStyles.extension));
    SetPillText(presetPillId, valueText(presetPath, kPresets.extension));
}

void LibraryController::FillPanel(COLORREF accent, const std::vector<LibraryEntry>& factory,
                                  const std::vector<LibraryEntry>& custom,
                                  const std::string& selected)
{
    realmPanel->SetAccentColor(accent);
    realmPanel->SetFactoryEntries(factory);
    realmPanel->SetCustomEntries(custom);
    realmPanel->SetSelectedPath(selected);
}

void LibraryController::FillProfilesPanel()
{
    if (realmPanel == nullptr)
    {
        return;
    }
    const std::wstring factoryFolder = FactoryProfilesFolder();
    std::vector<LibraryEntry> factory = ListProfiles(factoryFolder, true);
    EnsureDefaultProfileListed(factory, FsPathToWide(WidePathToFs(factoryFolder) / "Balanced.prs"));
    FillPanel(kProfilesAccent, factory, ListProfiles(GetUserProfilesFolder(), false), profilePath);
}

void LibraryController::FillStylesPanel()
{
    if (realmPanel == nullptr)
    {
        return;
    }
    FillPanel(kStylesAccent, ListStyles(InExeFolder("style"), true),
              ListStyles(GetUserStylesFolder(), false), stylePath);
}

void LibraryController::FillPresetsPanel()
{
    if (realmPanel == nullptr)
    {
        return;
    }
    FillPanel(kPresetsAccent, ListPresets(InExeFolder("presets"), true),
              ListPresets(GetUserPresetsFolder(), false), presetPath);
}

void LibraryController::ApplyPickedEntry(const RealmItemPick& item, CBrimvaleDoc* document)
{
    const std::wstring name = Utf8ToWide(item.name);
    if (openPillId != 0 && openPillId == profilePillId)
    {
        if (document != nullptr)
        {
            CString error;
            if (!document->SetReferenceProfile(item.path, error))
            {
                // The document kept its profile; so does the remembered path.
                AfxMessageBox(error, MB_ICONERROR);
                return;
            }
        }
        profilePath = item.path;
        SetPillText(profilePillId, name);
        if (profilePage != nullptr && profilePage->GetSafeHwnd() != nullptr)
        {
            if (document != nullptr)
            {
                const std::wstring path =
                    ResolveProfilePath(document->settings.referenceProfileFileName,
                                       document->settings.referenceProfileIsFactory);
                if (document->profileLoaded && document->loadedProfilePath == WideToUtf8(path))
                {
                    profilePage->SetProfile(document->referenceProfile, path);
                }
                else
                {
                    profilePage->LoadProfile(path);
                }
            }
            else
            {
                profilePage->LoadProfile(Utf8ToWide(item.path));
            }
            pageWindow = profilePage;
        }
    }
    // A picked style or preset is remembered, and shown on its pill, by the
    // view once it has been applied: one that fails to load never becomes
    // the current choice.
    openPillId = 0;
    ShowInSlot(pageWindow);
}

void LibraryController::ShowProfileCreator()
{
    if (creatorPage == nullptr || creatorPage->GetSafeHwnd() == nullptr)
    {
        return;
    }
    openPillId = 0;
    ShowInSlot(pageWindow);
    ShowInSlot(creatorPage);
}
