#include "engine/chain/processor_chain.h"

#include "tests/support/test_processors.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace
{

// Test ids name the position their add-on reports: "gain@1" is a gain add-on at
// POSTMATCHTONE, "offset@0" an offset add-on at PREMATCH, "gain@7" one that
// reports a position no chain has.
class ChainOfTestAddons : public ::testing::Test
{
protected:
    ProcessorFactory Factory()
    {
        return [this](const std::string& id) -> std::unique_ptr<IAudioProcessor>
        {
            const size_t at = id.find('@');
            if (at == std::string::npos)
            {
                return nullptr;
            }
            const int position = std::stoi(id.substr(at + 1));
            const std::string kind = id.substr(0, at);
            if (kind == "gain")
            {
                return std::make_unique<TestGainProcessor>(id, position, &log);
            }
            if (kind == "offset")
            {
                return std::make_unique<TestOffsetProcessor>(id, position, &log);
            }
            return nullptr;
        };
    }

    ProcessorChain Build(std::vector<ChainEntry> entries)
    {
        MasteringSettings settings;
        settings.addons = std::move(entries);
        return BuildProcessorChain(settings, Factory());
    }

    static std::vector<std::string> Names(const ProcessorBucket& bucket)
    {
        std::vector<std::string> names;
        for (const auto& processor : bucket)
        {
            names.push_back(static_cast<const LoggingTestProcessor&>(*processor).Name());
        }
        return names;
    }

    static double Parameter(const IAudioProcessor& processor, const std::string& id)
    {
        double value = -1.0;
        EXPECT_TRUE(processor.getParameter(id, value)) << "parameter " << id << " not found";
        return value;
    }

    ProcessorLog log;
};

AudioBuffer Frames(std::vector<double> samples)
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    buffer.samples = std::move(samples);
    return buffer;
}

} // namespace

TEST_F(ChainOfTestAddons, SkipsDisabledUnknownAndWrongCaseEntries)
{
    const ProcessorChain chain = Build({
        {"gain@1", true, {}},
        {"gain@1", false, {}},
        {"no_such_addon", true, {}},
        {"GAIN@1", true, {}},
        {"", true, {}},
        {"offset@0", true, {}},
    });

    EXPECT_EQ(Names(chain.buckets[ChainPreMatch]), std::vector<std::string>{"offset@0#1"});
    EXPECT_EQ(Names(chain.buckets[ChainPostMatchTone]), std::vector<std::string>{"gain@1#0"});
    EXPECT_EQ(log.created, 2) << "a disabled entry must create nothing";
}

TEST_F(ChainOfTestAddons, StoredValuesAreClampedByTheAddonAndUnknownOnesDropped)
{
    const ProcessorChain chain = Build({
        {"gain@1", true, {{"gain", 99.0}, {"no_such_parameter", 3.0}, {"invert", 0.5}}},
        {"gain@1", true, {{"gain", -4.0}, {"Gain", 5.0}, {"invert", 0.49}}},
    });

    const ProcessorBucket& tone = chain.buckets[ChainPostMatchTone];
    ASSERT_EQ(tone.size(), 2u);
    EXPECT_EQ(Parameter(*tone[0], "gain"), TestGainProcessor::kMaxGain);
    EXPECT_EQ(Parameter(*tone[0], "invert"), 1.0);
    EXPECT_EQ(Parameter(*tone[1], "gain"), 0.0);
    EXPECT_EQ(Parameter(*tone[1], "invert"), 0.0);
}

TEST_F(ChainOfTestAddons, DuplicateEntriesBecomeIndependentInstancesInChainOrder)
{
    const ProcessorChain chain = Build({
        {"gain@2", true, {{"gain", 2.0}}},
        {"gain@2", true, {{"gain", 3.0}}},
    });

    const ProcessorBucket& dynamics = chain.buckets[ChainPostMatchDynamics];
    ASSERT_EQ(dynamics.size(), 2u);
    EXPECT_NE(dynamics[0].get(), dynamics[1].get());
    EXPECT_EQ(Parameter(*dynamics[0], "gain"), 2.0);
    EXPECT_EQ(Parameter(*dynamics[1], "gain"), 3.0);
}

