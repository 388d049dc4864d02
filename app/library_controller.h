#pragma once

#include "pages/library_entry.h"
#include "platform/win32/win_types.h"

#include <string>
#include <vector>

class CBrimvaleDoc;
class CProfileCreatorViewportWnd;
class CRealmSelectorPanelWnd;
class CRealmSelectorViewportWnd;
class CRealmSelectorWnd;
class CReferenceProfileViewportWnd;
class CWnd;
class LayoutTree;
struct RealmItemPick;

// The styles (".mst"), presets (".msp") and reference profiles (".prs") of
// one library folder, in library order: "Reference Master" first, then by
// name with ASCII letters folded to lower case (names that differ only in
// case keep no defined order). Only regular files whose extension matches
// exactly are taken; subfolders and links are skipped, and so is
// "Unsaved_Profile.prs" in any letter case, the trial file of the profile
// tools. A file's non-empty comment in the folder's "meta.json" is its
// description, else the factory or custom fixed text. A missing or unreadable
// folder lists nothing; when reading stops part way the files read so far are
// listed.
std::vector<LibraryEntry> ListStyles(const std::wstring& folder, bool isFactory);
std::vector<LibraryEntry> ListPresets(const std::wstring& folder, bool isFactory);
std::vector<LibraryEntry> ListProfiles(const std::wstring& folder, bool isFactory);

// Puts the factory default profile at the very front unless an entry has
// exactly this path; the file need not exist.
void EnsureDefaultProfileListed(std::vector<LibraryEntry>& list, const std::wstring& path);

// The file stem of a UTF-8 path; empty for an empty path.
std::wstring LibraryDisplayName(const std::string& path);

// What the three realm pills offer and show: it fills the realm panel when a
// pill opens it, takes the user's pick and keeps the pills' value texts in
// line with the document. It belongs to the view, which wires the windows in
// once; it owns none of them. Interface thread only.
class LibraryController
{
public:
    // Sets the pills' value texts from the document (may be null) and the
    // remembered style and preset; does nothing before the bar has a window.
    void RefreshLibraryLists(CBrimvaleDoc* document);

    // Read both folders of the kind again and hand them to the panel with the
    // kind's accent colour and the current choice marked.
    void FillProfilesPanel();
    void FillStylesPanel();
    void FillPresetsPanel();

    // The first step of a pick from the open panel. A profile is made the
    // document's (a refusal shows the document's error and leaves the panel
    // open and everything as it was) and shown on the profile page; a style
    // or preset is left to the view, which remembers it once it applied.
    // Then the panel closes.
    void ApplyPickedEntry(const RealmItemPick& item, CBrimvaleDoc* document);

    // Closes any panel and shows the profile creator in the page slot;
    // `pageWindow` stays, for the creator's way back.
    void ShowProfileCreator();

    CRealmSelectorViewportWnd* realmBar = nullptr;
    CRealmSelectorPanelWnd* realmPanel = nullptr;
    CProfileCreatorViewportWnd* creatorPage = nullptr;
    CReferenceProfileViewportWnd* profilePage = nullptr;
    LayoutTree* layout = nullptr;
    int slotId = 6;
    CWnd* pageWindow = nullptr;
    UINT profilePillId = 0;
    UINT stylePillId = 0;
    UINT presetPillId = 0;
    std::string profilePath = "crown_neutral"; // UTF-8, as the other two
    std::string stylePath = "realm_mastering";
    std::string presetPath = "codex_reference";
    UINT openPillId = 0;

private:
    // Null for an id that names none of the bar's pills, or before the bar
    // has a window.
    CRealmSelectorWnd* Pill(UINT pillId) const;
    void SetPillText(UINT pillId, const std::wstring& text) const;
    void ShowInSlot(CWnd* window) const;
    void FillPanel(COLORREF accent, const std::vector<LibraryEntry>& factory,
                   const std::vector<LibraryEntry>& custom, const std::string& selected);
};
