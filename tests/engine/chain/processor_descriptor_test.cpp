#include "engine/chain/processor_descriptor.h"

#include "tests/support/test_processors.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

TEST(ProcessorDescriptor, CopiesTheTextsPositionAndTableOfAnInstance)
{
    const TestGainProcessor processor("test_gain", ChainStereoImage);
    const ProcessorDescriptor descriptor = MakeProcessorDescriptor(processor);

    EXPECT_EQ(descriptor.id, "test_gain");
    EXPECT_EQ(descriptor.displayName, processor.displayName());
    EXPECT_EQ(descriptor.description, processor.description());
    EXPECT_EQ(descriptor.bestUse, processor.bestUse());
    EXPECT_EQ(descriptor.chainPosition, ChainStereoImage);
    ASSERT_EQ(descriptor.parameters.size(), 2u);
    EXPECT_EQ(descriptor.parameters[0].id, "gain");
    EXPECT_EQ(descriptor.parameters[0].maxValue, TestGainProcessor::kMaxGain);
    EXPECT_EQ(descriptor.parameters[1].kind, kAddonParamToggle);
}

namespace
{

AddonParamSpec Spec(int kind, double minimum, double maximum, double fallback = 0.0)
{
    AddonParamSpec spec;
    spec.id = "p";
    spec.kind = kind;
    spec.minValue = minimum;
    spec.maxValue = maximum;
    spec.defaultValue = fallback;
    return spec;
}

} // namespace

TEST(ProcessorDescriptor, MakeChainEntryHoldsEveryParameterAtItsDefaultInOrder)
{
    const TestGainProcessor processor("test_gain", ChainPreLimiter);
    const ProcessorDescriptor descriptor = MakeProcessorDescriptor(processor);
    const ChainEntry entry = MakeChainEntry(descriptor);

    EXPECT_EQ(entry.id, "test_gain");
    EXPECT_TRUE(entry.enabled);
    ASSERT_EQ(entry.parameters.size(), descriptor.parameters.size());
    for (size_t i = 0; i < entry.parameters.size(); ++i)
    {
        EXPECT_EQ(entry.parameters[i].id, descriptor.parameters[i].id);
        EXPECT_EQ(entry.parameters[i].value, descriptor.parameters[i].defaultValue);
    }
    EXPECT_EQ(FindAddonParamSpec(descriptor, descriptor.parameters[1].id),
              &descriptor.parameters[1]);
    EXPECT_EQ(FindAddonParamSpec(descriptor, "GAIN"), nullptr);
}

TEST(ProcessorDescriptor, FindChainEntryFindsTheFirstEntryOfAnId)
{
    std::vector<ChainEntry> chain = {{"a", true, {}}, {"b", false, {}}, {"b", true, {}}};
    EXPECT_EQ(FindChainEntry(chain, "b"), &chain[1]);
    EXPECT_EQ(FindChainEntry(chain, "c"), nullptr);
    EXPECT_EQ(FindChainEntry(std::vector<ChainEntry>{}, "a"), nullptr);
}

TEST(ProcessorDescriptor, ChainPositionScopeNamesThePositionsScope)
{
    EXPECT_EQ(ChainPositionScope(ChainPreMatch), PreviewPreMatch);
    EXPECT_EQ(ChainPositionScope(ChainPostMatchTone), PreviewPostMatchTone);
    EXPECT_EQ(ChainPositionScope(ChainPostMatchDynamics), PreviewPostMatchDynamics);
    EXPECT_EQ(ChainPositionScope(ChainStereoImage), PreviewStereoImage);
    EXPECT_EQ(ChainPositionScope(ChainPreLimiter), PreviewPreLimiter);
    EXPECT_EQ(ChainPositionScope(5), PreviewStage1);
    EXPECT_EQ(ChainPositionScope(-1), PreviewStage1);
}

TEST(ProcessorDescriptor, AddonParamPositionsMapByKindAndSurviveEmptyRanges)
{
    struct Case
    {
        AddonParamSpec spec;
        double position;
        double value;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case toValue[] = {
        {Spec(kAddonParamContinuous, -24.0, 24.0), 0.25, -12.0},
        {Spec(kAddonParamContinuous, -24.0, 24.0), 1.5, 24.0},
        {Spec(kAddonParamContinuous, -24.0, 24.0), nan, -24.0},
        {Spec(kAddonParamToggle, 0.0, 1.0), 0.5, 1.0},
        {Spec(kAddonParamToggle, 0.0, 1.0), 0.4999, 0.0},
        {Spec(2, 1.0, 8.0), 0.5, 5.0}, // 1 + nearest(3.5)
        {Spec(2, 1.0, 8.0), 0.49, 4.0},
        {Spec(2, 4.0, 4.0), 0.7, 4.0},
        {Spec(2, 6.0, 2.0), 0.7, 6.0},
    };
    for (const Case& c : toValue)
    {
        EXPECT_EQ(AddonParamValueFromPosition(c.spec, c.position), c.value)
            << "kind " << c.spec.kind << " at " << c.position;
    }

    const Case toPosition[] = {
        {Spec(kAddonParamContinuous, -24.0, 24.0), 0.25, -12.0},
        {Spec(kAddonParamContinuous, -24.0, 24.0), 1.0, 99.0},
        {Spec(kAddonParamToggle, 0.0, 1.0), 1.0, 0.5},
        {Spec(kAddonParamToggle, 0.0, 1.0), 0.0, 0.2},
        {Spec(2, 4.0, 4.0), 0.0, 4.0},
        {Spec(kAddonParamContinuous, 6.0, 2.0), 0.0, 4.0},
    };
    for (const Case& c : toPosition)
    {
        EXPECT_EQ(AddonParamPositionFromValue(c.spec, c.value), c.position)
            << "kind " << c.spec.kind << " value " << c.value;
    }
}