TEST_F(ChainOfTestAddons, BucketsKeepChainOrderAndRunInIt)
{
    ProcessorChain chain = Build({
        {"gain@4", true, {}},
        {"offset@0", true, {}},
        {"gain@3", true, {}},
        {"offset@1", true, {}},
        {"gain@0", true, {}},
        {"gain@2", true, {}},
        {"gain@1", true, {}},
        {"offset@4", true, {}},
    });

    EXPECT_EQ(Names(chain.buckets[0]), (std::vector<std::string>{"offset@0#1", "gain@0#4"}));
    EXPECT_EQ(Names(chain.buckets[1]), (std::vector<std::string>{"offset@1#3", "gain@1#6"}));
    EXPECT_EQ(Names(chain.buckets[2]), std::vector<std::string>{"gain@2#5"});
    EXPECT_EQ(Names(chain.buckets[3]), std::vector<std::string>{"gain@3#2"});
    EXPECT_EQ(Names(chain.buckets[4]), (std::vector<std::string>{"gain@4#0", "offset@4#7"}));

    AudioBuffer buffer = Frames({0.0, 0.0});
    for (int position = 0; position < kChainPositionCount; ++position)
    {
        RunChainPosition(chain.buckets[position], position, buffer, ProcessContext{});
    }
    EXPECT_EQ(log.events, (std::vector<std::string>{"process offset@0#1", "process gain@0#4",
                                                    "process offset@1#3", "process gain@1#6",
                                                    "process gain@2#5", "process gain@3#2",
                                                    "process gain@4#0", "process offset@4#7"}));
}

TEST_F(ChainOfTestAddons, RunAppliesTheBucketInOrderToTheSameBuffer)
{
    const ProcessorChain chain = Build({
        {"gain@1", true, {{"gain", 2.0}}},
        {"offset@1", true, {{"offset", 0.25}}},
    });

    AudioBuffer buffer = Frames({0.5, -0.5, 0.0, 0.125});
    RunChainPosition(chain.buckets[ChainPostMatchTone], ChainPostMatchTone, buffer,
                     ProcessContext{});
    EXPECT_EQ(buffer.samples, (std::vector<double>{1.25, -0.75, 0.25, 0.5}))
        << "gain then offset, not the other way round";
}

TEST_F(ChainOfTestAddons, PositionsOutsideTheChainAreFiledUnderPreLimiterAndNeverRun)
{
    const ProcessorChain chain = Build({
        {"gain@7", true, {{"gain", 0.0}}},
        {"gain@4", true, {{"gain", 2.0}}},
        {"offset@-1", true, {}},
        {"offset@5", true, {}},
    });

    for (int position = ChainPreMatch; position < ChainPreLimiter; ++position)
    {
        EXPECT_TRUE(chain.buckets[position].empty()) << "bucket " << position;
    }
    EXPECT_EQ(Names(chain.buckets[ChainPreLimiter]),
              (std::vector<std::string>{"gain@7#0", "gain@4#1", "offset@-1#2", "offset@5#3"}));

    AudioBuffer buffer = Frames({0.5, -0.25});
    RunChainPosition(chain.buckets[ChainPreLimiter], ChainPreLimiter, buffer, ProcessContext{});
    EXPECT_EQ(log.events, std::vector<std::string>{"process gain@4#1"});
    EXPECT_EQ(buffer.samples, (std::vector<double>{1.0, -0.5}));
}

TEST_F(ChainOfTestAddons, RunSkipsAnEmptySlot)
{
    ProcessorBucket bucket;
    bucket.push_back(nullptr);
    bucket.push_back(std::make_unique<TestGainProcessor>("gain@1", ChainPostMatchTone, &log));

    AudioBuffer buffer = Frames({0.5, 0.5});
    RunChainPosition(bucket, ChainPostMatchTone, buffer, ProcessContext{});
    EXPECT_EQ(log.events, std::vector<std::string>{"process gain@1#0"});
}

TEST_F(ChainOfTestAddons, AddonsAreDestroyedFromPreLimiterDownInChainOrder)
{
    {
        const ProcessorChain chain = Build({
            {"gain@0", true, {}},
            {"gain@4", true, {}},
            {"gain@1", true, {}},
            {"offset@0", true, {}},
            {"gain@7", true, {}},
        });
        EXPECT_TRUE(log.events.empty()) << "nothing may be destroyed while the chain lives";
    }
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"destroy gain@4#1", "destroy gain@7#4", "destroy gain@1#2",
                                        "destroy gain@0#0", "destroy offset@0#3"}));
}

TEST_F(ChainOfTestAddons, MovingHandsOverTheAddonsAndAssignmentEndsTheOldOnes)
{
    ProcessorChain first = Build({{"gain@1", true, {}}, {"gain@3", true, {}}});
    ProcessorChain moved(std::move(first));
    EXPECT_EQ(moved.buckets[ChainPostMatchTone].size(), 1u);
    EXPECT_TRUE(log.events.empty());

    moved = Build({{"offset@0", true, {}}});
    EXPECT_EQ(log.events, (std::vector<std::string>{"destroy gain@3#1", "destroy gain@1#0"}));
    EXPECT_EQ(Names(moved.buckets[ChainPreMatch]), std::vector<std::string>{"offset@0#2"});
}
