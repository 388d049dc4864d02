#include "engine/audio_buffer.h"
#include "engine/engine_request.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

TEST(EngineRequest, ProgressFractionIsClampedToTheUnitRange)
{
    struct Case
    {
        double reported;
        double expected;
    };
    const Case cases[] = {{-0.3, 0.0}, {1.7, 1.0}, {0.42, 0.42},     {0.0, 0.0},
                          {1.0, 1.0},  {NAN, 0.0}, {-INFINITY, 0.0}, {INFINITY, 1.0}};
    for (const Case& c : cases)
    {
        EngineRequest request;
        double seen = -1.0;
        std::string text;
        request.progress = [&](double fraction, const char* stage)
        {
            seen = fraction;
            text = stage;
        };
        request.ReportProgress(c.reported, "Dynamics");
        EXPECT_EQ(seen, c.expected) << "reported " << c.reported;
        EXPECT_EQ(text, "Dynamics");
    }
}

TEST(EngineRequest, CancelStopsBeforeAnyProgressIsReported)
{
    EngineRequest request;
    int progressCalls = 0;
    request.progress = [&](double, const char*) { ++progressCalls; };
    request.cancel = [] { return true; };
    try
    {
        request.ReportProgress(0.0, "Preparing");
        FAIL() << "a cancelled run must throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Processing cancelled");
    }
    EXPECT_EQ(progressCalls, 0);
}

TEST(EngineRequest, EmptyCallablesReportNothingAndNeverThrow)
{
    const EngineRequest request;
    EXPECT_NO_THROW(request.ReportProgress(0.5, "Preparing"));
}

TEST(EngineRequest, ExceptionFromACallablePassesThrough)
{
    EngineRequest request;
    request.progress = [](double, const char*) { throw std::logic_error("window gone"); };
    EXPECT_THROW(request.ReportProgress(0.5, "Preparing"), std::logic_error);
}

TEST(EngineRequest, CopyOwnsItsCallablesAfterTheOriginalIsGone)
{
    auto calls = std::make_shared<int>(0);
    auto original = std::make_unique<EngineRequest>();
    original->settings.fftSize = 2048;
    original->previewScope = PreviewStage3;
    original->logDetail = 1;
    original->progress = [calls](double, const char*) { ++*calls; };
    original->cancel = [calls] { return *calls > 1; };

    const EngineRequest copy = *original;
    original.reset();

    EXPECT_EQ(copy.settings.fftSize, 2048);
    EXPECT_EQ(copy.previewScope, PreviewStage3);
    EXPECT_EQ(copy.logDetail, 1);
    copy.ReportProgress(0.1, "Preparing");
    copy.ReportProgress(0.2, "Preparing");
    EXPECT_EQ(*calls, 2);
    EXPECT_THROW(copy.ReportProgress(0.3, "Preparing"), std::runtime_error);
}

TEST(EngineRequest, DefaultsAreAFullPreviewWithFactorySettings)
{
    const EngineRequest request;
    EXPECT_EQ(request.previewScope, 12);
    EXPECT_EQ(request.logDetail, 0);
    EXPECT_EQ(request.settings.internalSampleRate, 48000);
}

TEST(PreviewScope, NamesFollowTheChainAndUnknownValuesSaySo)
{
    EXPECT_STREQ(PreviewScopeName(PreviewClean), "Clean");
    EXPECT_STREQ(PreviewScopeName(PreviewStage4), "stage4");
    EXPECT_STREQ(PreviewScopeName(PreviewPreLimiter), "PRELIMITER");
    EXPECT_STREQ(PreviewScopeName(PreviewStage2PostFft), "stage2PostFft");
    EXPECT_STREQ(PreviewScopeName(PreviewFromStart), "FromStart");
    EXPECT_STREQ(PreviewScopeName(13), "Unknown");
    EXPECT_STREQ(PreviewScopeName(-1), "Unknown");
}

TEST(AudioBuffer, SelfAssignmentKeepsEverything)
{
    AudioBuffer buffer;
    buffer.sampleRate = 44100;
    buffer.samples = {0.25, -0.25};
    buffer.meterSeries.push_back({"stage4.gain_reduction_db", 100.0, {1.0f, 2.0f}});
    buffer.stageMetrics.push_back({"stage1.match_delta_db", 0.5});

    AudioBuffer& alias = buffer;
    buffer = alias;

    EXPECT_EQ(buffer.sampleRate, 44100);
    EXPECT_EQ(buffer.samples, (std::vector<double>{0.25, -0.25}));
    ASSERT_EQ(buffer.meterSeries.size(), 1u);
    EXPECT_EQ(buffer.meterSeries[0].values.size(), 2u);
    ASSERT_EQ(buffer.stageMetrics.size(), 1u);
    EXPECT_EQ(buffer.FrameCount(), 1u) << "one frame is two interleaved values";
}

TEST(AudioBuffer, MoveTakesTheListsAndLeavesTheSourceEmpty)
{
    AudioBuffer source;
    source.sampleRate = 48000;
    source.samples.assign(8, 0.5);
    source.stageMetrics.push_back({"stage2.adaptive_confidence", 0.9});

    const AudioBuffer moved = std::move(source);

    EXPECT_EQ(moved.samples.size(), 8u);
    EXPECT_EQ(moved.stageMetrics.size(), 1u);
    EXPECT_TRUE(source.samples.empty()); // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(source.stageMetrics.empty());
}
