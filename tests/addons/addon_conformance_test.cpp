// What every add-on promises, checked over one table: an add-on joins by adding
// its row to kAddonRows.

#include "registry/addon_registry.h"

#include "engine/dsp/oversampler.h"
#include "tests/support/signals.h"
#include "tests/support/test_processors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// What process does with an odd number of values.
enum class OddCount
{
    Untouched,       // the common entry guard: the buffer comes back as it went in
    WholeFramesOnly, // the whole frames are processed, the trailing value is kept
    EveryValue,      // processed value by value, the trailing one included
};

// Parameter values to set, in order, on a fresh add-on.
using Setting = std::vector<std::pair<std::string, double>>;

struct AddonRow
{
    const char* id;
    int position;
    OddCount oddCount = OddCount::Untouched;
    bool silenceStaysSilent = true;
    // False for an add-on whose own storing rule replaces clamping for some
    // parameter (a snapped or unclamped value).
    bool clampsToItsTable = true;
    // False for an add-on whose parameters report its current values.
    bool reportsTableDefaults = true;
    // Settings under which process gives the input back bit for bit, whatever
    // the add-on's other parameters hold, such as {amount 0} or {mix 0}.
    std::vector<Setting> neutral;
    // Null for the registry's CreateProcessor.
    std::unique_ptr<IAudioProcessor> (*create)(const std::string& id) = nullptr;
};

