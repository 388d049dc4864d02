#include "app/brimvale_doc.h"

#include "app/profile_folders.h"
#include "base/unicode_text.h"
#include "engine/chain/processor_descriptor.h"
#include "engine/io/audio_file_reader.h"
#include "engine/out_of_memory.h"
#include "engine/settings/parameter_catalog.h"
#include "registry/addon_registry.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <utility>

IMPLEMENT_DYNCREATE(CBrimvaleDoc, CDocument)

namespace
{

constexpr const wchar_t* kProfileNotConfiguredText = L"Reference profile is not configured.";
constexpr const wchar_t* kProfileOutsideFoldersText =
    L"Reference profile must be stored in the factory or document profiles folder.";

// "<sentence>:\n<the exception's text>", the text converted from UTF-8.
CString FailureText(const wchar_t* sentence, const std::exception& failure)
{
    CString text;
    text.Format(L"%ls:\n%ls", sentence, CString(failure.what()).GetString());
    return text;
}

constexpr const char* kLoudnessSection = "stage4";
constexpr const char* kLoudnessKey = "loudness_strength";

} // namespace

CBrimvaleDoc::CBrimvaleDoc()
{
    ResetToFactory();
    CString ignored;
    PrepareReferenceProfile(ignored);
}

MasteringSettings CBrimvaleDoc::FactorySettings()
{
    return MasteringSettings{};
}

EngineRequest CBrimvaleDoc::FactoryRequest()
{
    EngineRequest factory;
    factory.settings = FactorySettings().match;
    factory.previewScope = PreviewFromStart;
    factory.logDetail = 0;
    return factory;
}

void CBrimvaleDoc::ResetToFactory()
{
    settings = FactorySettings();
    request = FactoryRequest();
}

BOOL CBrimvaleDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
    {
        return FALSE;
    }
    ClearAudio();
    ClearOutput();
    ResetToFactory();
    pendingPreviewScope = PreviewStage1;
    CString ignored;
    PrepareReferenceProfile(ignored);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CBrimvaleDoc::SaveModified()
{
    SetModifiedFlag(FALSE);
    return TRUE;
}

bool CBrimvaleDoc::LoadAudioFile(const std::wstring& path, CString& error)
{
    // Read into a temporary, so that a file that cannot be read leaves the
    // track the user had.
    AudioBuffer loaded;
    try
    {
        loaded = WithOutOfMemoryText([&] { return ReadAudioFile(path); });
    }
    catch (const std::exception& failure)
    {
        error = FailureText(L"Failed to load audio file", failure);
        SetModifiedFlag(FALSE);
        return false;
    }
    track = std::move(loaded);
    trackPath = path;
    ++trackLoadCount;
    error.Empty();
    SetModifiedFlag(FALSE);
    return true;
}

void CBrimvaleDoc::ClearAudio()
{
    track = AudioBuffer{};
    trackPath.clear();
}

void CBrimvaleDoc::ClearOutput()
{
    output = AudioBuffer{};
}

bool CBrimvaleDoc::SetReferenceProfile(const std::string& path, CString& error)
{
    if (path.empty())
    {
        error = kProfileNotConfiguredText;
        return false;
    }
    const std::filesystem::path chosen = WidePathToFs(Utf8ToWide(path)).lexically_normal();
    const std::wstring wideChosen = FsPathToWide(chosen);

    // Only a file directly in a profiles folder can be named by its file name
    // alone and found again there.
    bool factory = false;
    if (IsPathDirectlyInFolder(wideChosen, FactoryProfilesFolder()))
    {
        factory = true;
    }
    else if (!IsPathDirectlyInFolder(wideChosen, DocumentsProfilesFolder()))
    {
        error = kProfileOutsideFoldersText;
        return false;
    }

    // Work on the chosen profile, and put the previous one back when the new
    // file cannot be loaded: a failed pick must not cost the working profile.
    std::string previousName = std::move(settings.referenceProfileFileName);
    const bool previousFactory = settings.referenceProfileIsFactory;
    ReferenceProfile previousProfile = std::move(referenceProfile);
    std::string previousPath = std::move(loadedProfilePath);
    const bool previousLoaded = profileLoaded;

    settings.referenceProfileFileName = ProfileFileNamePart(WideToUtf8(
        FsPathToWide(chosen.has_filename() ? chosen.filename() : chosen.parent_path().filename())));
    settings.referenceProfileIsFactory = factory;
    ClearReferenceProfile();
    if (!PrepareReferenceProfile(error))
    {
        settings.referenceProfileFileName = std::move(previousName);
        settings.referenceProfileIsFactory = previousFactory;
        referenceProfile = std::move(previousProfile);
        loadedProfilePath = std::move(previousPath);
        profileLoaded = previousLoaded;
        SetModifiedFlag(FALSE);
        return false;
    }
    ++profileRevision;
    ClearOutput();
    RaisePreviewScope(PreviewStage1);
    SetModifiedFlag(FALSE);
    return true;
}

