#include "engine/settings/parameter_catalog.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// One row per catalogue entry, in catalogue order.
struct Row
{
    const char* section;
    const char* key;
    int kind;
    const char* label;
    double minValue, maxValue, defaultValue, step, displayMin, displayMax;
    int decimals;
    const char* unit;
    int controlStyle;
    int previewScope;
    std::vector<std::string> choices;
    const char* description;
};

const std::vector<Row>& ExpectedRows()
{
    // clang-format off
    static const std::vector<Row> rows = {
        {"session", "internal_sample_rate", 2, "Sample Rate", 0, 3, 0, 1, 0, 3, 0, "", 3, 12,
         {"44.1 kHz", "48 kHz", "88.2 kHz", "96 kHz"},
         "Internal processing sample rate used by the mastering engine."},
        {"session", "pcm_format", 2, "PCM", 0, 2, 1, 1, 0, 2, 0, "", 3, 1, {"16", "24", "32f"},
         "PCM bit depth used for rendered WAV output."},
        {"session", "max_piece_seconds", 0, "Piece Size", 1, 30, 15, 0.5, 1, 30, 1, " s", 0, 10, {},
         "Maximum analysis piece duration used by the engine."},
        {"stage2", "strength", 0, "Tone Match", 0, 1, 0.75, 0.01, 0, 100, 0, "%", 0, 8, {},
         "Controls how strongly Stage 2 tone matching is applied."},
        {"stage2", "stereo_match", 0, "Stereo Match", 0, 1, 1, 0.01, 0, 100, 0, "%", 0, 9, {},
         "Controls how strongly Stage 2 applies the reference-driven stereo side-spectrum match."},
        {"stage2", "stereo_boost", 0, "Stereo Boost", 1, 2, 1, 0.01, 1, 2, 1, "x", 0, 9, {},
         "Extends Stage 2 stereo matching beyond 100 percent for a stronger stereo side-spectrum "
         "push."},
        {"stage2", "psychoacoustic", 1, "Psychoacoustic", 0, 1, 0, 1, 0, 1, 0, "", 2, 9, {},
         "Enables psychoacoustic weighting during tone matching."},
        {"stage2", "adaptive_strength", 1, "Adaptive", 0, 1, 0, 1, 0, 1, 0, "", 2, 8, {},
         "Enables adaptive tone-match strength behavior."},
        {"stage3", "strength", 0, "Dynamics Match", 0, 1, 1, 0.01, 0, 100, 0, "%", 0, 7, {},
         "Controls how strongly Stage 3 dynamics matching is applied."},
        {"stage3", "macro_strength", 0, "Macro", 0, 1, 0, 0.01, 0, 100, 0, "%", 0, 7, {},
         "Controls broad macro dynamics behavior in Stage 3."},
        {"stage4", "loudness_strength", 0, "Loudness", 0, 1, 1, 0.01, 0, 100, 0, "%", 0, 2, {},
         "Controls how strongly Stage 4 loudness targeting is applied."},
        {"stage4", "limiter_strength", 0, "Limiter", 0, 1, 1, 0.01, 0, 100, 0, "%", 0, 2, {},
         "Controls how strongly Stage 4 limiting is applied."},
        {"stage4", "limiter_mode", 2, "Limiter Mode", 0, 2, 0, 1, 0, 2, 0, "", 4, 2,
         {"Standard", "True Peak", "Lookahead"}, "Selects the Stage 4 limiter mode."},
        {"stage2", "smoothing_octave", 2, "Smoothing", 0, 2, 1, 1, 0, 2, 0, "", 3, 9,
         {"1/3 Oct", "1/6 Oct", "1/12 Oct"},
         "Controls the spectral smoothing window width applied to the tone correction curve."},
        {"stage4", "limiter_oversample", 2, "Oversample", 0, 2, 0, 1, 0, 2, 0, "", 3, 2,
         {"1x", "2x", "4x"}, "Selects the oversampling factor for Stage 4 limiting."},
    };
    // clang-format on
    return rows;
}