// One row per add-on, in the order of the registry's list, for example
//     {.id = "soft_clipper", .position = ChainPreLimiter, .oddCount = OddCount::EveryValue},
const std::vector<AddonRow> kAddonRows = {
    {.id = "ambient_widener",
     .position = ChainStereoImage,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "broadband_expander",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"ratio", 1.0}}, {{"range_db", 0.0}}, {{"mix", 0.0}}}},
    {.id = "asymmetric_clipper",
     .position = ChainPreLimiter,
     .oddCount = OddCount::EveryValue,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "band_balance_corrector",
     .position = ChainPreMatch,
     .neutral = {{{"mid_balance.amount", 0.0}, {"high_balance.amount", 0.0}}}},
    {.id = "balance_corrector", .position = ChainPreMatch, .neutral = {{{"amount", 0.0}}}},
    {.id = "center_halo",
     .position = ChainStereoImage,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "center_lock",
     .position = ChainStereoImage,
     .oddCount = OddCount::WholeFramesOnly,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "detail_extractor", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "crest_factor_controller",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "dc_blocker", .position = ChainPreMatch, .neutral = {{{"amount", 0.0}}}},
    {.id = "tape_motion",
     .position = ChainStereoImage,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "upward_expander",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}, {{"max_lift_db", 0.0}}, {{"mix", 0.0}}}},
    {.id = "low_high_band_stereo_shaper",
     .position = ChainStereoImage,
     .neutral = {{{"mix", 0.0}}}},
    {.id = "multiband_compressor",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"mix", 0.0}}, {{"low_amount", 0.0}, {"mid_amount", 0.0}, {"high_amount", 0.0}}}},
    {.id = "mono_maker", .position = ChainStereoImage, .neutral = {{{"amount", 0.0}}}},
    {.id = "air_shelf",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"gain_db", 0.0}}}},
    {.id = "center_focus", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "dynamic_eq", .position = ChainPostMatchTone, .neutral = {{{"range_db", 0.0}}}},
    {.id = "dynamic_air", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "dynamic_tilt", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "dynamic_low_end_tamer",
     .position = ChainPreMatch,
     .oddCount = OddCount::WholeFramesOnly,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "sonic_maximizer",
     .position = ChainPostMatchTone,
     .oddCount = OddCount::EveryValue,
     .neutral = {{{"amount", 0.0}}, {{"lo_contour", 0.0}, {"process", 0.0}}}},
    {.id = "tilt_eq",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"tilt", 0.0}}}},
    {.id = "transformer_saturation",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "tape_saturation",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "tube_saturation",
     .position = ChainPostMatchTone,
     .silenceStaysSilent = false,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "exciter",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "harmonic_enhancer",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "hum_notch",
     .position = ChainPreMatch,
     .clampsToItsTable = false,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "low_end_punch", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "loudness_driver",
     .position = ChainPreLimiter,
     .oddCount = OddCount::EveryValue,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "low_mid_cleanup", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "ms_color_eq", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "ms_dynamics_processor",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"mix", 0.0}}, {{"mid_amount", 0.0}, {"side_amount", 0.0}}}},
    {.id = "harshness_tamer", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "master_deesser", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "parallel_aggression",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "micro_dynamics_restorer",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "presence_lift", .position = ChainPostMatchTone, .neutral = {{{"amount", 0.0}}}},
    {.id = "spectral_correlation_guard",
     .position = ChainPreMatch,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "spectral_declip", .position = ChainPreMatch, .neutral = {{{"mix", 0.0}}}},
    {.id = "spectral_dereverb",
     .position = ChainPreMatch,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "spectral_dynamics", .position = ChainPreMatch, .neutral = {{{"mix", 0.0}}}},
    {.id = "spectral_gate", .position = ChainPreMatch, .neutral = {{{"mix", 0.0}}}},
    {.id = "punch_enhancer", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "resonance_tracker",
     .position = ChainPostMatchTone,
     .neutral = {{{"amount", 0.0}}, {{"max_reduction_db", 0.0}}}},
    {.id = "resonance_suppressor", .position = ChainPreMatch, .neutral = {{{"amount", 0.0}}}},
    {.id = "phase_align", .position = ChainPreMatch, .neutral = {{{"amount", 0.0}}}},
    {.id = "phase_rotator",
     .position = ChainPreLimiter,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "peak_clipper",
     .position = ChainPreLimiter,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "soft_clipper",
     .position = ChainPreLimiter,
     .oddCount = OddCount::EveryValue,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "standard_compressor", .position = ChainPostMatchDynamics, .neutral = {{{"mix", 0.0}}}},
    {.id = "stereo_band_rebalance", .position = ChainStereoImage, .neutral = {{{"mix", 0.0}}}},
    {.id = "stereo_swapper", .position = ChainStereoImage, .neutral = {{{"swap_channels", 0.0}}}},
    {.id = "sub_rumble_filter", .position = ChainPreMatch, .neutral = {{{"amount", 0.0}}}},
    {.id = "three_band_eq",
     .position = ChainPostMatchTone,
     .neutral = {{{"low_gain_db", 0.0}, {"mid_gain_db", 0.0}, {"high_gain_db", 0.0}}}},
    {.id = "transient_shaper", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "transient_sustain_shaper",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}, {{"mix", 0.0}}}},
    {.id = "glue_module", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "vintage_compressor",
     .position = ChainPostMatchDynamics,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "stereo_widener", .position = ChainStereoImage, .neutral = {{{"amount", 0.0}}}},
    {.id = "transparent_bus_compressor",
     .position = ChainPostMatchDynamics,
     .oddCount = OddCount::WholeFramesOnly,
     .neutral = {{{"amount", 0.0}}}},
    {.id = "upward_detail", .position = ChainPostMatchDynamics, .neutral = {{{"amount", 0.0}}}},
    {.id = "transient_catcher", .position = ChainPreLimiter, .neutral = {{{"amount", 0.0}}}},
    {.id = "true_peak_guard",
     .position = ChainPreLimiter,
     .oddCount = OddCount::WholeFramesOnly,
     .neutral = {{{"strength", 0.0}}, {{"mix", 0.0}}}},
    {.id = "width_limiter", .position = ChainStereoImage, .neutral = {{{"amount", 0.0}}}},
    {.id = "vorlik_loc_compressor",
     .position = ChainPostMatchDynamics,
     .oddCount = OddCount::WholeFramesOnly,
     .clampsToItsTable = false,
     .reportsTableDefaults = false,
     .neutral = {{{"mix", 0.0}}}},
};

