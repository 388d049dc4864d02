#include "engine/dsp/fft.h"

#include <gtest/gtest.h>

#include <barrier>
#include <cmath>
#include <complex>
#include <random>
#include <thread>
#include <vector>

namespace
{

using Signal = std::vector<std::complex<double>>;

const double kPi = std::acos(-1.0);

Signal Noise(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    Signal signal(n);
    for (auto& value : signal)
    {
        value = {uniform(random), uniform(random)};
    }
    return signal;
}

// The definition summed in long double, forward or inverse (with the 1/n),
// its factors from one table of the n roots.
Signal DirectDft(const Signal& x, bool inverse)
{
    const std::size_t n = x.size();
    const long double sign = inverse ? 1.0L : -1.0L;
    std::vector<std::complex<long double>> roots(n);
    for (std::size_t j = 0; j < n; ++j)
    {
        const long double angle =
            sign * 2.0L * acosl(-1.0L) * static_cast<long double>(j) / static_cast<long double>(n);
        roots[j] = {cosl(angle), sinl(angle)};
    }
    Signal result(n);
    for (std::size_t k = 0; k < n; ++k)
    {
        std::complex<long double> sum = 0;
        for (std::size_t t = 0; t < n; ++t)
        {
            sum += std::complex<long double>(x[t].real(), x[t].imag()) * roots[(k * t) % n];
        }
        if (inverse)
        {
            sum /= static_cast<long double>(n);
        }
        result[k] = {static_cast<double>(sum.real()), static_cast<double>(sum.imag())};
    }
    return result;
}

double MaxDifference(const Signal& a, const Signal& b)
{
    double worst = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    return worst;
}

TEST(Fft, TwoPointsGiveSumAndDifference)
{
    Signal data = {{3.0, 1.0}, {1.0, -2.0}};
    Fft(data, false);
    EXPECT_EQ(data[0], std::complex<double>(4.0, -1.0));
    EXPECT_EQ(data[1], std::complex<double>(2.0, 3.0));
    Fft(data, true);
    EXPECT_EQ(data[0], std::complex<double>(3.0, 1.0));
    EXPECT_EQ(data[1], std::complex<double>(1.0, -2.0));
}

TEST(Fft, ImpulseAndFlatSpectrumAreEachOthersTransform)
{
    Signal data(256);
    data[0] = 1.0;
    Fft(data, false);
    EXPECT_LT(MaxDifference(data, Signal(256, 1.0)), 1e-15) << "impulse is not flat";
    Fft(data, true);
    Signal impulse(256);
    impulse[0] = 1.0;
    EXPECT_LT(MaxDifference(data, impulse), 1e-15) << "flat spectrum is not an impulse";
}

// Odd and even stage counts and the shortest blocks take different paths.
TEST(Fft, MatchesTheDefinitionForSmallSizes)
{
    for (std::size_t n : {2u, 4u, 8u, 16u, 32u, 64u, 128u, 512u})
    {
        const Signal x = Noise(n, static_cast<unsigned>(n));
        Signal forward = x;
        Fft(forward, false);
        EXPECT_LT(MaxDifference(forward, DirectDft(x, false)), 1e-12 * static_cast<double>(n))
            << "size " << n;
    }
}

TEST(Fft, InverseUndoesForwardForEveryPowerOfTwo)
{
    for (std::size_t n = 2; n <= (1u << 16); n *= 2)
    {
        const Signal x = Noise(n, 11);
        Signal data = x;
        Fft(data, false);
        Fft(data, true);
        EXPECT_LT(MaxDifference(data, x), 1e-14 * std::log2(static_cast<double>(n)))
            << "size " << n;
    }
}

TEST(Fft, KeepsEnergyAsParsevalSays)
{
    const Signal x = Noise(4096, 3);
    Signal spectrum = x;
    Fft(spectrum, false);
    double timeEnergy = 0.0;
    double spectrumEnergy = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        timeEnergy += std::norm(x[i]);
        spectrumEnergy += std::norm(spectrum[i]);
    }
    EXPECT_NEAR(spectrumEnergy / 4096.0, timeEnergy, 1e-9 * timeEnergy);
}

TEST(Fft, ToneLandsInItsBin)
{
    constexpr std::size_t n = 1024;
    constexpr std::size_t bin = 37;
    Signal complexTone(n);
    Signal cosine(n);
    for (std::size_t t = 0; t < n; ++t)
    {
        const double phase = 2.0 * kPi * static_cast<double>(bin * t) / n;
        complexTone[t] = {std::cos(phase), std::sin(phase)};
        cosine[t] = std::cos(phase);
    }
    Fft(complexTone, false);
    Fft(cosine, false);
    for (std::size_t k = 0; k < n; ++k)
    {
        const double expectedTone = k == bin ? double(n) : 0.0;
        const double expectedCosine = (k == bin || k == n - bin) ? n / 2.0 : 0.0;
        EXPECT_NEAR(std::abs(complexTone[k]), expectedTone, 1e-9) << "bin " << k;
        EXPECT_NEAR(std::abs(cosine[k]), expectedCosine, 1e-9) << "bin " << k;
    }
    EXPECT_NEAR(complexTone[bin].real(), double(n), 1e-9) << "a zero-phase tone has a real peak";
}

