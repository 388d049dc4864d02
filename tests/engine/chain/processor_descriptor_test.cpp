#include "engine/chain/processor_descriptor.h"

#include "tests/support/test_processors.h"

#include <gtest/gtest.h>

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
