#include "app/brimvale_doc.h"

#include "app/profile_folders.h"
#include "base/unicode_text.h"
#include "engine/chain/processor_descriptor.h"
#include "engine/io/audio_file_writer.h"
#include "engine/settings/parameter_catalog.h"
#include "platform/win32/shell_folders.h"
#include "registry/addon_registry.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/settings_checks.h"
#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

bool StartsWith(const CString& text, const wchar_t* prefix)
{
    return text.Str().rfind(prefix, 0) == 0;
}

bool SameChain(const std::vector<ChainEntry>& a, const std::vector<ChainEntry>& b)
{
    if (a.size() != b.size())
    {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (a[i].id != b[i].id || a[i].enabled != b[i].enabled ||
            a[i].parameters.size() != b[i].parameters.size())
        {
            return false;
        }
        for (size_t j = 0; j < a[i].parameters.size(); ++j)
        {
            if (a[i].parameters[j].id != b[i].parameters[j].id ||
                a[i].parameters[j].value != b[i].parameters[j].value)
            {
                return false;
            }
        }
    }
    return true;
}

bool SameSettings(const MasteringSettings& a, const MasteringSettings& b)
{
    return a.version == b.version && SameMatchSettings(a.match, b.match) &&
           a.referenceProfileFileName == b.referenceProfileFileName &&
           a.referenceProfileIsFactory == b.referenceProfileIsFactory &&
           SameChain(a.addons, b.addons);
}

bool SameAudio(const AudioBuffer& a, const AudioBuffer& b)
{
    return a.sampleRate == b.sampleRate && a.samples == b.samples &&
           a.meterSeries.size() == b.meterSeries.size() &&
           a.stageMetrics.size() == b.stageMetrics.size();
}

// Everything a document holds, to tell that a refused change touched nothing.
struct DocumentState
{
    explicit DocumentState(const CBrimvaleDoc& doc)
        : track(doc.track), trackPath(doc.trackPath), output(doc.output), settings(doc.settings),
          requestMatch(doc.request.settings), requestScope(doc.request.previewScope),
          profile(doc.referenceProfile), loadedProfilePath(doc.loadedProfilePath),
          profileLoaded(doc.profileLoaded), profileRevision(doc.profileRevision),
          pendingPreviewScope(doc.pendingPreviewScope)
    {
    }

    // The names of the members that differ.
    std::string DifferencesFrom(const DocumentState& o) const
    {
        std::string out;
        auto note = [&](bool same, const char* name)
        {
            if (!same)
            {
                out += std::string(out.empty() ? "" : ", ") + name;
            }
        };
        note(SameAudio(track, o.track), "track");
        note(trackPath == o.trackPath, "trackPath");
        note(SameAudio(output, o.output), "output");
        note(SameSettings(settings, o.settings), "settings");
        note(SameMatchSettings(requestMatch, o.requestMatch) && requestScope == o.requestScope,
             "request");
        note(profile == o.profile, "referenceProfile");
        note(loadedProfilePath == o.loadedProfilePath, "loadedProfilePath");
        note(profileLoaded == o.profileLoaded, "profileLoaded");
        note(profileRevision == o.profileRevision, "profileRevision");
        note(pendingPreviewScope == o.pendingPreviewScope, "pendingPreviewScope");
        return out;
    }

    AudioBuffer track;
    std::wstring trackPath;
    AudioBuffer output;
    MasteringSettings settings;
    MatchSettings requestMatch;
    int requestScope;
    ReferenceProfile profile;
    std::string loadedProfilePath;
    bool profileLoaded;
    std::uint64_t profileRevision;
    int pendingPreviewScope;
};

// The first add-on at this position, with a parameter of this kind.
struct AddonPick
{
    std::string id;
    std::string parameter;
    const AddonParamSpec* spec = nullptr;
};

AddonPick FirstAddonAt(int position, int kind = kAddonParamContinuous)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        if (descriptor.chainPosition != position)
        {
            continue;
        }
        for (const AddonParamSpec& spec : descriptor.parameters)
        {
            if (spec.kind == kind && spec.maxValue > spec.minValue)
            {
                return {descriptor.id, spec.id, &spec};
            }
        }
    }
    ADD_FAILURE() << "no add-on at position " << position << " with a parameter of kind " << kind;
    return {};
}

ReferenceProfile NamedProfile(const std::string& name)
{
    ReferenceProfile profile;
    profile.name = name;
    profile.description = "written by the document tests";
    return profile;
}