const ParameterDescriptor& Descriptor(const char* section, const char* key)
{
    const ParameterDescriptor* d = FindParameterDescriptor(section, key);
    EXPECT_NE(d, nullptr) << section << "." << key;
    return *d;
}

} // namespace

TEST(ParameterCatalogTest, HoldsTheFifteenEntriesInOrder)
{
    const std::vector<ParameterDescriptor>& catalog = GetParameterCatalog();
    const std::vector<Row>& rows = ExpectedRows();
    ASSERT_EQ(catalog.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const Row& r = rows[i];
        const ParameterDescriptor& d = catalog[i];
        SCOPED_TRACE(std::to_string(i + 1) + " " + r.section + "." + r.key);
        EXPECT_EQ(d.section, r.section);
        EXPECT_EQ(d.key, r.key);
        EXPECT_EQ(d.kind, r.kind);
        EXPECT_EQ(d.wide, 0);
        EXPECT_EQ(d.controlStyle, r.controlStyle);
        EXPECT_EQ(d.previewScope, r.previewScope);
        EXPECT_EQ(d.label, r.label);
        EXPECT_EQ(d.description, r.description);
        EXPECT_EQ(d.minValue, r.minValue);
        EXPECT_EQ(d.maxValue, r.maxValue);
        EXPECT_EQ(d.defaultValue, r.defaultValue);
        EXPECT_EQ(d.step, r.step);
        EXPECT_EQ(d.displayMin, r.displayMin);
        EXPECT_EQ(d.displayMax, r.displayMax);
        EXPECT_EQ(d.decimals, r.decimals);
        EXPECT_EQ(d.unit, r.unit);
        EXPECT_EQ(d.choices, r.choices);
        EXPECT_EQ(FindParameterDescriptor(r.section, r.key), &d);
    }
}

TEST(ParameterCatalogTest, LookupIsExact)
{
    EXPECT_NE(FindParameterDescriptor("stage2", "strength"),
              FindParameterDescriptor("stage3", "strength"));
    EXPECT_EQ(FindParameterDescriptor("Stage2", "strength"), nullptr);
    EXPECT_EQ(FindParameterDescriptor("stage2", "Strength"), nullptr);
    EXPECT_EQ(FindParameterDescriptor("stage2", ""), nullptr);
    const ParameterDescriptor& rate = Descriptor("session", "internal_sample_rate");
    EXPECT_EQ(rate.choices.at(size_t(rate.defaultValue)), "44.1 kHz");

    const ParameterDescriptor fresh;
    EXPECT_EQ(fresh.previewScope, 10);
    EXPECT_EQ(fresh.step, 0.01);
    EXPECT_EQ(fresh.maxValue, 1.0);
    EXPECT_EQ(fresh.displayMax, 1.0);
}

TEST(ParameterCatalogTest, ModeGroupsListTheirParametersInOrder)
{
    struct Group
    {
        const char* id;
        const char* label;
        std::vector<std::string> ids;
    };
    const Group expected[] = {
        {"apprentice",
         "Apprentice",
         {"stage2.strength", "stage2.stereo_match", "stage4.loudness_strength"}},
        {"stage2",
         "Stage 2",
         {"stage2.strength", "stage2.stereo_match", "stage2.stereo_boost", "stage2.psychoacoustic",
          "stage2.adaptive_strength", "stage2.smoothing_octave"}},
        {"stage3", "Stage 3", {"stage3.strength", "stage3.macro_strength"}},
        {"stage4",
         "Stage 4",
         {"stage4.loudness_strength", "stage4.limiter_strength", "stage4.limiter_mode",
          "stage4.limiter_oversample"}},
    };
    const std::vector<ModeParameterGroup>& groups = GetModeParameterGroups();
    ASSERT_EQ(groups.size(), std::size(expected));
    for (size_t i = 0; i < groups.size(); ++i)
    {
        EXPECT_EQ(groups[i].id, expected[i].id);
        EXPECT_EQ(groups[i].label, expected[i].label);
        std::vector<std::string> ids;
        for (const ParameterRef& ref : groups[i].parameters)
        {
            EXPECT_NE(FindParameterDescriptor(ref.section, ref.key), nullptr)
                << "dangling reference";
            ids.push_back(ref.section + "." + ref.key);
        }
        EXPECT_EQ(ids, expected[i].ids);
        EXPECT_EQ(FindModeParameterGroup(expected[i].id), &groups[i]);
    }
    EXPECT_EQ(FindModeParameterGroup("stage1"), nullptr);
    EXPECT_EQ(FindModeParameterGroup("Stage2"), nullptr);
}