// The frame checked on the two test add-ons, which stand on the kit's AddonBase
// as every add-on does, so the frame and the base's storing rules are known to
// work before the first add-on joins.
const std::vector<AddonRow> kTestAddonRows = {
    {.id = "test_gain",
     .position = ChainPostMatchTone,
     .neutral = {{{"gain", 1.0}, {"invert", 0.0}}},
     .create = &CreateTestProcessor},
    {.id = "test_offset",
     .position = ChainPreMatch,
     .oddCount = OddCount::EveryValue,
     .silenceStaysSilent = false,
     .neutral = {{{"offset", 0.0}}},
     .create = &CreateTestProcessor},
};

constexpr int kSampleRate = 48000;
constexpr size_t kSilentLeadFrames = kSampleRate / 10;
constexpr size_t kFrameCount = kSampleRate / 2;

// 0.1 s of silence, then two tones with noise, left and right different; peaks
// stay under 0.9.
AudioBuffer TestSignal(size_t frameCount = kFrameCount)
{
    AudioBuffer buffer =
        InterleaveStereo(Sine(220.0, kSampleRate, frameCount, 0.6),
                         Sine(3300.0, kSampleRate, frameCount, 0.5, 1.0), kSampleRate);
    const std::vector<double> noise = Noise(2 * frameCount, 0.25, 12345);
    for (size_t i = 0; i < buffer.samples.size(); ++i)
    {
        buffer.samples[i] = i < 2 * kSilentLeadFrames ? 0.0 : buffer.samples[i] + noise[i];
    }
    return buffer;
}

// The test signal scaled to peak at 2.0: nothing limits samples to full scale.
AudioBuffer LoudTestSignal()
{
    AudioBuffer buffer = TestSignal();
    double peak = 0.0;
    for (double value : buffer.samples)
    {
        peak = std::max(peak, std::fabs(value));
    }
    for (double& value : buffer.samples)
    {
        value *= 2.0 / peak;
    }
    return buffer;
}

ProcessContext RunContext(int sampleRate = kSampleRate)
{
    ProcessContext context;
    context.sampleRate = sampleRate;
    return context;
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool IsSnakeCase(const std::string& id)
{
    return !id.empty() && std::all_of(id.begin(), id.end(),
                                      [](char c) {
                                          return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                                 c == '_' || c == '.';
                                      });
}

bool IsOneLine(const char* text)
{
    const std::string line = text != nullptr ? text : "";
    return !line.empty() && line.find('\n') == std::string::npos;
}

std::string Describe(const Setting& setting)
{
    std::ostringstream text;
    text << "{";
    for (const auto& [id, value] : setting)
    {
        text << " " << id << "=" << value;
    }
    text << " }";
    return text.str();
}

// The defaults, all parameters at their minimum, all at their maximum.
std::vector<Setting> FirstThree(std::vector<Setting> settings)
{
    settings.resize(3);
    return settings;
}

class AddonConformance : public ::testing::TestWithParam<AddonRow>
{
protected:
    std::unique_ptr<IAudioProcessor> Create() const
    {
        const AddonRow& row = GetParam();
        std::unique_ptr<IAudioProcessor> processor =
            row.create != nullptr ? row.create(row.id) : CreateProcessor(row.id);
        EXPECT_NE(processor, nullptr) << row.id << " cannot be created";
        return processor;
    }

    // The defaults, every parameter at its minimum, every one at its maximum,
    // then each parameter alone at its minimum and at its maximum.
    std::vector<Setting> ExtremeSettings() const
    {
        std::vector<Setting> settings(3);
        for (const AddonParamSpec& spec : Create()->parameters())
        {
            settings[1].push_back({spec.id, spec.minValue});
            settings[2].push_back({spec.id, spec.maxValue});
            settings.push_back({{spec.id, spec.minValue}});
            settings.push_back({{spec.id, spec.maxValue}});
        }
        return settings;
    }

    std::vector<double> Processed(const Setting& setting, AudioBuffer buffer,
                                  int contextRate = kSampleRate) const
    {
        const std::unique_ptr<IAudioProcessor> processor = Create();
        for (const auto& [id, value] : setting)
        {
            EXPECT_TRUE(processor->setParameter(id, value)) << id;
        }
        processor->process(buffer, RunContext(contextRate));
        return buffer.samples;
    }

    static double Read(const IAudioProcessor& processor, const std::string& id)
    {
        double value = std::numeric_limits<double>::quiet_NaN();
        EXPECT_TRUE(processor.getParameter(id, value)) << id;
        return value;
    }
};

std::string RowName(const ::testing::TestParamInfo<AddonRow>& info)
{
    return info.param.id;
}

void PrintTo(const AddonRow& row, std::ostream* out)
{
    *out << row.id;
}

} // namespace

