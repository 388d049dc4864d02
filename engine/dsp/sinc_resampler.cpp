#include "engine/dsp/sinc_resampler.h"
#include "engine/dsp/vector_clones.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <numeric>
#include <stdexcept>

namespace
{

constexpr double kCutoff = 0.9657284; // fraction of the input Nyquist frequency
constexpr double kKaiserBeta = 16.05;

// The filter index is fixed point: 12 fraction bits, 4096 = one table entry.
constexpr int kIndexFractionBits = 12;
constexpr int kIndexOne = 1 << kIndexFractionBits;
constexpr int kIndexFractionMask = kIndexOne - 1;

// Nudges products that are exact in theory (44,100 * 48,000 / 44,100) past the
// rounding that would leave them a hair below a whole frame count.
constexpr double kFrameCountEpsilon = 1e-12;

// Limits of the per-phase coefficient cache: beyond them each frame computes
// its coefficients as it goes, which gives the same result more slowly.
constexpr std::int64_t kMaxCachedTaps = 1 << 14;
constexpr std::int64_t kPhaseCacheBudgetBytes = std::int64_t{32} << 20;

// Output frames converted from one window of the input (an even number, so
// neighbouring pairs stay in one block).
constexpr std::int64_t kOutputBlockFrames = 16384;

// Zeroth-order modified Bessel function of the first kind, by its power series.
double BesselI0(double x)
{
    const double quarterSquare = x * x / 4.0;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 500; ++k)
    {
        term *= quarterSquare / (static_cast<double>(k) * static_cast<double>(k));
        sum += term;
        if (term < sum * 1e-17)
        {
            break;
        }
    }
    return sum;
}

std::vector<float> BuildSincTable()
{
    const double pi = std::acos(-1.0);
    const int last = kSincTableSize - 1;
    const double windowNorm = BesselI0(kKaiserBeta);
    std::vector<float> table(kSincTableSize);
    for (int k = 0; k < last; ++k)
    {
        const double x = kCutoff * k / kSincIndexIncrement;
        const double sinc = k == 0 ? 1.0 : std::sin(pi * x) / (pi * x);
        const double ratio = static_cast<double>(k) / last;
        const double window = BesselI0(kKaiserBeta * std::sqrt(1.0 - ratio * ratio)) / windowNorm;
        table[k] = static_cast<float>(kCutoff * sinc * window);
    }
    table[last] = 0.0f; // the window's end: the kernel fades to nothing
    return table;
}

int RoundHalfAwayFromZero(double value)
{
    return static_cast<int>(value + (value >= 0.0 ? 0.5 : -0.5));
}

// The kernel of one output frame reads input frames base + j for every j whose
// fixed-point table position |start - j*step| lies within the table; start is
// the output frame's offset from its base frame, step the index advance per
// input frame.
struct Kernel
{
    const float* table;
    int maxIndex; // halfLength entries, in fixed point
    int step;

    int FirstOffset(int start) const { return -((maxIndex - start) / step); }
    int LastOffset(int start) const { return (maxIndex + start) / step; }

    // Linear interpolation between neighbouring entries; the difference is
    // taken in float as the table is float, the rest in double.
    double CoefficientAt(int start, int offset) const
    {
        const std::int64_t signedIndex =
            static_cast<std::int64_t>(start) - static_cast<std::int64_t>(offset) * step;
        const int index = static_cast<int>(signedIndex < 0 ? -signedIndex : signedIndex);
        const int entry = index >> kIndexFractionBits;
        const float difference = table[entry + 1] - table[entry];
        const double fraction = static_cast<double>(index & kIndexFractionMask) / kIndexOne;
        return static_cast<double>(table[entry]) + fraction * static_cast<double>(difference);
    }
};

// The arithmetic of the kernel loops is written on four-lane vectors; the
// same lane arithmetic runs in either clone, so the result does not depend on
// which one the processor picks.
typedef double Lanes __attribute__((vector_size(32)));
constexpr int kLaneCount = 4;

