#include "registry/addon_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace
{

// The order in which the pages list the add-ons.
const std::vector<std::string> kDescriptorOrder = {
    "air_shelf",
    "ambient_widener",
    "asymmetric_clipper",
    "band_balance_corrector",
    "balance_corrector",
    "broadband_expander",
    "center_halo",
    "center_focus",
    "center_lock",
    "crest_factor_controller",
    "dc_blocker",
    "detail_extractor",
    "dynamic_eq",
    "dynamic_air",
    "dynamic_tilt",
    "dynamic_low_end_tamer",
    "sonic_maximizer",
    "tilt_eq",
    "transformer_saturation",
    "tape_saturation",
    "tape_motion",
    "tube_saturation",
    "upward_expander",
    "exciter",
    "harmonic_enhancer",
    "harshness_tamer",
    "hum_notch",
    "low_end_punch",
    "low_high_band_stereo_shaper",
    "loudness_driver",
    "low_mid_cleanup",
    "master_deesser",
    "multiband_compressor",
    "mono_maker",
    "ms_color_eq",
    "ms_dynamics_processor",
    "parallel_aggression",
    "phase_align",
    "phase_rotator",
    "peak_clipper",
    "micro_dynamics_restorer",
    "presence_lift",
    "punch_enhancer",
    "resonance_tracker",
    "resonance_suppressor",
    "soft_clipper",
    "spectral_correlation_guard",
    "spectral_declip",
    "spectral_dereverb",
    "spectral_dynamics",
    "spectral_gate",
    "standard_compressor",
    "stereo_band_rebalance",
    "stereo_swapper",
    "sub_rumble_filter",
    "three_band_eq",
    "transient_shaper",
    "transient_sustain_shaper",
    "glue_module",
    "vintage_compressor",
    "stereo_widener",
    "transparent_bus_compressor",
    "transient_catcher",
    "true_peak_guard",
    "upward_detail",
    "width_limiter",
    "vorlik_loc_compressor",
};

std::vector<std::string> DescriptorIds()
{
    std::vector<std::string> ids;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        ids.push_back(descriptor.id);
    }
    return ids;
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

void ExpectSameSpecs(const std::vector<AddonParamSpec>& actual,
                     const std::vector<AddonParamSpec>& expected, const std::string& addon)
{
    ASSERT_EQ(actual.size(), expected.size()) << addon;
    for (size_t i = 0; i < actual.size(); ++i)
    {
        EXPECT_EQ(actual[i].id, expected[i].id) << addon;
        EXPECT_EQ(actual[i].label, expected[i].label) << addon;
        EXPECT_EQ(actual[i].kind, expected[i].kind) << addon;
        EXPECT_EQ(actual[i].minValue, expected[i].minValue) << addon;
        EXPECT_EQ(actual[i].maxValue, expected[i].maxValue) << addon;
        EXPECT_EQ(actual[i].defaultValue, expected[i].defaultValue) << addon;
        EXPECT_EQ(actual[i].step, expected[i].step) << addon;
        EXPECT_EQ(actual[i].unit, expected[i].unit) << addon;
    }
}

} // namespace

TEST(AddonRegistry, DescriptorsFollowTheListOrderAndSkipAddonsNotYetBuilt)
{
    const std::vector<std::string> ids = DescriptorIds();
    auto next = kDescriptorOrder.begin();
    for (const std::string& id : ids)
    {
        next = std::find(next, kDescriptorOrder.end(), id);
        ASSERT_NE(next, kDescriptorOrder.end()) << id << " is unknown or out of order";
        ++next;
    }
    for (const std::string& id : kDescriptorOrder)
    {
        const bool described = std::find(ids.begin(), ids.end(), id) != ids.end();
        EXPECT_EQ(CreateProcessor(id) != nullptr, described)
            << id << ": the factory and the descriptor list disagree";
    }
}

TEST(AddonRegistry, DescriptorListHoldsAllSixtySevenInOrder)
{
    const std::vector<ProcessorDescriptor>& descriptors = GetProcessorDescriptors();
    if (descriptors.size() < kDescriptorOrder.size())
    {
        GTEST_SKIP() << descriptors.size() << " of " << kAddonCount << " add-ons are built";
    }
    EXPECT_EQ(DescriptorIds(), kDescriptorOrder);
    EXPECT_EQ(descriptors.front().id, "air_shelf");
    EXPECT_EQ(FindProcessorDescriptor("vorlik_loc_compressor"), &descriptors[kAddonCount - 1]);
}

TEST(AddonRegistry, EachDescriptorDescribesAFreshInstance)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        const std::unique_ptr<IAudioProcessor> processor = CreateProcessor(descriptor.id);
        ASSERT_NE(processor, nullptr) << descriptor.id;
        EXPECT_EQ(descriptor.id, processor->id());
        EXPECT_EQ(descriptor.displayName, processor->displayName()) << descriptor.id;
        EXPECT_EQ(descriptor.description, processor->description()) << descriptor.id;
        EXPECT_EQ(descriptor.bestUse, processor->bestUse()) << descriptor.id;
        EXPECT_EQ(descriptor.chainPosition, processor->chainPosition()) << descriptor.id;
        ExpectSameSpecs(descriptor.parameters, processor->parameters(), descriptor.id);
    }
}

TEST(AddonRegistry, LookupsMatchIdsExactly)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        EXPECT_EQ(FindProcessorDescriptor(descriptor.id), &descriptor);
    }
    for (const std::string& id : kDescriptorOrder)
    {
        EXPECT_EQ(CreateProcessor(UpperCase(id)), nullptr) << UpperCase(id);
        EXPECT_EQ(FindProcessorDescriptor(UpperCase(id)), nullptr) << UpperCase(id);
        EXPECT_EQ(CreateProcessor(id + " "), nullptr) << "'" << id << " '";
    }
    for (const std::string id : {"", "air", "no_such_addon", "air_shelf_2"})
    {
        EXPECT_EQ(CreateProcessor(id), nullptr) << "'" << id << "'";
        EXPECT_EQ(FindProcessorDescriptor(id), nullptr) << "'" << id << "'";
    }
}

TEST(AddonRegistry, ChainOfEveryIdHoldsEachBuiltAddonAtItsPosition)
{
    MasteringSettings settings;
    for (const std::string& id : kDescriptorOrder)
    {
        settings.addons.push_back({id, true, {}});
    }
    const ProcessorChain chain = BuildProcessorChain(settings);

    std::vector<std::string> chained;
    for (int position = 0; position < kChainPositionCount; ++position)
    {
        for (const auto& processor : chain.buckets[position])
        {
            chained.push_back(processor->id());
            const int reported = processor->chainPosition();
            EXPECT_EQ(reported, position) << processor->id() << " sits in the wrong bucket";
        }
    }
    std::vector<std::string> described = DescriptorIds();
    std::sort(chained.begin(), chained.end());
    std::sort(described.begin(), described.end());
    EXPECT_EQ(chained, described);
}
