#include "controls/graphs/energy_delta_bands.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The geometric centre of band `t` at `rate`: the middle one of its probes.
double BandCentreHz(int rate, std::size_t t)
{
    const EnergyBand band = EnergyBandsFor(rate)[t];
    return std::sqrt(band.lowHz * band.highHz);
}

std::size_t LoudestBand(const EnergyLevels& levels)
{
    return std::size_t(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

// Uniform noise of peak `level`, the same in both channels.
AudioBuffer Noise(int rate, double seconds, double level)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < FramesIn(seconds, rate); ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const double x = level * (2 * double(seed >> 8) / double(1u << 24) - 1);
        audio.samples.push_back(x);
        audio.samples.push_back(x);
    }
    return audio;
}

} // namespace

TEST(EnergyDeltaBands, EdgesRunFromThirtyHertzToSixteenKilohertzOrBelowNyquist)
{
    struct Case
    {
        int rate;
        double topHz;
    };
    const Case cases[] = {{44100, 16000}, {48000, 16000},        {96000, 16000},
                          {36000, 16000}, {22050, 0.92 * 11025}, {8000, 0.92 * 4000}};
    for (const Case& c : cases)
    {
        const auto bands = EnergyBandsFor(c.rate);
        EXPECT_NEAR(bands.front().lowHz, 30, 1e-9) << c.rate;
        EXPECT_NEAR(bands.back().highHz, c.topHz, 1e-6) << c.rate;
        for (std::size_t t = 1; t < kEnergyBands; ++t)
        {
            EXPECT_NEAR(bands[t].lowHz, bands[t - 1].highHz, 1e-6) << c.rate << " band " << t;
            EXPECT_NEAR(bands[t].highHz / bands[t].lowHz, bands[0].highHz / bands[0].lowHz, 1e-9)
                << "log-spaced";
        }
    }
    // Below 65 Hz of rate the edges fall under 30 Hz and cross: nothing is measured.
    for (const EnergyBand& band : EnergyBandsFor(40))
    {
        EXPECT_LE(band.highHz, band.lowHz);
    }
}

TEST(EnergyDeltaBands, TheWindowIsSpreadOverAtMost4096Points)
{
    const AudioBuffer audio = StereoSine(1000, 48000, 1.0, 0.5);
    const ResampledWindow window = EnergyWindow(audio, 0.5, 0.12);
    EXPECT_EQ(window.points.size(), 4096u) << "5760 frames of 0.12 s at 48 kHz";
    EXPECT_NEAR(window.rate, 48000.0 * 4095 / 5759, 1e-6);
    EXPECT_EQ(EnergyWindow(audio, 0.5, 0.004).points.size(), 256u) << "192 frames";
    EXPECT_EQ(EnergyWindow(StereoSine(1000, 8000, 1.0, 0.5), 0.5, 0.12).points.size(), 960u);
}

TEST(EnergyDeltaBands, ASineShowsInTheBandThatHoldsIt)
{
    // The sine sits on a band's middle probe; the band's level is the mean of
    // seven probes, so a full-scale sine reads 20 log10(1 / 7) there. The
    // points follow each other at their own rate, not the buffer's: probed at
    // the buffer's rate the sine would land two bands higher.
    for (const int rate : {22050, 44100, 48000, 96000})
    {
        for (const std::size_t band : {std::size_t(4), std::size_t(10), std::size_t(15)})
        {
            const AudioBuffer sine = StereoSine(BandCentreHz(rate, band), rate, 1.0, 1.0);
            const EnergyLevels levels = EnergyBandLevels(sine, 0.5, 0.12);
            EXPECT_EQ(LoudestBand(levels), band) << rate << " Hz";
            if (band == 4)
            {
                continue; // low bands' probes lie closer than the window's main lobe
            }
            EXPECT_NEAR(levels[band], 20 * std::log10(1.0 / 7), 1.0) << rate << " Hz";
            const AudioBuffer quieter = StereoSine(BandCentreHz(rate, band), rate, 1.0, 0.1);
            EXPECT_NEAR(EnergyBandLevels(quieter, 0.5, 0.12)[band], levels[band] - 20, 0.01)
                << "20 dB quieter reads 20 dB lower";
        }
    }
}