inline double LaneSum(const Lanes& lanes)
{
    return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

// Σ coefficient * sample for both channels of one output frame.
BRVL_VECTOR_CLONES void DotStereo(const double* coefficients, const double* left,
                                  const double* right, std::int64_t count, double* sums)
{
    Lanes left0 = {};
    Lanes left1 = {};
    Lanes right0 = {};
    Lanes right1 = {};
    std::int64_t t = 0;
    for (; t + 2 * kLaneCount <= count; t += 2 * kLaneCount)
    {
        Lanes c0, c1, l0, l1, r0, r1;
        __builtin_memcpy(&c0, coefficients + t, sizeof c0);
        __builtin_memcpy(&c1, coefficients + t + kLaneCount, sizeof c1);
        __builtin_memcpy(&l0, left + t, sizeof l0);
        __builtin_memcpy(&l1, left + t + kLaneCount, sizeof l1);
        __builtin_memcpy(&r0, right + t, sizeof r0);
        __builtin_memcpy(&r1, right + t + kLaneCount, sizeof r1);
        left0 += c0 * l0;
        left1 += c1 * l1;
        right0 += c0 * r0;
        right1 += c1 * r1;
    }
    double leftSum = 0.0;
    double rightSum = 0.0;
    for (; t < count; ++t)
    {
        leftSum += coefficients[t] * left[t];
        rightSum += coefficients[t] * right[t];
    }
    sums[0] = LaneSum(left0 + left1) + leftSum;
    sums[1] = LaneSum(right0 + right1) + rightSum;
}

// Two neighbouring output frames over the same stretch of input: each input
// value loaded serves both, which is what makes conversion fast. sums gets
// left and right of the first frame, then of the second.
BRVL_VECTOR_CLONES void DotStereoPair(const double* first, const double* second, const double* left,
                                      const double* right, std::int64_t count, double* sums)
{
    Lanes firstLeft = {};
    Lanes firstRight = {};
    Lanes secondLeft = {};
    Lanes secondRight = {};
    std::int64_t t = 0;
    for (; t + kLaneCount <= count; t += kLaneCount)
    {
        Lanes c0, c1, l, r;
        __builtin_memcpy(&c0, first + t, sizeof c0);
        __builtin_memcpy(&c1, second + t, sizeof c1);
        __builtin_memcpy(&l, left + t, sizeof l);
        __builtin_memcpy(&r, right + t, sizeof r);
        firstLeft += c0 * l;
        firstRight += c0 * r;
        secondLeft += c1 * l;
        secondRight += c1 * r;
    }
    double tail[4] = {};
    for (; t < count; ++t)
    {
        tail[0] += first[t] * left[t];
        tail[1] += first[t] * right[t];
        tail[2] += second[t] * left[t];
        tail[3] += second[t] * right[t];
    }
    sums[0] = LaneSum(firstLeft) + tail[0];
    sums[1] = LaneSum(firstRight) + tail[1];
    sums[2] = LaneSum(secondLeft) + tail[2];
    sums[3] = LaneSum(secondRight) + tail[3];
}

// A stretch of the input as float (the converter's working precision), held as
// double in one array per channel so the kernel reads each channel
// contiguously. Output frames are converted a block at a time from the stretch
// their kernels reach, so no whole-track copy of the input is made.
class InputWindow
{
public:
    explicit InputWindow(const std::vector<double>& interleaved)
        : m_interleaved(interleaved),
          m_totalFrames(static_cast<std::int64_t>(interleaved.size() / 2))
    {
    }

    std::int64_t TotalFrames() const { return m_totalFrames; }

    // Holds input frames [from, to) of the signal (clipped to it) from now on.
    void Load(std::int64_t from, std::int64_t to)
    {
        m_first = std::max<std::int64_t>(0, from);
        const std::int64_t end = std::min(m_totalFrames, to);
        const std::size_t count =
            static_cast<std::size_t>(std::max<std::int64_t>(0, end - m_first));
        m_left.resize(count);
        m_right.resize(count);
        double probe = 0.0; // stays 0 unless a value is infinite or NaN
        for (std::size_t f = 0; f < count; ++f)
        {
            const std::size_t at = 2 * (static_cast<std::size_t>(m_first) + f);
            m_left[f] = static_cast<float>(m_interleaved[at]);
            m_right[f] = static_cast<float>(m_interleaved[at + 1]);
            probe += (m_left[f] - m_left[f]) + (m_right[f] - m_right[f]);
        }
        m_allFinite = probe == 0.0;
    }

    // Pointers to input frame `frame` (which the window must hold).
    const double* Left(std::int64_t frame) const { return m_left.data() + (frame - m_first); }
    const double* Right(std::int64_t frame) const { return m_right.data() + (frame - m_first); }
    bool AllFinite() const { return m_allFinite; }

private:
    const std::vector<double>& m_interleaved;
    std::int64_t m_totalFrames;
    std::int64_t m_first = 0;
    std::vector<double> m_left;
    std::vector<double> m_right;
    bool m_allFinite = true;
};

// Where one output frame reads: input frames base + first .. base + last.
struct FrameKernel
{
    std::int64_t base = 0;
    int start = 0;
    int first = 0;
    int last = 0;
    const double* coefficients = nullptr; // null: computed while summing
};

// Coefficients of the output frames that share one phase (one position between
// input frames), computed the first time that phase is met. Frames i and
// i + outRate / gcd share a phase, so the cache has outRate / gcd slots. Each
// slot is framed by zeros so that a neighbouring frame's coefficients can be
// read against the same stretch of input.
class PhaseCache
{
public:
    static constexpr int kPadding = 8;

    PhaseCache(const Kernel& kernel, std::int64_t phases)
        : m_kernel(kernel),
          m_width(static_cast<std::int64_t>(2) * kernel.maxIndex / kernel.step + 2),
          m_stride(m_width + 2 * kPadding)
    {
        if (m_width <= kMaxCachedTaps &&
            phases * m_stride * static_cast<std::int64_t>(sizeof(double)) <= kPhaseCacheBudgetBytes)
        {
            m_slots.resize(static_cast<std::size_t>(phases));
            m_coefficients.resize(static_cast<std::size_t>(phases * m_stride));
        }
    }

    // Coefficients readable from kPadding before to kPadding past the width.
    std::int64_t Width() const { return m_width; }

    // Fills in the frame's offsets and coefficients (for FirstOffset(start) ..
    // LastOffset(start), zero up to the width) and returns true, or returns
    // false when this phase's slot holds another start: a position computed in
    // double can land a rounding step off its phase.
    bool Find(std::int64_t phase, FrameKernel& frame)
    {
        if (m_slots.empty())
        {
            return false;
        }
        Slot& slot = m_slots[static_cast<std::size_t>(phase)];
        double* coefficients = m_coefficients.data() + phase * m_stride + kPadding;
        if (slot.start == kUnfilled)
        {
            slot.start = frame.start;
            slot.first = m_kernel.FirstOffset(frame.start);
            slot.last = m_kernel.LastOffset(frame.start);
            for (int j = slot.first; j <= slot.last; ++j)
            {
                coefficients[j - slot.first] = m_kernel.CoefficientAt(frame.start, j);
            }
        }
        if (slot.start != frame.start)
        {
            return false;
        }
        frame.first = slot.first;
        frame.last = slot.last;
        frame.coefficients = coefficients;
        return true;
    }

private:
    static constexpr int kUnfilled = -1;
    struct Slot
    {
        int start = kUnfilled;
        int first = 0;
        int last = 0;
    };
    Kernel m_kernel;
    std::int64_t m_width;
    std::int64_t m_stride;
    std::vector<Slot> m_slots;
    std::vector<double> m_coefficients;
};

// One output frame (left, right) before scaling. Input frames outside the
// signal count as silence, as if the signal had zero frames on either side.
void ConvertFrame(const Kernel& kernel, const FrameKernel& frame, const InputWindow& input,
                  double* sums)
{
    const std::int64_t frames = input.TotalFrames();
    const std::int64_t from = std::max<std::int64_t>(frame.first, -frame.base);
    const std::int64_t to = std::min<std::int64_t>(frame.last, frames - 1 - frame.base);
    sums[0] = sums[1] = 0.0;
    if (from > to)
    {
        return;
    }
    const double* left = input.Left(frame.base + from);
    const double* right = input.Right(frame.base + from);
    if (frame.coefficients)
    {
        DotStereo(frame.coefficients + (from - frame.first), left, right, to - from + 1, sums);
        return;
    }
    for (std::int64_t j = from; j <= to; ++j)
    {
        const double coefficient = kernel.CoefficientAt(frame.start, static_cast<int>(j));
        sums[0] += coefficient * left[j - from];
        sums[1] += coefficient * right[j - from];
    }
}

// Both frames at once when their cached coefficients, shifted onto one stretch
// of input inside the signal, stay within the zeros around them. Reading a
// zero coefficient against a value is only harmless when the value is finite.
bool ConvertPair(const FrameKernel& a, const FrameKernel& b, const InputWindow& input,
                 std::int64_t width, double* sums)
{
    if (!a.coefficients || !b.coefficients || !input.AllFinite())
    {
        return false;
    }
    const std::int64_t from = std::min(a.base + a.first, b.base + b.first);
    const std::int64_t to = std::max(a.base + a.last, b.base + b.last);
    const std::int64_t count = to - from + 1;
    const std::int64_t shiftA = from - (a.base + a.first);
    const std::int64_t shiftB = from - (b.base + b.first);
    const auto fits = [&](std::int64_t shift)
    { return shift >= -PhaseCache::kPadding && shift + count <= width + PhaseCache::kPadding; };
    if (from < 0 || to >= input.TotalFrames() || !fits(shiftA) || !fits(shiftB))
    {
        return false;
    }
    DotStereoPair(a.coefficients + shiftA, b.coefficients + shiftB, input.Left(from),
                  input.Right(from), count, sums);
    return true;
}

} // namespace