bool CBrimvaleDoc::PrepareReferenceProfile(CString& error)
{
    const std::wstring path =
        ResolveProfilePath(settings.referenceProfileFileName, settings.referenceProfileIsFactory);
    if (path.empty())
    {
        error = kProfileNotConfiguredText;
        return false;
    }
    const std::string utf8Path = WideToUtf8(path);
    if (profileLoaded && loadedProfilePath == utf8Path)
    {
        error.Empty();
        return true;
    }
    try
    {
        referenceProfile = WithOutOfMemoryText([&] { return ReadReferenceProfile(path); });
        loadedProfilePath = utf8Path;
        profileLoaded = true;
        error.Empty();
        return true;
    }
    catch (const std::exception& failure)
    {
        ClearReferenceProfile();
        error = FailureText(L"Failed to load reference profile", failure);
        return false;
    }
}

void CBrimvaleDoc::ClearReferenceProfile()
{
    referenceProfile = ReferenceProfile{};
    loadedProfilePath.clear();
    profileLoaded = false;
}

void CBrimvaleDoc::ApplySettings(const MasteringSettings& applied)
{
    settings = applied;
    request.settings = settings.match;
    ClearReferenceProfile();
    CString ignored;
    PrepareReferenceProfile(ignored);
    ClearOutput();
    RaisePreviewScope(PreviewStage1);
    SetModifiedFlag(FALSE);
}

void CBrimvaleDoc::ApplyStyle(const std::wstring& path)
{
    const MasteringSettings style = MasteringSettings::LoadFromFile(WidePathToFs(path));
    MasteringSettings changed = settings;
    changed.match = style.match;
    changed.addons = style.addons;
    Commit(std::move(changed), PreviewStage1);
}

bool CBrimvaleDoc::CommitCanonicalControl(const std::string& section, const std::string& key,
                                          double normalized, int scope)
{
    if (!std::isfinite(normalized))
    {
        return false;
    }
    const ParameterDescriptor* descriptor = FindParameterDescriptor(section, key);
    if (descriptor == nullptr)
    {
        return false;
    }
    const double value = ParameterValueFromPosition(*descriptor, normalized);
    MasteringSettings changed = settings;
    if (!changed.SetCanonicalValue(section, key, value))
    {
        return false;
    }
    EngineRequest changedRequest = request;
    if (!changedRequest.SetCanonicalValue(section, key, value))
    {
        return false;
    }
    if (section == kLoudnessSection && key == kLoudnessKey)
    {
        scope = LoudnessStrengthScope(scope);
    }
    request = std::move(changedRequest);
    Commit(std::move(changed), scope);
    return true;
}

int CBrimvaleDoc::LoudnessStrengthScope(int scope) const
{
    // Stage 4's loudness strength sets the ceiling the run hands to the add-ons
    // after stage 3, and no preview checkpoint is keyed by it: their output must
    // be made again, from the earliest of them.
    int raised = std::max(scope, static_cast<int>(PreviewStage4));
    for (const ChainEntry& entry : settings.addons)
    {
        const ProcessorDescriptor* descriptor = FindProcessorDescriptor(entry.id);
        if (entry.enabled && descriptor != nullptr && descriptor->chainPosition != ChainPreMatch)
        {
            raised = std::max(raised, ChainPositionScope(descriptor->chainPosition));
        }
    }
    return raised;
}

