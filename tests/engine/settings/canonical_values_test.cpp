#include "engine/settings/canonical_values.h"

#include "engine/engine_request.h"
#include "tests/support/settings_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

struct MappingCase
{
    const char* section;
    const char* key;
    double written;
    double readBack;
    // Where the written value must land in the settings.
    bool (*landed)(const MatchSettings&);
};

const MappingCase kMappingCases[] = {
    {"stage2", "strength", 0.4, 0.4,
     [](const MatchSettings& m) { return m.stage2Strength == 0.4; }},
    {"stage2", "stereo_match", 1.3, 1.3,
     [](const MatchSettings& m) { return m.stereoWidthAmount == 1.3; }},
    {"stage2", "stereo_boost", 0.2, 0.2,
     [](const MatchSettings& m) { return m.stereoBoostAmount == 0.2; }},
    {"stage2", "psychoacoustic", 0.5, 1.0, [](const MatchSettings& m) { return m.psychoacoustic; }},
    {"stage2", "adaptive_strength", 0.7, 1.0,
     [](const MatchSettings& m) { return m.adaptiveStrength; }},
    {"stage2", "smoothing_octave", 2.0, 2.0,
     [](const MatchSettings& m) { return m.smoothingOctaveDenominator == 12; }},
    {"stage3", "strength", 0.6, 0.6,
     [](const MatchSettings& m) { return m.stage3Strength == 0.6; }},
    {"stage3", "macro_strength", 0.3, 0.3,
     [](const MatchSettings& m) { return m.stage3MacroStrength == 0.3; }},
    {"stage4", "loudness_strength", 0.8, 0.8,
     [](const MatchSettings& m) { return m.stage4LoudnessStrength == 0.8; }},
    {"stage4", "limiter_strength", 0.9, 0.9,
     [](const MatchSettings& m) { return m.stage4LimiterStrength == 0.9; }},
    {"stage4", "limiter_mode", 2.0, 2.0, [](const MatchSettings& m) { return m.limiterMode == 2; }},
    {"stage4", "limiter_oversample", 2.0, 2.0,
     [](const MatchSettings& m) { return m.limiterOversample == 4; }},
};

} // namespace

TEST(CanonicalValues, EveryMappedParameterIsWrittenToItsFieldAndReadBack)
{
    for (const MappingCase& c : kMappingCases)
    {
        MasteringSettings settings;
        EngineRequest request;
        ASSERT_TRUE(settings.SetCanonicalValue(c.section, c.key, c.written)) << c.section << c.key;
        ASSERT_TRUE(request.SetCanonicalValue(c.section, c.key, c.written)) << c.section << c.key;
        EXPECT_TRUE(c.landed(settings.match)) << c.section << "." << c.key;
        EXPECT_TRUE(SameMatchSettings(settings.match, request.settings))
            << c.section << "." << c.key << ": the request and the settings map differently";

        double read = -1.0;
        ASSERT_TRUE(settings.GetCanonicalValue(c.section, c.key, read));
        EXPECT_EQ(read, c.readBack) << c.section << "." << c.key;
    }
}

TEST(CanonicalValues, ChoicesRoundToTheNearestIndexAndFallBackAsTheirListsSay)
{
    struct Case
    {
        const char* key;
        double written;
        int stored;
        double readBack;
    };
    const Case cases[] = {
        {"smoothing_octave", 0.0, 3, 0.0},   {"smoothing_octave", 0.49, 3, 0.0},
        {"smoothing_octave", 1.5, 12, 2.0},  {"smoothing_octave", 7.0, 6, 1.0},
        {"smoothing_octave", -1.0, 6, 1.0},  {"limiter_mode", 1.48, 1, 1.0},
        {"limiter_mode", 1.5, 2, 2.0},       {"limiter_mode", 9.0, 2, 2.0},
        {"limiter_mode", -3.0, 0, 0.0},      {"limiter_oversample", 0.0, 1, 0.0},
        {"limiter_oversample", 1.0, 2, 1.0}, {"limiter_oversample", 5.0, 2, 1.0},
        {"limiter_mode", 1e300, 2, 2.0},
    };
    for (const Case& c : cases)
    {
        const std::string section = c.key == std::string("smoothing_octave") ? "stage2" : "stage4";
        MasteringSettings settings;
        ASSERT_TRUE(settings.SetCanonicalValue(section, c.key, c.written));
        const int stored =
            c.key == std::string("smoothing_octave") ? settings.match.smoothingOctaveDenominator
            : c.key == std::string("limiter_mode")   ? settings.match.limiterMode
                                                     : settings.match.limiterOversample;
        EXPECT_EQ(stored, c.stored) << c.key << " written " << c.written;
        double read = -1.0;
        settings.GetCanonicalValue(section, c.key, read);
        EXPECT_EQ(read, c.readBack) << c.key << " written " << c.written;
    }
}

TEST(CanonicalValues, StoredValuesOutsideTheChoicesReadBackAsTheFallback)
{
    MasteringSettings settings;
    settings.match.smoothingOctaveDenominator = 24;
    settings.match.limiterOversample = 8;
    settings.match.limiterMode = 7;
    double read = -1.0;
    settings.GetCanonicalValue("stage2", "smoothing_octave", read);
    EXPECT_EQ(read, 1.0);
    settings.GetCanonicalValue("stage4", "limiter_oversample", read);
    EXPECT_EQ(read, 1.0);
    settings.GetCanonicalValue("stage4", "limiter_mode", read);
    EXPECT_EQ(read, 2.0);
    settings.match.limiterMode = -4;
    settings.GetCanonicalValue("stage4", "limiter_mode", read);
    EXPECT_EQ(read, 0.0);
}

TEST(CanonicalValues, OtherParametersAndNonFiniteValuesAreRefusedAndChangeNothing)
{
    struct Case
    {
        const char* section;
        const char* key;
        double value;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"session", "internal_sample_rate", 44100.0},
        {"session", "max_piece_seconds", 3.0},
        {"session", "pcm_format", 1.0},
        {"Stage2", "strength", 0.5},
        {"stage2", "Strength", 0.5},
        {"stage2", "strength ", 0.5},
        {"", "", 0.5},
        {"stage5", "strength", 0.5},
        {"match", "stage2Strength", 0.5},
        {"stage2", "strength", nan},
        {"stage4", "limiter_mode", inf},
        {"stage2", "psychoacoustic", -inf},
    };
    for (const Case& c : cases)
    {
        MasteringSettings settings;
        EngineRequest request;
        const MatchSettings before;
        EXPECT_FALSE(settings.SetCanonicalValue(c.section, c.key, c.value))
            << c.section << "." << c.key;
        EXPECT_FALSE(request.SetCanonicalValue(c.section, c.key, c.value))
            << c.section << "." << c.key;
        EXPECT_TRUE(SameMatchSettings(settings.match, before)) << c.section << "." << c.key;
        EXPECT_TRUE(SameMatchSettings(request.settings, before)) << c.section << "." << c.key;
    }
    double read = 42.0;
    EXPECT_FALSE(MasteringSettings{}.GetCanonicalValue("session", "internal_sample_rate", read));
    EXPECT_EQ(read, 42.0);
}