// A program folder with its factory profiles and a documents folder named by
// user-dirs.dirs, both in a temporary folder; the document is made after the
// files a test wants are written.
class DocumentTest : public ::testing::Test
{
public:
    DocumentTest()
        : home("HOME", (temp / "home").string()),
          config("XDG_CONFIG_HOME", (temp / "config").string())
    {
        fs::create_directories(factoryFolder);
        fs::create_directories(userFolder);
        fs::create_directories(temp / "config");
        WriteFileBytes(temp / "config" / "user-dirs.dirs",
                       "XDG_DOCUMENTS_DIR=\"" + (temp / "docs").string() + "\"\n");
        brvl::win32::SetModuleFolderForTests(temp / "program");
    }

    ~DocumentTest() override { brvl::win32::SetModuleFolderForTests({}); }

    static void WriteProfile(const fs::path& path, const std::string& name)
    {
        WriteReferenceProfile(FsPathToWide(path), NamedProfile(name));
    }

    static std::string Utf8(const fs::path& path) { return PathToUtf8(path); }

    std::wstring WriteTrack(const std::string& name, double frequencyHz)
    {
        const std::wstring path = FsPathToWide(temp / name);
        WriteAudioFile(path, StereoSine(frequencyHz, 44100, 0.1, 0.5), AudioWriteOptions{});
        return path;
    }

    CBrimvaleDoc& MakeDocument()
    {
        doc = std::make_unique<CBrimvaleDoc>();
        return *doc;
    }

    // A document with something in every member: a track, an output, an
    // add-on, a user profile loaded and a pending scope.
    CBrimvaleDoc& BusyDocument()
    {
        WriteProfile(factoryFolder / "Balanced.prs", "Balanced");
        WriteProfile(userFolder / "Mine.prs", "Mine");
        CBrimvaleDoc& busy = MakeDocument();
        CString error;
        EXPECT_TRUE(busy.LoadAudioFile(WriteTrack("busy.wav", 440.0), error)) << error.GetString();
        EXPECT_TRUE(busy.SetReferenceProfile(Utf8(userFolder / "Mine.prs"), error))
            << error.GetString();
        EXPECT_TRUE(busy.AddChainAddon(FirstAddonAt(ChainPreLimiter).id, PreviewPreLimiter));
        busy.output = StereoSine(220.0, 48000, 0.05, 0.25);
        busy.MarkPreviewCurrent();
        busy.RaisePreviewScope(PreviewPreLimiter);
        return busy;
    }

    TempDir temp;
    ScopedEnvironment home;
    ScopedEnvironment config;
    fs::path factoryFolder = temp / "program" / "profiles";
    fs::path userFolder = temp / "docs" / "Brimhold" / "profiles";
    std::unique_ptr<CBrimvaleDoc> doc;
};

} // namespace

TEST_F(DocumentTest, FoldersComeFromTheProgramAndTheDocumentsFolder)
{
    EXPECT_EQ(FactoryProfilesFolder(), FsPathToWide(factoryFolder));
    EXPECT_EQ(DocumentsProfilesFolder(), FsPathToWide(userFolder));
    EXPECT_EQ(ResolveProfilePath("Balanced.prs", true),
              FsPathToWide(factoryFolder / "Balanced.prs"));
    EXPECT_EQ(ResolveProfilePath("sub\\dir/Mine.prs", false),
              FsPathToWide(userFolder / "Mine.prs"));
    EXPECT_EQ(ResolveProfilePath("C:\\Users\\x\\Mine.prs", false),
              FsPathToWide(userFolder / "Mine.prs"));
    for (const char* name : {"", "folder/", "folder\\", "..", "a/.."})
    {
        EXPECT_EQ(ResolveProfilePath(name, true), L"") << "'" << name << "'";
    }
}

TEST_F(DocumentTest, WithoutADocumentsFolderTheUserProfilesAreRelative)
{
    const ScopedEnvironment noHome("HOME", std::nullopt);
    EXPECT_EQ(DocumentsProfilesFolder(), L"Brimhold/profiles");
}