bool CBrimvaleDoc::AddChainAddon(const std::string& addonId, int scope)
{
    const ProcessorDescriptor* descriptor = FindProcessorDescriptor(addonId);
    if (descriptor == nullptr)
    {
        return false;
    }
    MasteringSettings changed = settings;
    if (FindChainEntry(changed.addons, addonId) == nullptr)
    {
        changed.addons.push_back(MakeChainEntry(*descriptor));
    }
    Commit(std::move(changed), scope);
    return true;
}

bool CBrimvaleDoc::RemoveChainAddon(const std::string& addonId, int scope)
{
    MasteringSettings changed = settings;
    const ChainEntry* entry = FindChainEntry(changed.addons, addonId);
    if (entry == nullptr)
    {
        return false;
    }
    changed.addons.erase(changed.addons.begin() + (entry - changed.addons.data()));
    Commit(std::move(changed), scope);
    return true;
}

bool CBrimvaleDoc::CommitAddonControl(const std::string& addonId, const std::string& parameterId,
                                      double normalized, int scope)
{
    if (!std::isfinite(normalized))
    {
        return false;
    }
    const ProcessorDescriptor* descriptor = FindProcessorDescriptor(addonId);
    const AddonParamSpec* spec =
        descriptor != nullptr ? FindAddonParamSpec(*descriptor, parameterId) : nullptr;
    if (spec == nullptr)
    {
        return false;
    }
    MasteringSettings changed = settings;
    ChainEntry* entry = FindChainEntry(changed.addons, addonId);
    if (entry == nullptr)
    {
        entry = &changed.addons.emplace_back(MakeChainEntry(*descriptor));
    }
    auto value =
        std::find_if(entry->parameters.begin(), entry->parameters.end(),
                     [&](const ChainParameterValue& stored) { return stored.id == parameterId; });
    if (value == entry->parameters.end())
    {
        value = entry->parameters.insert(entry->parameters.end(),
                                         ChainParameterValue{parameterId, spec->defaultValue});
    }
    value->value = AddonParamValueFromPosition(*spec, normalized);
    Commit(std::move(changed), scope);
    return true;
}

bool CBrimvaleDoc::GetAddonControlNormalized(const std::string& addonId,
                                             const std::string& parameterId,
                                             double& normalized) const
{
    const ProcessorDescriptor* descriptor = FindProcessorDescriptor(addonId);
    const AddonParamSpec* spec =
        descriptor != nullptr ? FindAddonParamSpec(*descriptor, parameterId) : nullptr;
    if (spec == nullptr)
    {
        return false;
    }
    double value = spec->defaultValue;
    if (const ChainEntry* entry = FindChainEntry(settings.addons, addonId))
    {
        const auto stored = std::find_if(entry->parameters.begin(), entry->parameters.end(),
                                         [&](const ChainParameterValue& candidate)
                                         { return candidate.id == parameterId; });
        if (stored != entry->parameters.end())
        {
            value = stored->value;
        }
    }
    normalized = AddonParamPositionFromValue(*spec, value);
    return true;
}

void CBrimvaleDoc::RaisePreviewScope(int scope)
{
    pendingPreviewScope =
        std::max(pendingPreviewScope, std::clamp(scope, static_cast<int>(PreviewClean),
                                                 static_cast<int>(PreviewFromStart)));
}

void CBrimvaleDoc::MarkPreviewCurrent()
{
    pendingPreviewScope = PreviewClean;
}

void CBrimvaleDoc::Commit(MasteringSettings changed, int scope)
{
    settings = std::move(changed);
    request.settings = settings.match;
    ClearOutput();
    RaisePreviewScope(scope);
    SetModifiedFlag(FALSE);
}