TEST_P(AddonConformance, IdentityTextsAndPosition)
{
    const std::unique_ptr<IAudioProcessor> processor = Create();
    ASSERT_NE(processor, nullptr);
    EXPECT_STREQ(processor->id(), GetParam().id);
    EXPECT_TRUE(IsSnakeCase(processor->id()));
    EXPECT_TRUE(IsOneLine(processor->displayName())) << "display name";
    EXPECT_TRUE(IsOneLine(processor->description())) << "description";
    EXPECT_TRUE(IsOneLine(processor->bestUse())) << "best use";
    EXPECT_EQ(processor->chainPosition(), GetParam().position);
}

TEST_P(AddonConformance, ParameterTableIsWellFormed)
{
    const std::unique_ptr<IAudioProcessor> processor = Create();
    ASSERT_NE(processor, nullptr);
    const std::set<std::string> units = {"", "dB", "Hz", "ms", "dBTP", "bins", ":1", "x"};
    std::set<std::string> seen;
    for (const AddonParamSpec& spec : processor->parameters())
    {
        SCOPED_TRACE(spec.id);
        EXPECT_TRUE(IsSnakeCase(spec.id));
        EXPECT_TRUE(seen.insert(spec.id).second) << "duplicate parameter id";
        EXPECT_FALSE(spec.label.empty());
        EXPECT_TRUE(units.count(spec.unit)) << "unit '" << spec.unit << "'";
        EXPECT_TRUE(std::isfinite(spec.minValue) && std::isfinite(spec.maxValue));
        EXPECT_LE(spec.minValue, spec.defaultValue);
        EXPECT_LE(spec.defaultValue, spec.maxValue);
        EXPECT_GE(spec.step, 0.0);
        if (spec.kind == kAddonParamToggle)
        {
            EXPECT_EQ(spec.minValue, 0.0);
            EXPECT_EQ(spec.maxValue, 1.0);
            EXPECT_EQ(spec.step, 1.0);
            EXPECT_EQ(spec.unit, "");
            EXPECT_TRUE(spec.defaultValue == 0.0 || spec.defaultValue == 1.0);
        }
        else
        {
            EXPECT_EQ(spec.kind, kAddonParamContinuous);
        }
    }
}

TEST_P(AddonConformance, FreshInstanceHoldsTheReportedDefaults)
{
    const std::unique_ptr<IAudioProcessor> processor = Create();
    ASSERT_NE(processor, nullptr);
    for (const AddonParamSpec& spec : processor->parameters())
    {
        EXPECT_EQ(Read(*processor, spec.id), spec.defaultValue) << spec.id;
    }
}

