// What the add-on conformance frame cannot see of the base: its test add-ons
// take their id and position from the test, none has an empty table, and none
// shows which value process reads at which index.

#include "addons/kit/addon_base.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace
{

constexpr AddonIdentity kProbeIdentity{"probe", "Probe", "Writes what it reads.",
                                       "Tests of the add-on base.", ChainStereoImage};

enum Param
{
    Depth,
    Bypass
};

constexpr std::array<AddonParamDef, 2> kProbeTable{{
    {"depth", "Depth", kAddonParamContinuous, -1.0, 1.0, 0.5, 0.01, ""},
    {"bypass", "Bypass", kAddonParamToggle, 0.0, 1.0, 1.0, 1.0, ""},
}};

// Replaces the buffer with the values it reads by table index.
class ProbeAddon final : public AddonBase
{
public:
    ProbeAddon() : AddonBase(kProbeIdentity, kProbeTable) {}

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        buffer.samples = {Value(Depth), IsOn(Bypass) ? 1.0 : 0.0};
    }
};

constexpr AddonIdentity kBareIdentity{"bare", "Bare", "Has no parameters.",
                                      "Tests of the add-on base.", ChainPreLimiter};
constexpr std::array<AddonParamDef, 0> kNoParameters{};

class BareAddon final : public AddonBase
{
public:
    BareAddon() : AddonBase(kBareIdentity, kNoParameters) {}

    void process(AudioBuffer&, const ProcessContext&) override {}
};

std::vector<double> ReadByProcess(IAudioProcessor& addon)
{
    AudioBuffer buffer;
    addon.process(buffer, ProcessContext{});
    return buffer.samples;
}

} // namespace

TEST(AddonBase, ReportsTheIdentityItWasGiven)
{
    const ProbeAddon probe;
    const IAudioProcessor& addon = probe;
    // The same literals, not copies: the texts must live as long as the program.
    EXPECT_EQ(addon.id(), kProbeIdentity.id);
    EXPECT_EQ(addon.displayName(), kProbeIdentity.displayName);
    EXPECT_EQ(addon.description(), kProbeIdentity.description);
    EXPECT_EQ(addon.bestUse(), kProbeIdentity.bestUse);
    EXPECT_EQ(addon.chainPosition(), ChainStereoImage);
}

TEST(AddonBase, ProcessReadsTheStoredValuesByTableIndex)
{
    ProbeAddon addon;
    EXPECT_EQ(ReadByProcess(addon), (std::vector<double>{0.5, 1.0})) << "the table's defaults";

    ASSERT_TRUE(addon.setParameter("depth", -7.0));
    ASSERT_TRUE(addon.setParameter("bypass", 0.49));
    EXPECT_EQ(ReadByProcess(addon), (std::vector<double>{-1.0, 0.0}))
        << "process must read the stored values, clamped and toggled";
}

TEST(AddonBase, ATableOfNoParametersRefusesEveryId)
{
    BareAddon addon;
    EXPECT_TRUE(addon.parameters().empty());
    EXPECT_FALSE(addon.setParameter("depth", 0.0));
    EXPECT_FALSE(addon.setParameter("", 0.0));
    double out = 0.125;
    EXPECT_FALSE(addon.getParameter("depth", out));
    EXPECT_EQ(out, 0.125) << "an unknown id must leave the output as it was";
}