std::span<const float> SincCoefficients()
{
    static const std::vector<float> table = BuildSincTable();
    return table;
}

SincResampler::SincResampler()
    : m_coefficients(SincCoefficients()), m_halfLength(kSincTableSize - 2),
      m_indexIncrement(kSincIndexIncrement)
{
}

std::vector<double> SincResampler::Process(const std::vector<double>& interleaved, int inRate,
                                           int outRate) const
{
    if (inRate < 1 || outRate < 1)
    {
        throw std::runtime_error("SincResampler sample rates must be > 0");
    }
    if (interleaved.empty())
    {
        return {};
    }
    if (interleaved.size() % 2 != 0)
    {
        throw std::runtime_error("SincResampler input size must be divisible by channels");
    }

    const std::int64_t inFrames = static_cast<std::int64_t>(interleaved.size() / 2);
    const double exactOutFrames =
        std::floor(static_cast<double>(inFrames) * outRate / inRate + kFrameCountEpsilon);
    // More frames than memory can hold is an allocation failure, reported as one
    // before the conversion to an integer could overflow.
    if (!(exactOutFrames < static_cast<double>(std::vector<double>().max_size() / 2)))
    {
        throw std::bad_alloc();
    }
    const std::int64_t outFrames =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(exactOutFrames));

    const double ratio = static_cast<double>(outRate) / inRate;
    const double step = static_cast<double>(inRate) / outRate;
    const double stretch = std::min(ratio, 1.0);
    const double floatIncrement = stretch * m_indexIncrement;
    const int filterStep = RoundHalfAwayFromZero(floatIncrement * kIndexOne);
    if (filterStep < 1)
    {
        // The kernel would not advance between input frames: no filter of this
        // table can serve the ratio.
        throw std::runtime_error("SincResampler sample rate ratio is out of range");
    }
    const double scale = stretch;

    InputWindow input(interleaved);
    const Kernel kernel{m_coefficients.data(), m_halfLength * kIndexOne, filterStep};
    // Output frame i lies (i * inRate mod outRate) / outRate of a frame past its
    // base frame; frames i and i + period share that phase.
    const std::int64_t common = std::gcd(inRate, outRate);
    const std::int64_t period = outRate / common;
    const std::int64_t phaseAdvance = (inRate / common) % period;
    PhaseCache cache(kernel, period);

    std::int64_t phase = 0;
    const auto kernelOf = [&](std::int64_t i)
    {
        const double position = static_cast<double>(i) * step;
        FrameKernel frame;
        frame.base = static_cast<std::int64_t>(std::trunc(position));
        const double fraction = position - static_cast<double>(frame.base);
        frame.start = RoundHalfAwayFromZero(fraction * floatIncrement * kIndexOne);
        if (!cache.Find(phase, frame))
        {
            frame.first = kernel.FirstOffset(frame.start);
            frame.last = kernel.LastOffset(frame.start);
        }
        phase += phaseAdvance;
        if (phase >= period)
        {
            phase -= period;
        }
        return frame;
    };

    std::vector<double> output(static_cast<std::size_t>(2 * outFrames));
    const auto store = [&](std::int64_t i, const double* sums)
    {
        output[2 * i] = static_cast<float>(scale * sums[0]);
        output[2 * i + 1] = static_cast<float>(scale * sums[1]);
    };
    // A frame's kernel reaches from FirstOffset(0) to LastOffset(step) around its base.
    const std::int64_t reachBefore = -kernel.FirstOffset(0);
    const std::int64_t reachAfter = kernel.LastOffset(filterStep);
    const auto baseOf = [&](std::int64_t i)
    { return static_cast<std::int64_t>(std::trunc(static_cast<double>(i) * step)); };
    for (std::int64_t blockStart = 0; blockStart < outFrames; blockStart += kOutputBlockFrames)
    {
        const std::int64_t blockEnd = std::min(outFrames, blockStart + kOutputBlockFrames);
        input.Load(baseOf(blockStart) - reachBefore, baseOf(blockEnd - 1) + reachAfter + 1);
        for (std::int64_t i = blockStart; i < blockEnd; i += 2)
        {
            const FrameKernel a = kernelOf(i);
            double sums[4];
            if (i + 1 < blockEnd)
            {
                const FrameKernel b = kernelOf(i + 1);
                if (ConvertPair(a, b, input, cache.Width(), sums))
                {
                    store(i, sums);
                    store(i + 1, sums + 2);
                    continue;
                }
                ConvertFrame(kernel, b, input, sums + 2);
                store(i + 1, sums + 2);
            }
            ConvertFrame(kernel, a, input, sums);
            store(i, sums);
        }
    }
    return output;
}

AudioBuffer ResampleAudio(const AudioBuffer& buffer, int targetRate)
{
    if (targetRate == buffer.sampleRate)
    {
        return buffer;
    }
    if (buffer.samples.size() < 4)
    {
        throw std::runtime_error("Audio too short for resampling");
    }
    AudioBuffer result;
    result.samples = SincResampler().Process(buffer.samples, buffer.sampleRate, targetRate);
    result.sampleRate = targetRate;
    return result;
}