TEST(EnergyDeltaBands, BandsThePointsCannotCarryKeepTheFloor)
{
    // A quarter second at 48 kHz leaves the points 16.4 kHz apart, so nothing
    // above 7.8 kHz can be told from its alias.
    const AudioBuffer noise = Noise(48000, 1.0, 0.5);
    const ResampledWindow window = EnergyWindow(noise, 0.5, 0.25);
    const EnergyLevels levels = EnergyBandLevels(noise, 0.5, 0.25);
    const auto bands = EnergyBandsFor(48000);
    for (std::size_t t = 0; t < kEnergyBands; ++t)
    {
        if (bands[t].lowHz >= window.HighestProbeHz())
        {
            EXPECT_EQ(levels[t], kEnergyFloorDb) << "band " << t;
        }
        else
        {
            EXPECT_GT(levels[t], -50) << "band " << t;
        }
    }
    EXPECT_EQ(levels.back(), kEnergyFloorDb);

    // At a rate this low no band lies above 20 Hz and below the Nyquist frequency.
    for (const double level : EnergyBandLevels(Noise(40, 2.0, 0.5), 1.0, 0.12))
    {
        EXPECT_EQ(level, kEnergyFloorDb);
    }
}

TEST(EnergyDeltaBands, DeltaComparesTheCopiesAndHoldsTenDecibels)
{
    const double hz = BandCentreHz(48000, 10);
    const AudioBuffer source = StereoSine(hz, 48000, 1.0, 0.1);

    const EnergyBars same = EnergyBarsOf(source, source, 0.5, 0.12);
    EXPECT_TRUE(same.delta);
    EXPECT_EQ(same.scaleDb, 0.0);
    for (const double value : same.values)
    {
        EXPECT_EQ(value, 0.0) << "identical buffers draw no bars";
    }

    const AudioBuffer louder = StereoSine(hz, 48000, 1.0, 0.1 * std::pow(10.0, 15.0 / 20));
    const EnergyBars raised = EnergyBarsOf(source, louder, 0.5, 0.12);
    EXPECT_EQ(raised.values[10], 10.0) << "15 dB is held at 10";
    EXPECT_EQ(raised.scaleDb, 10.0);
    const EnergyBars lowered = EnergyBarsOf(louder, source, 0.5, 0.12);
    EXPECT_EQ(lowered.values[10], -10.0);

    const AudioBuffer quieter = StereoSine(hz, 48000, 1.0, 0.1 * std::pow(10.0, -4.0 / 20));
    EXPECT_NEAR(EnergyBarsOf(source, quieter, 0.5, 0.12).values[10], -4.0, 0.1);

    const EnergyBars profile = EnergyBarsOf(source, AudioBuffer{}, 0.5, 0.12);
    EXPECT_FALSE(profile.delta);
    EXPECT_EQ(profile.values, EnergyBandLevels(source, 0.5, 0.12));
    EXPECT_EQ(profile.scaleDb, 60.0) << "the quietest band's size";
}

TEST(EnergyDeltaBands, OddBuffersReadTheFloorOrFiniteLevels)
{
    struct Case
    {
        const char* name;
        AudioBuffer audio;
    };
    AudioBuffer oneSample;
    oneSample.sampleRate = 48000;
    oneSample.samples = {0.5};
    AudioBuffer noRate = StereoSine(1000, 48000, 0.5, 0.5);
    noRate.sampleRate = 0;
    AudioBuffer negativeRate = noRate;
    negativeRate.sampleRate = -48000;
    AudioBuffer nonFinite = StereoSine(1000, 48000, 1.0, 0.5);
    for (std::size_t i = 0; i < nonFinite.samples.size(); i += 3)
    {
        nonFinite.samples[i] = i % 2 == 0 ? kNaN : kInf;
    }
    AudioBuffer oneFrame;
    oneFrame.sampleRate = 48000;
    oneFrame.samples = {0.5, 0.5};
    const Case floorCases[] = {{"empty", AudioBuffer{}},
                               {"one sample", oneSample},
                               {"rate 0", noRate},
                               {"negative rate", negativeRate}};
    for (const Case& c : floorCases)
    {
        for (const double level : EnergyBandLevels(c.audio, 0.5, 0.12))
        {
            EXPECT_EQ(level, kEnergyFloorDb) << c.name;
        }
    }
    const Case finiteCases[] = {{"NaN and inf samples", nonFinite}, {"one frame", oneFrame}};
    for (const Case& c : finiteCases)
    {
        for (const double cursor : {-1.0, 0.5, 1e9, kNaN})
        {
            for (const double level : EnergyBandLevels(c.audio, cursor, 0.12))
            {
                EXPECT_TRUE(level >= kEnergyFloorDb && level <= kEnergyCeilingDb)
                    << c.name << " at " << cursor;
            }
        }
    }

    // A processed copy shorter than the source is read at its own end.
    const EnergyBars shorter = EnergyBarsOf(StereoSine(1000, 48000, 2.0, 0.5),
                                            StereoSine(1000, 48000, 0.5, 0.5), 1.5, 0.12);
    for (const double value : shorter.values)
    {
        EXPECT_TRUE(std::isfinite(value) && std::fabs(value) <= 10);
    }
}