TEST(ParameterCatalogTest, PositionsConvertToEngineValues)
{
    struct Case
    {
        const char* section;
        const char* key;
        double position;
        double value;
    };
    const Case cases[] = {
        {"stage2", "stereo_boost", 0.5, 1.5},
        {"stage2", "stereo_boost", 0.0, 1.0},
        {"stage2", "stereo_boost", 1.0, 2.0},
        {"stage2", "stereo_boost", 1.7, 2.0}, // positions beyond the ends are clamped
        {"stage2", "stereo_boost", -0.3, 1.0},
        {"stage2", "stereo_boost", std::nan(""), 1.0},
        {"session", "max_piece_seconds", 0.5, 15.5},
        {"stage4", "limiter_mode", 0.5, 1.0},
        {"stage4", "limiter_mode", 0.25, 1.0}, // 2 x 0.25 = 0.5 rounds away from zero
        {"stage4", "limiter_mode", 0.24, 0.0},
        {"stage4", "limiter_mode", 1.0, 2.0},
        {"session", "internal_sample_rate", 0.5, 2.0}, // 1.5 rounds up
        {"stage2", "psychoacoustic", 0.5, 1.0},
        {"stage2", "psychoacoustic", 0.49, 0.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ParameterValueFromPosition(Descriptor(c.section, c.key), c.position), c.value)
            << c.section << "." << c.key << " at " << c.position;
    }
    const ParameterDescriptor& mode = Descriptor("stage4", "limiter_mode");
    EXPECT_EQ(mode.choices[size_t(ParameterValueFromPosition(mode, 0.5))], "True Peak");
}

TEST(ParameterCatalogTest, EngineValuesConvertToPositions)
{
    struct Case
    {
        const char* section;
        const char* key;
        double value;
        double position;
    };
    const Case cases[] = {
        {"stage2", "stereo_boost", 1.5, 0.5},
        {"stage2", "stereo_boost", 3.0, 1.0},
        {"stage2", "stereo_boost", 0.0, 0.0},
        {"stage2", "stereo_boost", std::nan(""), 0.0},
        {"stage2", "strength", 0.75, 0.75},
        {"stage4", "limiter_mode", 1.0, 0.5},
        {"stage4", "limiter_mode", 5.0, 1.0},
        {"session", "internal_sample_rate", 1.0, 1.0 / 3.0},
        {"stage2", "adaptive_strength", 0.5, 1.0},
        {"stage2", "adaptive_strength", 0.4, 0.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(ParameterPositionFromValue(Descriptor(c.section, c.key), c.value),
                         c.position)
            << c.section << "." << c.key << " = " << c.value;
    }

    ParameterDescriptor empty; // degenerate ranges never divide by zero
    empty.maxValue = 0.0;
    EXPECT_EQ(ParameterPositionFromValue(empty, 0.5), 0.0);
    empty.kind = ParameterChoice;
    EXPECT_EQ(ParameterPositionFromValue(empty, 0.5), 0.0);
    EXPECT_EQ(ParameterValueFromPosition(empty, 0.9), 0.0);
    empty.maxValue = 4.0; // a choice without labels counts by its range
    EXPECT_EQ(ParameterValueFromPosition(empty, 0.5), 2.0);

    for (const ParameterDescriptor& d : GetParameterCatalog())
    {
        EXPECT_DOUBLE_EQ(
            ParameterValueFromPosition(d, ParameterPositionFromValue(d, d.defaultValue)),
            d.defaultValue)
            << d.section << "." << d.key << ": the default does not survive a control round trip";
    }
}