TEST(Fft, UnusableSizesAreLeftAloneAndBuildNoPlan)
{
    const std::size_t builtBefore = FftPlanBuildCount();
    for (std::size_t n : {0u, 1u, 3u, 6u, 12u, 1000u})
    {
        const Signal x = Noise(n, 5);
        Signal data = x;
        Fft(data, false);
        EXPECT_EQ(data, x) << "size " << n;
        Fft(data, true);
        EXPECT_EQ(data, x) << "size " << n;
    }
    EXPECT_EQ(FftPlanBuildCount(), builtBefore);
}

TEST(Fft, NanStaysInTheSignalWithoutHarm)
{
    Signal data = Noise(64, 9);
    data[5] = {std::nan(""), 0.0};
    Fft(data, false);
    EXPECT_TRUE(std::isnan(data[0].real()));
}

// Every path (the small sizes, odd and even stage counts, one and several
// radix-4 passes) in both directions, against the definition: the error's
// norm within 1e-13 of the exact transform's norm, where a wrong factor or a
// misplaced value anywhere would be off by far more.
TEST(Fft, MatchesTheDefinitionWithinRoundingForEveryPowerOfTwo)
{
    for (std::size_t n = 2; n <= 4096; n *= 2)
    {
        for (const bool inverse : {false, true})
        {
            const Signal input = Noise(n, static_cast<unsigned>(n) + (inverse ? 1u : 0u));
            Signal transformed = input;
            Fft(transformed, inverse);
            const Signal expected = DirectDft(input, inverse);
            double error = 0.0;
            double norm = 0.0;
            for (std::size_t k = 0; k < n; ++k)
            {
                error += std::norm(transformed[k] - expected[k]);
                norm += std::norm(expected[k]);
            }
            EXPECT_LE(std::sqrt(error), 1e-13 * std::sqrt(norm))
                << "size " << n << (inverse ? " inverse" : " forward");
        }
    }
}

TEST(FftPlan, HoldsBitReversalAndOneTwiddleTablePerStage)
{
    const FftPlan plan = BuildFftPlan(8);
    EXPECT_EQ(plan.bitReverse, (std::vector<std::size_t>{0, 4, 2, 6, 1, 5, 3, 7}));
    ASSERT_EQ(plan.forwardTwiddles.size(), 3u);
    ASSERT_EQ(plan.inverseTwiddles.size(), 3u);
    EXPECT_EQ(plan.forwardTwiddles[2].size(), 4u);
    EXPECT_NEAR(plan.forwardTwiddles[2][1].real(), std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(plan.forwardTwiddles[2][1].imag(), -std::sqrt(0.5), 1e-15);
    EXPECT_EQ(plan.inverseTwiddles[2][1], std::conj(plan.forwardTwiddles[2][1]));
    // The split tables hold the same factors, real parts first.
    ASSERT_EQ(plan.forwardSplitTwiddles.size(), 3u);
    EXPECT_EQ(plan.forwardSplitTwiddles[2],
              (std::vector<double>{
                  1.0, plan.forwardTwiddles[2][1].real(), plan.forwardTwiddles[2][2].real(),
                  plan.forwardTwiddles[2][3].real(), plan.forwardTwiddles[2][0].imag(),
                  plan.forwardTwiddles[2][1].imag(), plan.forwardTwiddles[2][2].imag(),
                  plan.forwardTwiddles[2][3].imag()}));
    EXPECT_EQ(plan.inverseSplitTwiddles[2][5], plan.inverseTwiddles[2][1].imag());

    const FftPlan single = BuildFftPlan(1);
    EXPECT_EQ(single.bitReverse, (std::vector<std::size_t>{0}));
    EXPECT_TRUE(single.forwardTwiddles.empty());
}

TEST(FftPlan, ConcurrentFirstRequestsBuildOnePlan)
{
    constexpr std::size_t newSize = std::size_t{1} << 18; // used by no other test
    constexpr int threadCount = 8;
    const std::size_t builtBefore = FftPlanBuildCount();
    std::barrier start(threadCount);
    std::vector<const FftPlan*> seen(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                Signal data(newSize);
                data[0] = 1.0;
                start.arrive_and_wait();
                Fft(data, false);
                seen[t] = &GetFftPlan(newSize);
            });
    }
    for (auto& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(FftPlanBuildCount(), builtBefore + 1);
    for (const FftPlan* plan : seen)
    {
        EXPECT_EQ(plan, seen[0]) << "a plan moved or was built twice";
    }
}

} // namespace