TEST(ProfileFolders, IsPathInsideFolderComparesWholeNormalisedComponents)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* folder;
        bool inside;
        bool directly;
    };
    const Case cases[] = {
        {L"/p/profiles/a.prs", L"/p/profiles", true, true},
        {L"/p/profiles", L"/p/profiles", true, false},
        {L"/p/profiles/", L"/p/profiles", true, false},
        {L"/p/profiles/a.prs", L"/p/profiles/", true, true},
        {L"/p/profiles/sub/a.prs", L"/p/profiles", true, false},
        {L"/p/profiles2/a.prs", L"/p/profiles", false, false},
        {L"/p/profile", L"/p/profiles", false, false},
        {L"/p/profiles/../profiles2/a.prs", L"/p/profiles", false, false},
        {L"/p/profiles/../other.prs", L"/p/profiles", false, false},
        {L"/p/profiles/./sub/../a.prs", L"/p/profiles", true, true},
        {L"/p/x/../profiles/a.prs", L"/p/./profiles", true, true},
        {L"/p/Profiles/a.prs", L"/p/profiles", false, false},
        {L"/p", L"/p/profiles", false, false},
        {L"", L"/p/profiles", false, false},
        {L"/p/profiles/a.prs", L"", false, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(IsPathInsideFolder(c.path, c.folder), c.inside)
            << WideToUtf8(c.path) << " in " << WideToUtf8(c.folder);
        EXPECT_EQ(IsPathDirectlyInFolder(c.path, c.folder), c.directly)
            << WideToUtf8(c.path) << " directly in " << WideToUtf8(c.folder);
    }
    // A relative path is taken against the current directory.
    const std::wstring here = FsPathToWide(fs::current_path());
    EXPECT_TRUE(IsPathInsideFolder(L"sub/a.prs", here));
    EXPECT_FALSE(IsPathInsideFolder(L"../a.prs", here));
}

TEST_F(DocumentTest, ANewDocumentHoldsTheFactorySetupWithBalancedLoaded)
{
    WriteProfile(factoryFolder / "Balanced.prs", "Balanced");
    CBrimvaleDoc& d = MakeDocument();

    EXPECT_TRUE(SameSettings(d.settings, CBrimvaleDoc::FactorySettings()));
    EXPECT_EQ(d.settings.referenceProfileFileName, "Balanced.prs");
    EXPECT_TRUE(d.settings.referenceProfileIsFactory);
    EXPECT_EQ(d.settings.match.internalSampleRate, 48000);
    EXPECT_TRUE(SameMatchSettings(d.request.settings, d.settings.match));
    EXPECT_EQ(d.request.previewScope, PreviewFromStart);
    EXPECT_EQ(d.request.logDetail, 0);
    EXPECT_TRUE(d.profileLoaded);
    EXPECT_EQ(d.referenceProfile.name, "Balanced");
    EXPECT_EQ(d.loadedProfilePath, Utf8(factoryFolder / "Balanced.prs"));
    EXPECT_EQ(d.profileRevision, 0u);
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage1);
    EXPECT_EQ(d.track.sampleRate, 0);
    EXPECT_TRUE(d.trackPath.empty());
    EXPECT_FALSE(d.IsModified());
}

TEST_F(DocumentTest, ANewDocumentWithoutBalancedOpensWithNoProfile)
{
    CBrimvaleDoc& d = MakeDocument();
    EXPECT_FALSE(d.profileLoaded);
    EXPECT_TRUE(d.referenceProfile == ReferenceProfile{});
    EXPECT_TRUE(d.loadedProfilePath.empty());
    EXPECT_EQ(d.OnNewDocument(), TRUE);
    EXPECT_FALSE(d.profileLoaded);
}

TEST_F(DocumentTest, OnNewDocumentResetsEverythingButTheRevision)
{
    CBrimvaleDoc& d = BusyDocument();
    ASSERT_TRUE(d.CommitCanonicalControl("stage2", "strength", 0.1, PreviewStage2PostFft));
    const std::uint64_t revision = d.profileRevision;

    d.SetModifiedFlag(TRUE);
    EXPECT_EQ(d.OnNewDocument(), TRUE);
    EXPECT_EQ(d.track.sampleRate, 0);
    EXPECT_TRUE(d.track.samples.empty());
    EXPECT_TRUE(d.trackPath.empty());
    EXPECT_TRUE(d.output.samples.empty());
    EXPECT_TRUE(SameSettings(d.settings, CBrimvaleDoc::FactorySettings()));
    EXPECT_TRUE(SameMatchSettings(d.request.settings, MatchSettings{}));
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage1);
    EXPECT_TRUE(d.profileLoaded);
    EXPECT_EQ(d.referenceProfile.name, "Balanced");
    EXPECT_EQ(d.profileRevision, revision);
    EXPECT_FALSE(d.IsModified());
    d.SetModifiedFlag(TRUE);
    EXPECT_EQ(d.SaveModified(), TRUE);
    EXPECT_FALSE(d.IsModified());
}