TEST_P(AddonConformance, ParametersAreClampedToggledOrRefused)
{
    const std::unique_ptr<IAudioProcessor> processor = Create();
    ASSERT_NE(processor, nullptr);
    const std::vector<AddonParamSpec> table = processor->parameters();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const AddonParamSpec& spec : table)
    {
        SCOPED_TRACE(spec.id);
        if (spec.kind == kAddonParamToggle)
        {
            EXPECT_TRUE(processor->setParameter(spec.id, 0.49));
            EXPECT_EQ(Read(*processor, spec.id), 0.0);
            EXPECT_TRUE(processor->setParameter(spec.id, 0.5));
            EXPECT_EQ(Read(*processor, spec.id), 1.0);
        }
        else if (GetParam().clampsToItsTable)
        {
            const double span = spec.maxValue - spec.minValue + 1.0;
            EXPECT_TRUE(processor->setParameter(spec.id, spec.maxValue + span));
            EXPECT_EQ(Read(*processor, spec.id), spec.maxValue);
            EXPECT_TRUE(processor->setParameter(spec.id, spec.minValue - span));
            EXPECT_EQ(Read(*processor, spec.id), spec.minValue);
        }
        const double before = Read(*processor, spec.id);
        EXPECT_FALSE(processor->setParameter(spec.id, nan)) << "a NaN must be refused";
        EXPECT_EQ(Read(*processor, spec.id), before) << "a refused NaN must change nothing";

        if (UpperCase(spec.id) != spec.id)
        {
            EXPECT_FALSE(processor->setParameter(UpperCase(spec.id), spec.minValue));
            EXPECT_EQ(Read(*processor, spec.id), before) << "ids compare case-sensitively";
        }
    }

    double out = 0.125;
    EXPECT_FALSE(processor->setParameter("no_such_parameter", 0.0));
    EXPECT_FALSE(processor->getParameter("no_such_parameter", out));
    EXPECT_EQ(out, 0.125) << "an unknown id must leave the output as it was";

    if (GetParam().reportsTableDefaults)
    {
        const std::vector<AddonParamSpec> after = processor->parameters();
        ASSERT_EQ(after.size(), table.size());
        for (size_t i = 0; i < table.size(); ++i)
        {
            EXPECT_EQ(after[i].defaultValue, table[i].defaultValue)
                << table[i].id << ": parameters must report the table, not the current value";
        }
    }
}

TEST_P(AddonConformance, OutputStaysFiniteAtEveryParameterExtreme)
{
    for (const AudioBuffer& input : {TestSignal(), LoudTestSignal()})
    {
        for (const Setting& setting : ExtremeSettings())
        {
            const std::vector<double> output = Processed(setting, input);
            EXPECT_EQ(output.size(), input.samples.size()) << Describe(setting);
            EXPECT_TRUE(AllFinite(output)) << "non-finite output with " << Describe(setting);
        }
    }
}

TEST_P(AddonConformance, NeutralSettingsGiveTheInputBackBitForBit)
{
    if (GetParam().neutral.empty())
    {
        GTEST_SKIP() << GetParam().id << " has no neutral setting";
    }
    const AudioBuffer input = TestSignal();
    for (const Setting& neutral : GetParam().neutral)
    {
        // On top of the defaults, of every parameter at its minimum and of
        // every one at its maximum.
        for (Setting setting : FirstThree(ExtremeSettings()))
        {
            setting.insert(setting.end(), neutral.begin(), neutral.end());
            EXPECT_TRUE(Processed(setting, input) == input.samples)
                << "not neutral: " << Describe(setting);
        }
    }
}

TEST_P(AddonConformance, ChangesOnlyTheSampleValues)
{
    AudioBuffer buffer = TestSignal();
    buffer.meterSeries.push_back({"dynamics.gain_reduction_db", 50.0, {1.0f, 2.0f}});
    buffer.stageMetrics.push_back({"stage1.match_delta_db", 2.5});
    const std::unique_ptr<IAudioProcessor> processor = Create();
    ASSERT_NE(processor, nullptr);
    processor->process(buffer, RunContext());

    EXPECT_EQ(buffer.sampleRate, kSampleRate);
    EXPECT_EQ(buffer.samples.size(), 2 * kFrameCount);
    ASSERT_EQ(buffer.meterSeries.size(), 1u);
    EXPECT_EQ(buffer.meterSeries[0].key, "dynamics.gain_reduction_db");
    EXPECT_EQ(buffer.meterSeries[0].values, (std::vector<float>{1.0f, 2.0f}));
    ASSERT_EQ(buffer.stageMetrics.size(), 1u);
    EXPECT_EQ(buffer.stageMetrics[0].value, 2.5);
}

