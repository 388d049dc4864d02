#include "addons/kit/addon_parameters.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <stdexcept>
#include <vector>

namespace
{

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
    {"gain_db", "Gain", kAddonParamContinuous, -12.0, 8.0, 3.0, 0.1, "dB"},
    {"loud_sections_only", "Loud Only", kAddonParamToggle, 0.0, 1.0, 1.0, 1.0, ""},
    {"mid_balance.amount", "Mid Balance", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
}};

enum Param
{
    Amount,
    GainDb,
    LoudSectionsOnly,
    MidBalanceAmount
};

double Read(const AddonParameters& parameters, const char* id)
{
    double value = -999.0;
    EXPECT_TRUE(parameters.Get(id, value)) << id;
    return value;
}

} // namespace

TEST(AddonParameters, StartsAtTheTableDefaults)
{
    const AddonParameters parameters(kTable);
    EXPECT_EQ(parameters.Value(Amount), 0.5);
    EXPECT_EQ(parameters.Value(GainDb), 3.0);
    EXPECT_TRUE(parameters.IsOn(LoudSectionsOnly));
    EXPECT_EQ(Read(parameters, "loud_sections_only"), 1.0);
    EXPECT_EQ(Read(parameters, "mid_balance.amount"), 0.0);
}

TEST(AddonParameters, StoresByTheTableRules)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* id;
        double value;
        double readBack;
    };
    const Case cases[] = {
        {"amount", 1.7, 1.0},
        {"amount", -3.0, 0.0},
        {"amount", 0.25, 0.25},
        {"gain_db", 99.0, 8.0},
        {"gain_db", -inf, -12.0},
        {"gain_db", inf, 8.0},
        {"loud_sections_only", 0.49, 0.0},
        {"loud_sections_only", 0.5, 1.0},
        {"loud_sections_only", -inf, 0.0},
        {"loud_sections_only", 42.0, 1.0},
        {"mid_balance.amount", -0.75, -0.75},
    };
    for (const Case& c : cases)
    {
        AddonParameters parameters(kTable);
        EXPECT_TRUE(parameters.Set(c.id, c.value)) << c.id << " = " << c.value;
        EXPECT_EQ(Read(parameters, c.id), c.readBack) << c.id << " = " << c.value;
    }
}

TEST(AddonParameters, RefusesUnknownIdsAndValuesThatAreNotNumbers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* id;
        double value;
    };
    const Case cases[] = {{"Amount", 0.2},
                          {"amount ", 0.2},
                          {"", 0.2},
                          {"mid_balance", 0.2},
                          {"amount", nan},
                          {"gain_db", nan},
                          {"loud_sections_only", nan}};
    for (const Case& c : cases)
    {
        AddonParameters parameters(kTable);
        EXPECT_FALSE(parameters.Set(c.id, c.value)) << "'" << c.id << "' = " << c.value;
        EXPECT_EQ(parameters.Value(Amount), 0.5) << "a refused value must change nothing";
        EXPECT_EQ(parameters.Value(GainDb), 3.0);
        EXPECT_TRUE(parameters.IsOn(LoudSectionsOnly));
        EXPECT_EQ(parameters.Value(MidBalanceAmount), 0.0);
    }

    const AddonParameters parameters(kTable);
    double out = 123.0;
    EXPECT_FALSE(parameters.Get("GAIN_DB", out));
    EXPECT_EQ(out, 123.0) << "an unknown id must leave the output as it was";
}

TEST(AddonParameters, SpecsReportTheTableNotTheCurrentValues)
{
    AddonParameters parameters(kTable);
    parameters.Set("gain_db", -6.0);
    parameters.Set("loud_sections_only", 0.0);

    const std::vector<AddonParamSpec> specs = parameters.Specs();
    ASSERT_EQ(specs.size(), kTable.size());
    for (size_t i = 0; i < specs.size(); ++i)
    {
        EXPECT_EQ(specs[i].id, kTable[i].id);
        EXPECT_EQ(specs[i].label, kTable[i].label);
        EXPECT_EQ(specs[i].kind, kTable[i].kind);
        EXPECT_EQ(specs[i].minValue, kTable[i].minValue);
        EXPECT_EQ(specs[i].maxValue, kTable[i].maxValue);
        EXPECT_EQ(specs[i].defaultValue, kTable[i].defaultValue);
        EXPECT_EQ(specs[i].step, kTable[i].step);
        EXPECT_EQ(specs[i].unit, kTable[i].unit);
    }
}

TEST(AddonParameters, RefusesATableLongerThanItCanHold)
{
    const std::vector<AddonParamDef> table(kMaxAddonParameters + 1, kTable[0]);
    EXPECT_THROW(AddonParameters{table}, std::length_error);
}