TEST_F(DocumentTest, EngineParametersCommitThroughTheCatalogue)
{
    struct Case
    {
        const char* section;
        const char* key;
        double normalized;
        double readBack; // through MasteringSettings::GetCanonicalValue
        std::function<bool(const MatchSettings&)> stored;
    };
    const Case cases[] = {
        {"stage4", "limiter_mode", 0.74, 1.0,
         [](const MatchSettings& m) { return m.limiterMode == 1; }},
        {"stage4", "limiter_mode", 0.76, 2.0,
         [](const MatchSettings& m) { return m.limiterMode == 2; }},
        {"stage2", "smoothing_octave", 0.5, 1.0,
         [](const MatchSettings& m) { return m.smoothingOctaveDenominator == 6; }},
        {"stage2", "smoothing_octave", 1.0, 2.0,
         [](const MatchSettings& m) { return m.smoothingOctaveDenominator == 12; }},
        {"stage2", "psychoacoustic", 0.5, 1.0,
         [](const MatchSettings& m) { return m.psychoacoustic; }},
        {"stage2", "adaptive_strength", 0.4999, 0.0,
         [](const MatchSettings& m) { return !m.adaptiveStrength; }},
        {"stage4", "limiter_oversample", 1.0, 2.0,
         [](const MatchSettings& m) { return m.limiterOversample == 4; }},
        {"stage3", "strength", 7.0, 1.0,
         [](const MatchSettings& m) { return m.stage3Strength == 1.0; }},
    };
    for (const Case& c : cases)
    {
        CBrimvaleDoc& d = MakeDocument();
        d.MarkPreviewCurrent();
        d.output = StereoSine(100.0, 48000, 0.01, 0.1);
        const ParameterDescriptor* descriptor = FindParameterDescriptor(c.section, c.key);
        ASSERT_NE(descriptor, nullptr);
        ASSERT_TRUE(
            d.CommitCanonicalControl(c.section, c.key, c.normalized, descriptor->previewScope))
            << c.section << "." << c.key;
        EXPECT_TRUE(c.stored(d.settings.match))
            << c.section << "." << c.key << " at " << c.normalized;
        EXPECT_TRUE(SameMatchSettings(d.request.settings, d.settings.match));
        double read = -1.0;
        EXPECT_TRUE(d.settings.GetCanonicalValue(c.section, c.key, read));
        EXPECT_EQ(read, c.readBack) << c.section << "." << c.key;
        EXPECT_TRUE(d.output.samples.empty()) << "a committed change keeps a stale output";
        EXPECT_EQ(d.pendingPreviewScope, descriptor->previewScope);
    }
}

TEST_F(DocumentTest, TheLargestPendingScopeWinsUntilAResult)
{
    CBrimvaleDoc& d = MakeDocument();
    d.MarkPreviewCurrent();
    d.RaisePreviewScope(PreviewFromStart); // the waveform range changed
    ASSERT_TRUE(d.CommitCanonicalControl("stage4", "limiter_strength", 0.5, PreviewStage4));
    EXPECT_EQ(d.pendingPreviewScope, PreviewFromStart);

    d.MarkPreviewCurrent();
    ASSERT_TRUE(d.CommitCanonicalControl("stage4", "limiter_strength", 0.5, PreviewStage4));
    ASSERT_TRUE(d.CommitCanonicalControl("stage3", "strength", 0.5, PreviewStage3));
    ASSERT_TRUE(d.CommitCanonicalControl("stage4", "limiter_strength", 0.2, PreviewStage4));
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage3);

    d.RaisePreviewScope(40);
    EXPECT_EQ(d.pendingPreviewScope, PreviewFromStart) << "no scope lies beyond the start";
    d.MarkPreviewCurrent();
    d.RaisePreviewScope(-3);
    EXPECT_EQ(d.pendingPreviewScope, PreviewClean);
}

TEST_F(DocumentTest, LoudnessStrengthRecomputesTheAddonsAfterStageThree)
{
    // The ceiling stage 4's loudness strength sets is handed to every add-on
    // after stage 3, and no checkpoint is keyed by it.
    struct Case
    {
        const char* chain;
        std::vector<std::pair<int, bool>> addons; // position, enabled
        int expected;
    };
    const Case cases[] = {
        {"no add-ons", {}, PreviewStage4},
        {"a PRELIMITER add-on", {{ChainPreLimiter, true}}, PreviewPreLimiter},
        {"a disabled PRELIMITER add-on", {{ChainPreLimiter, false}}, PreviewStage4},
        {"only a PREMATCH add-on", {{ChainPreMatch, true}}, PreviewStage4},
        {"STEREOIMAGE and POSTMATCHTONE add-ons",
         {{ChainStereoImage, true}, {ChainPostMatchTone, true}},
         PreviewPostMatchTone},
    };
    for (const Case& c : cases)
    {
        CBrimvaleDoc& d = MakeDocument();
        for (const auto& [position, enabled] : c.addons)
        {
            const std::string id = FirstAddonAt(position).id;
            ASSERT_TRUE(d.AddChainAddon(id, ChainPositionScope(position)));
            FindChainEntry(d.settings.addons, id)->enabled = enabled;
        }
        d.MarkPreviewCurrent();
        ASSERT_TRUE(d.CommitCanonicalControl("stage4", "loudness_strength", 0.5, PreviewStage4));
        EXPECT_EQ(d.pendingPreviewScope, c.expected) << "loudness strength with " << c.chain;

        d.MarkPreviewCurrent();
        ASSERT_TRUE(d.CommitCanonicalControl("stage4", "limiter_strength", 0.5, PreviewStage4));
        EXPECT_EQ(d.pendingPreviewScope, PreviewStage4) << "limiter strength with " << c.chain;
    }
}

