#include "engine/runs/run_steps.h"

#include "engine/profiles/synthetic_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

constexpr double kDefaultCeiling = 0.998138427734375;

} // namespace

TEST(RunSteps, CompatibilityCheckListsErrorsAndWarningsInOrder)
{
    struct Case
    {
        const char* name;
        void (*change)(ReferenceProfile&, MatchSettings&);
        std::vector<std::string> errors;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"synthetic default with default settings",
         [](ReferenceProfile&, MatchSettings&) {},
         {},
         {"profile psychoacoustic metadata differs", "profile adaptive-strength metadata differs"}},
        {"other rate, no set for the FFT size",
         [](ReferenceProfile& p, MatchSettings&)
         {
             p.sampleRate = 44100;
             p.spectrumSets.clear();
         },
         {"sample rate mismatch", "FFT size mismatch"},
         {"profile psychoacoustic metadata differs", "profile adaptive-strength metadata differs"}},
        {"empty side spectrum",
         [](ReferenceProfile& p, MatchSettings&) { p.spectrumSets[0].side.clear(); },
         {"profile spectra are missing"},
         {"profile psychoacoustic metadata differs", "profile adaptive-strength metadata differs"}},
        {"nine bands, then an inconsistent set: only the first faulty set counts",
         [](ReferenceProfile& p, MatchSettings& s)
         {
             p.dynamicsSets = {{1, {0.2}}, {9, std::vector<double>(9, 0.1)}, {3, {0.1}}};
             s.psychoacoustic = true;
             s.adaptiveStrength = true;
         },
         {"profile dynamics set has invalid band count"},
         {}},
        {"inconsistent set before one of zero bands",
         [](ReferenceProfile& p, MatchSettings& s)
         {
             p.dynamicsSets = {{3, {0.1, 0.2}}, {0, {}}};
             s.psychoacoustic = true;
             s.adaptiveStrength = true;
         },
         {"profile dynamics fingerprint is inconsistent"},
         {}},
        {"old profile without loudness data",
         [](ReferenceProfile& p, MatchSettings& s)
         {
             p.version = 3;
             p.hasIntegratedLufs = false;
             p.hasShortTermDistribution = false;
             s.linLogOversampling = 2;
         },
         {},
         {"profile uses older metadata version", "profile oversampling metadata differs",
          "profile psychoacoustic metadata differs", "profile adaptive-strength metadata differs",
          "profile has no integrated LUFS target",
          "profile has no short-term loudness distribution"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ReferenceProfile profile = BuildSyntheticDefaultProfile();
        EngineRequest request;
        c.change(profile, request.settings);
        const ProfileCompatibility compatibility = CheckProfileCompatibility(profile, request);
        EXPECT_EQ(compatibility.errors, c.errors);
        EXPECT_EQ(compatibility.warnings, c.warnings);
    }
}

TEST(RunSteps, Stage4CeilingMovesTowardsTheReferencePeak)
{
    struct Case
    {
        double base, peak, strength, floor, expected;
    };
    const Case cases[] = {
        {kDefaultCeiling, 0.5, 1.0, 1e-6, 0.5},
        {kDefaultCeiling, 1.2, 1.0, 1e-6, kDefaultCeiling}, // never above the run's own
        {kDefaultCeiling, 0.5, 0.0, 1e-6, kDefaultCeiling},
        {kDefaultCeiling, 0.5, 0.5, 1e-6, (kDefaultCeiling + 0.5) / 2},
        {kDefaultCeiling, 0.5, 3.0, 1e-6, 0.5},             // strength above 1 counts as 1
        {kDefaultCeiling, 0.0, 1.0, 1e-6, kDefaultCeiling}, // no reference peak
        {kDefaultCeiling, -1.0, 1.0, 1e-6, kDefaultCeiling},
        {kDefaultCeiling, 1e-9, 1.0, 1e-6, 1e-6}, // held at the floor
        {1e-8, 0.5, 1.0, 1e-6, 1e-6},             // a base below the floor
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(ComputeStage4Ceiling(c.base, c.peak, c.strength, c.floor), c.expected, 1e-15)
            << "base " << c.base << ", peak " << c.peak << ", strength " << c.strength;
    }
}
