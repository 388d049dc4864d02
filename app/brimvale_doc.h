#pragma once

#include "engine/audio_buffer.h"
#include "engine/engine_request.h"
#include "engine/profiles/reference_profile.h"
#include "engine/settings/mastering_settings.h"
#include "platform/mfc/document.h"

#include <cstdint>
#include <string>

// The one open mastering setup: the imported track, the last export result,
// the settings, the request every run copies, and the reference profile loaded
// for it. Windows read the members directly and change them only through the
// operations below. A change goes copy, change, commit: a refused or failed
// one leaves every member as it was; a committed one empties `output` and
// raises `pendingPreviewScope`. The document has no file of its own and is
// never marked modified. Interface thread only.
class CBrimvaleDoc : public CDocument
{
    DECLARE_DYNCREATE(CBrimvaleDoc)

public:
    // Factory setup; "Balanced.prs" is loaded when it can be, and a missing
    // profile is no error here.
    CBrimvaleDoc();

    // Version 1, the MatchSettings defaults, "Balanced.prs" from the factory
    // folder, no add-ons.
    static MasteringSettings FactorySettings();
    // The factory match settings, from the start of the chain, no callbacks.
    static EngineRequest FactoryRequest();

    // Framework overrides.
    BOOL OnNewDocument() override;
    BOOL SaveModified() override;
    void Serialize(CArchive&) override {}

    // Reads a track. On failure `track` and `trackPath` stay as they were and
    // `error` says why; on success `trackLoadCount` goes up. Callers raise the
    // pending scope themselves.
    bool LoadAudioFile(const std::wstring& path, CString& error);
    void ClearAudio();
    void ClearOutput();

    // Makes the ".prs" file at this UTF-8 path the setup's reference profile.
    // It must lie directly in the factory or the documents profiles folder
    // (the factory one is asked first). When it cannot be loaded, the previous
    // profile stays chosen and loaded.
    bool SetReferenceProfile(const std::string& path, CString& error);
    // Loads the profile the settings name unless it is the one loaded already.
    // Never changes the revision or the pending scope.
    bool PrepareReferenceProfile(CString& error);
    void ClearReferenceProfile();

    // A preset or a restored setup: everything, the profile included (loaded
    // when it can be).
    void ApplySettings(const MasteringSettings& applied);
    // A style file: its match settings and add-on chain; the profile stays.
    // Throws what MasteringSettings::LoadFromFile throws, and then nothing changes.
    void ApplyStyle(const std::wstring& path);

    // One engine parameter from a control's position (0..1). False, and
    // nothing changes, for a parameter the setup does not hold or a position
    // that is not a number.
    bool CommitCanonicalControl(const std::string& section, const std::string& key,
                                double normalized, int scope);
    // True also when the add-on is in the chain already: then only the output
    // is cleared and the scope raised.
    bool AddChainAddon(const std::string& addonId, int scope);
    bool RemoveChainAddon(const std::string& addonId, int scope);
    // Adds the add-on (enabled, defaults) when the chain lacks it.
    bool CommitAddonControl(const std::string& addonId, const std::string& parameterId,
                            double normalized, int scope);
    // The stored value, or the default when the chain lacks it, as a position.
    bool GetAddonControlNormalized(const std::string& addonId, const std::string& parameterId,
                                   double& normalized) const;

    // The one way the pending scope grows: to at least `scope` (0..12).
    void RaisePreviewScope(int scope);
    // A preview or export result is current: nothing needs computing again.
    void MarkPreviewCurrent();

    AudioBuffer track;
    std::wstring trackPath;
    // Raised by every successful load: the one way to tell a newly loaded
    // track from the one before, whose storage may have been freed and reused.
    std::uint64_t trackLoadCount = 0;
    AudioBuffer output;
    MasteringSettings settings;
    EngineRequest request;
    ReferenceProfile referenceProfile;
    std::string loadedProfilePath; // UTF-8
    bool profileLoaded = false;
    std::uint64_t profileRevision = 0;
    int pendingPreviewScope = PreviewStage1;

private:
    void ResetToFactory();
    // Assigns the changed settings back, brings the request in line, empties
    // the output, raises the scope and clears the modified flag.
    void Commit(MasteringSettings changed, int scope);
    // What a change of the loudness strength must recompute: the ceiling it
    // sets reaches every enabled add-on after stage 3.
    int LoudnessStrengthScope(int scope) const;
};