TEST_F(DocumentTest, TheChainGrowsShrinksAndTakesParameterValues)
{
    const AddonPick limiter = FirstAddonAt(ChainPreLimiter);
    const AddonPick tone = FirstAddonAt(ChainPostMatchTone);
    CBrimvaleDoc& d = MakeDocument();

    // Adding twice keeps one entry but still counts as a change.
    ASSERT_TRUE(d.AddChainAddon(limiter.id, PreviewPreLimiter));
    ASSERT_EQ(d.settings.addons.size(), 1u);
    EXPECT_TRUE(
        SameChain(d.settings.addons, {MakeChainEntry(*FindProcessorDescriptor(limiter.id))}));
    d.output = StereoSine(100.0, 48000, 0.01, 0.1);
    d.MarkPreviewCurrent();
    EXPECT_TRUE(d.AddChainAddon(limiter.id, PreviewPreLimiter));
    EXPECT_EQ(d.settings.addons.size(), 1u);
    EXPECT_TRUE(d.output.samples.empty());
    EXPECT_EQ(d.pendingPreviewScope, PreviewPreLimiter);

    // A parameter of an add-on that is not there adds it with that one value.
    ASSERT_TRUE(d.CommitAddonControl(tone.id, tone.parameter, 0.25, PreviewPostMatchTone));
    ASSERT_EQ(d.settings.addons.size(), 2u);
    const ChainEntry& added = d.settings.addons[1];
    EXPECT_EQ(added.id, tone.id);
    EXPECT_TRUE(added.enabled);
    ChainEntry expected = MakeChainEntry(*FindProcessorDescriptor(tone.id));
    for (ChainParameterValue& value : expected.parameters)
    {
        if (value.id == tone.parameter)
        {
            value.value = tone.spec->minValue + 0.25 * (tone.spec->maxValue - tone.spec->minValue);
        }
    }
    EXPECT_TRUE(SameChain({added}, {expected}));
    double normalized = -1.0;
    ASSERT_TRUE(d.GetAddonControlNormalized(tone.id, tone.parameter, normalized));
    EXPECT_NEAR(normalized, 0.25, 1e-12);
    EXPECT_EQ(d.pendingPreviewScope, PreviewPostMatchTone);

    // A value missing from an entry is added, and read as the default until then.
    ChainEntry& limiterEntry = *FindChainEntry(d.settings.addons, limiter.id);
    limiterEntry.parameters.clear();
    ASSERT_TRUE(d.GetAddonControlNormalized(limiter.id, limiter.parameter, normalized));
    EXPECT_NEAR(normalized, AddonParamPositionFromValue(*limiter.spec, limiter.spec->defaultValue),
                1e-12);
    ASSERT_TRUE(d.CommitAddonControl(limiter.id, limiter.parameter, 1.0, PreviewPreLimiter));
    ASSERT_EQ(FindChainEntry(d.settings.addons, limiter.id)->parameters.size(), 1u);
    EXPECT_EQ(FindChainEntry(d.settings.addons, limiter.id)->parameters[0].value,
              limiter.spec->maxValue);

    // Removing keeps the order of the rest.
    ASSERT_TRUE(d.RemoveChainAddon(limiter.id, PreviewPreLimiter));
    ASSERT_EQ(d.settings.addons.size(), 1u);
    EXPECT_EQ(d.settings.addons[0].id, tone.id);
    EXPECT_TRUE(SameMatchSettings(d.request.settings, d.settings.match));
}