TEST_P(AddonConformance, ShortAndOddBuffersFollowTheEntryRules)
{
    constexpr size_t kOddFrames = kSilentLeadFrames + 2000;
    const AudioBuffer even = TestSignal(kOddFrames);
    AudioBuffer odd = even;
    odd.samples.push_back(0.3);
    // Defaults alone may leave a signal as it is, so the rules are checked with
    // every parameter at its minimum and at its maximum too.
    for (const Setting& setting : FirstThree(ExtremeSettings()))
    {
        for (const std::vector<double>& tiny : {std::vector<double>{}, std::vector<double>{0.3}})
        {
            AudioBuffer buffer;
            buffer.sampleRate = kSampleRate;
            buffer.samples = tiny;
            EXPECT_EQ(Processed(setting, buffer), tiny)
                << tiny.size() << " values must come back unchanged: " << Describe(setting);
        }

        const std::vector<double> output = Processed(setting, odd);
        ASSERT_EQ(output.size(), odd.samples.size()) << Describe(setting);
        switch (GetParam().oddCount)
        {
        case OddCount::Untouched:
            EXPECT_TRUE(output == odd.samples)
                << "an odd count must leave the buffer untouched: " << Describe(setting);
            break;
        case OddCount::WholeFramesOnly:
        {
            EXPECT_EQ(output.back(), 0.3) << "the trailing value belongs to no frame";
            const std::vector<double> frames = Processed(setting, even);
            EXPECT_TRUE(std::equal(frames.begin(), frames.end(), output.begin()))
                << "the whole frames must be processed as without the trailing value: "
                << Describe(setting);
            break;
        }
        case OddCount::EveryValue:
            EXPECT_TRUE(AllFinite(output)) << Describe(setting);
            break;
        }
    }
}

TEST_P(AddonConformance, SilenceStaysSilent)
{
    if (!GetParam().silenceStaysSilent)
    {
        GTEST_SKIP() << GetParam().id << " makes sound from silence by design";
    }
    AudioBuffer silence;
    silence.sampleRate = kSampleRate;
    silence.samples.assign(2 * kFrameCount, 0.0);
    const std::vector<double> output = Processed({}, silence);
    const auto loudest =
        std::max_element(output.begin(), output.end(),
                         [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    ASSERT_NE(loudest, output.end());
    EXPECT_LT(std::fabs(*loudest), 1e-9) << "silence came out at " << *loudest;
}

TEST_P(AddonConformance, FreshInstancesShareNothing)
{
    const AudioBuffer input = TestSignal();
    const std::vector<double> first = Processed({}, input);
    const std::vector<double> second = Processed({}, input);
    EXPECT_TRUE(first == second) << "a second fresh instance processed differently";
}

TEST_P(AddonConformance, RateOfZeroOrLessGivesFiniteOutput)
{
    for (const Setting& setting : FirstThree(ExtremeSettings()))
    {
        for (int rate : {0, -kSampleRate})
        {
            AudioBuffer buffer = TestSignal();
            buffer.sampleRate = rate;
            const std::vector<double> output = Processed(setting, buffer, rate);
            EXPECT_EQ(output.size(), buffer.samples.size()) << "rate " << rate;
            EXPECT_TRUE(AllFinite(output)) << "rate " << rate << ", " << Describe(setting);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TestAddons, AddonConformance, ::testing::ValuesIn(kTestAddonRows),
                         RowName);
INSTANTIATE_TEST_SUITE_P(Addons, AddonConformance, ::testing::ValuesIn(kAddonRows), RowName);

TEST(AddonConformanceTable, EveryBuiltAddonHasARow)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        const bool hasRow =
            std::any_of(kAddonRows.begin(), kAddonRows.end(),
                        [&](const AddonRow& row) { return row.id == descriptor.id; });
        EXPECT_TRUE(hasRow) << descriptor.id << " has no row in kAddonRows";
    }
    for (const AddonRow& row : kAddonRows)
    {
        EXPECT_NE(CreateProcessor(row.id), nullptr) << row.id << " has a row but no class";
    }
}