TEST_F(DocumentTest, AToggleParameterIsOnFromHalfWay)
{
    AddonPick toggle;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        for (const AddonParamSpec& spec : descriptor.parameters)
        {
            if (toggle.id.empty() && spec.kind == kAddonParamToggle)
            {
                toggle = {descriptor.id, spec.id, &spec};
            }
        }
    }
    ASSERT_FALSE(toggle.id.empty()) << "no add-on has a toggle";
    CBrimvaleDoc& d = MakeDocument();
    double normalized = -1.0;
    for (const auto& [written, stored] : {std::pair{0.5, 1.0}, {0.49, 0.0}, {0.9, 1.0}})
    {
        ASSERT_TRUE(d.CommitAddonControl(toggle.id, toggle.parameter, written, PreviewPreLimiter));
        const ChainEntry* entry = FindChainEntry(d.settings.addons, toggle.id);
        for (const ChainParameterValue& value : entry->parameters)
        {
            if (value.id == toggle.parameter)
            {
                EXPECT_EQ(value.value, stored) << "toggle written at " << written;
            }
        }
        ASSERT_TRUE(d.GetAddonControlNormalized(toggle.id, toggle.parameter, normalized));
        EXPECT_EQ(normalized, stored);
    }
}

TEST_F(DocumentTest, ChoosingAProfileStoresItsFileNameAndCountsTheRevision)
{
    WriteProfile(factoryFolder / "Balanced.prs", "Balanced");
    WriteProfile(factoryFolder / "Warm.prs", "Warm");
    WriteProfile(userFolder / "Mine.prs", "Mine");
    CBrimvaleDoc& d = MakeDocument();
    d.output = StereoSine(100.0, 48000, 0.01, 0.1);
    d.MarkPreviewCurrent();
    CString error = L"stale";

    ASSERT_TRUE(d.SetReferenceProfile(Utf8(userFolder / "Mine.prs"), error)) << error.GetString();
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(d.settings.referenceProfileFileName, "Mine.prs");
    EXPECT_FALSE(d.settings.referenceProfileIsFactory);
    EXPECT_EQ(d.referenceProfile.name, "Mine");
    EXPECT_EQ(d.loadedProfilePath, Utf8(userFolder / "Mine.prs"));
    EXPECT_EQ(d.profileRevision, 1u);
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage1);
    EXPECT_TRUE(d.output.samples.empty());

    // The same file again is read again: the file may have been rewritten.
    WriteProfile(userFolder / "Mine.prs", "Mine, edited");
    ASSERT_TRUE(d.SetReferenceProfile(Utf8(userFolder / "Mine.prs"), error));
    EXPECT_EQ(d.profileRevision, 2u);
    EXPECT_EQ(d.referenceProfile.name, "Mine, edited");

    // A spelling with "." and ".." that lands directly in the folder is fine.
    ASSERT_TRUE(d.SetReferenceProfile(Utf8(factoryFolder / "x" / ".." / "." / "Warm.prs"), error));
    EXPECT_EQ(d.settings.referenceProfileFileName, "Warm.prs");
    EXPECT_TRUE(d.settings.referenceProfileIsFactory);
    EXPECT_EQ(d.profileRevision, 3u);

    // Prepare does not read the loaded file again, nor count.
    WriteProfile(factoryFolder / "Warm.prs", "Warm, rewritten");
    ASSERT_TRUE(d.PrepareReferenceProfile(error));
    EXPECT_EQ(d.referenceProfile.name, "Warm");
    EXPECT_EQ(d.profileRevision, 3u);
}

TEST_F(DocumentTest, AFailedProfileChoiceKeepsTheWorkingProfile)
{
    CBrimvaleDoc& d = BusyDocument();
    WriteFileBytes(userFolder / "Broken.prs", "AMRPROF1 but nothing after");
    const DocumentState before(d);
    CString error;

    EXPECT_FALSE(d.SetReferenceProfile(Utf8(userFolder / "Broken.prs"), error));
    EXPECT_TRUE(StartsWith(error, L"Failed to load reference profile:\n"))
        << WideToUtf8(error.Str());
    EXPECT_GT(error.GetLength(), 34) << "the cause is missing";
    EXPECT_EQ(DocumentState(d).DifferencesFrom(before), "");
    EXPECT_EQ(d.settings.referenceProfileFileName, "Mine.prs");
    ASSERT_TRUE(d.PrepareReferenceProfile(error));
    EXPECT_EQ(d.referenceProfile.name, "Mine");
}

TEST_F(DocumentTest, AFailedImportKeepsTheTrack)
{
    CBrimvaleDoc& d = BusyDocument();
    const std::wstring keptPath = d.trackPath;
    WriteFileBytes(temp / "text.wav", "this is not a RIFF file at all");
    CString error;
    EXPECT_FALSE(d.LoadAudioFile(FsPathToWide(temp / "text.wav"), error));
    EXPECT_TRUE(StartsWith(error, L"Failed to load audio file:\n")) << WideToUtf8(error.Str());
    EXPECT_EQ(d.trackPath, keptPath);
    EXPECT_FALSE(d.track.samples.empty());

    const std::wstring other = WriteTrack("other.wav", 1000.0);
    ASSERT_TRUE(d.LoadAudioFile(other, error));
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(d.trackPath, other);
    EXPECT_EQ(d.track.sampleRate, 44100);
}

TEST_F(DocumentTest, EveryRefusedChangeLeavesEveryMemberAsItWas)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const AddonPick limiter = FirstAddonAt(ChainPreLimiter);

    struct Case
    {
        const char* name;
        std::function<void(DocumentTest&, CBrimvaleDoc&)> prepare; // may be empty
        std::function<bool(DocumentTest&, CBrimvaleDoc&, CString&)> change;
        const wchar_t* error; // nullptr: no text to check
    };
    auto import = [](const fs::path& path)
    {
        return [path](DocumentTest&, CBrimvaleDoc& d, CString& error)
        { return d.LoadAudioFile(FsPathToWide(path), error); };
    };
    const wchar_t* outside =
        L"Reference profile must be stored in the factory or document profiles folder.";
    const Case cases[] = {
        {"a session parameter",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitCanonicalControl("session", "internal_sample_rate", 0.5, 12); },
         nullptr},
        {"an unknown section",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitCanonicalControl("stage9", "strength", 0.5, 2); },
         nullptr},
        {"an unknown key",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitCanonicalControl("stage2", "STRENGTH", 0.5, 8); },
         nullptr},
        {"a NaN engine position",
         {},
         [nan](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitCanonicalControl("stage2", "strength", nan, 8); },
         nullptr},
        {"an infinite engine position",
         {},
         [inf](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitCanonicalControl("stage4", "limiter_mode", inf, 2); },
         nullptr},
        {"adding an unknown add-on",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.AddChainAddon("no_such_addon", 3); },
         nullptr},
        {"removing an add-on that is not there",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.RemoveChainAddon("air_shelf_x", 3); },
         nullptr},
        {"a parameter of an unknown add-on",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitAddonControl("no_such_addon", "gain_db", 0.5, 3); },
         nullptr},
        {"an unknown parameter",
         {},
         [limiter](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitAddonControl(limiter.id, "no_such_parameter", 0.5, 3); },
         nullptr},
        {"a NaN add-on position",
         {},
         [limiter, nan](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitAddonControl(limiter.id, limiter.parameter, nan, 3); },
         nullptr},
        {"an infinite add-on position",
         {},
         [limiter, inf](DocumentTest&, CBrimvaleDoc& d, CString&)
         { return d.CommitAddonControl(limiter.id, limiter.parameter, -inf, 3); },
         nullptr},
        {"an empty profile path",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile("", error); },
         L"Reference profile is not configured."},
        {"a relative profile path",
         {},
         [](DocumentTest&, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile("Mine.prs", error); },
         outside},
        {"a profile outside both folders",
         [](DocumentTest& t, CBrimvaleDoc&) { t.WriteProfile(t.temp / "Loose.prs", "Loose"); },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.temp / "Loose.prs"), error); },
         outside},
        {"a profile in a subfolder",
         [](DocumentTest& t, CBrimvaleDoc&)
         {
             fs::create_directories(t.userFolder / "sub");
             t.WriteProfile(t.userFolder / "sub" / "Deep.prs", "Deep");
         },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.userFolder / "sub" / "Deep.prs"), error); },
         outside},
        {"the profiles folder itself",
         {},
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.factoryFolder), error); },
         outside},
        {"a way out with ..",
         [](DocumentTest& t, CBrimvaleDoc&)
         {
             fs::create_directories(t.temp / "program" / "profiles2");
             t.WriteProfile(t.temp / "program" / "profiles2" / "Near.prs", "Near");
         },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         {
             return d.SetReferenceProfile(
                 PathToUtf8(t.factoryFolder / ".." / "profiles2" / "Near.prs"), error);
         },
         outside},
        {"a profile file that is not there",
         {},
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.factoryFolder / "Gone.prs"), error); },
         L"Failed to load reference profile:\n"},
        {"a truncated profile",
         [](DocumentTest& t, CBrimvaleDoc&)
         {
             const std::string bytes = EncodeReferenceProfile(NamedProfile("Cut"));
             WriteFileBytes(t.factoryFolder / "Cut.prs", bytes.substr(0, bytes.size() / 2));
         },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.factoryFolder / "Cut.prs"), error); },
         L"Failed to load reference profile:\n"},
        {"a corrupt profile",
         [](DocumentTest& t, CBrimvaleDoc&)
         { WriteFileBytes(t.userFolder / "Noise.prs", std::string(300, '\x7f')); },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.SetReferenceProfile(PathToUtf8(t.userFolder / "Noise.prs"), error); },
         L"Failed to load reference profile:\n"},
        {"a missing track",
         {},
         import(fs::path("/nonexistent/track.wav")),
         L"Failed to load audio file:\n"},
        {"a zero-byte track",
         [](DocumentTest& t, CBrimvaleDoc&) { WriteFileBytes(t.temp / "empty.wav", ""); },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.LoadAudioFile(FsPathToWide(t.temp / "empty.wav"), error); },
         L"Failed to load audio file:\n"},
        {"a track whose header lies",
         [](DocumentTest& t, CBrimvaleDoc&)
         {
             std::string bytes = ReadFileBytes(t.temp / "busy.wav");
             bytes[22] = 9; // nine channels in the format chunk
             WriteFileBytes(t.temp / "lying.wav", bytes);
         },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.LoadAudioFile(FsPathToWide(t.temp / "lying.wav"), error); },
         L"Failed to load audio file:\n"},
        {"a track that is no audio",
         [](DocumentTest& t, CBrimvaleDoc&) { WriteFileBytes(t.temp / "notes.flac", "fLaC? no."); },
         [](DocumentTest& t, CBrimvaleDoc& d, CString& error)
         { return d.LoadAudioFile(FsPathToWide(t.temp / "notes.flac"), error); },
         L"Failed to load audio file:\n"},
        {"a style that does not parse",
         [](DocumentTest& t, CBrimvaleDoc&) { WriteFileBytes(t.temp / "bad.mst", "{\"match\": "); },
         [](DocumentTest& t, CBrimvaleDoc& d, CString&)
         {
             EXPECT_THROW(d.ApplyStyle(FsPathToWide(t.temp / "bad.mst")), std::runtime_error);
             return false;
         },
         nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CBrimvaleDoc& d = BusyDocument();
        if (c.prepare)
        {
            c.prepare(*this, d);
        }
        const DocumentState before(d);
        d.SetModifiedFlag(TRUE);
        CString error = L"untouched";
        EXPECT_FALSE(c.change(*this, d, error));
        EXPECT_EQ(DocumentState(d).DifferencesFrom(before), "");
        if (c.error != nullptr)
        {
            EXPECT_TRUE(StartsWith(error, c.error)) << WideToUtf8(error.Str());
        }
    }
}

TEST_F(DocumentTest, SettingsAndStylesReplaceWhatTheyHold)
{
    CBrimvaleDoc& d = BusyDocument();
    const std::uint64_t revision = d.profileRevision;
    WriteProfile(factoryFolder / "Warm.prs", "Warm");

    // A style keeps the profile and takes its match settings and chain.
    MasteringSettings style;
    style.match.stage2Strength = 0.3;
    style.match.limiterMode = 2;
    style.referenceProfileFileName = "Warm.prs";
    style.addons = {MakeChainEntry(*FindProcessorDescriptor(FirstAddonAt(ChainStereoImage).id))};
    style.SaveToFile(FsPathToWide(temp / "style.mst"));
    d.output = StereoSine(100.0, 48000, 0.01, 0.1);
    d.MarkPreviewCurrent();
    d.ApplyStyle(FsPathToWide(temp / "style.mst"));
    EXPECT_EQ(d.settings.match.stage2Strength, 0.3);
    EXPECT_TRUE(SameMatchSettings(d.request.settings, d.settings.match));
    EXPECT_TRUE(SameChain(d.settings.addons, style.addons));
    EXPECT_EQ(d.settings.referenceProfileFileName, "Mine.prs");
    EXPECT_EQ(d.referenceProfile.name, "Mine");
    EXPECT_TRUE(d.output.samples.empty());
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage1);

    // Settings take everything, the profile included, and do not count.
    style.referenceProfileIsFactory = true;
    style.match.stage3Strength = 0.25;
    d.MarkPreviewCurrent();
    d.ApplySettings(style);
    EXPECT_TRUE(SameSettings(d.settings, style));
    EXPECT_TRUE(SameMatchSettings(d.request.settings, style.match));
    EXPECT_TRUE(d.profileLoaded);
    EXPECT_EQ(d.referenceProfile.name, "Warm");
    EXPECT_EQ(d.profileRevision, revision);
    EXPECT_EQ(d.pendingPreviewScope, PreviewStage1);

    // A profile that cannot be loaded leaves none loaded, without complaint.
    style.referenceProfileFileName = "Gone.prs";
    d.ApplySettings(style);
    EXPECT_FALSE(d.profileLoaded);
    EXPECT_TRUE(d.loadedProfilePath.empty());
    EXPECT_FALSE(d.IsModified());
}
