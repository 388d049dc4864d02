#include "engine/dsp/oversampler.h"
#include "engine/dsp/vector_clones.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace
{

constexpr double kMinCutoffRatio = 1e-6;
constexpr double kSincZeroBand = 1e-12; // |x| below this counts as the sinc's centre
constexpr double kMinTapSum = 1e-18;

// Interior outputs of a decimation are computed for this many frames at a time
// from a small polyphase copy of the input, so no whole-track copy is made.
constexpr std::int64_t kDecimationChunkFrames = 2048;
// Interpolation produces its output a chunk of this many input frames at a time.
constexpr std::int64_t kInterpolationChunkFrames = 1024;

// Index j mirrored about the half sample at both ends of [0, n), as often as
// needed: the mirrored signal repeats with period 2n.
std::int64_t Reflect(std::int64_t j, std::int64_t n)
{
    const std::int64_t period = 2 * n;
    std::int64_t m = j % period;
    if (m < 0)
    {
        m += period;
    }
    return m < n ? m : period - 1 - m;
}

std::int64_t FloorDivide(std::int64_t a, std::int64_t b)
{
    const std::int64_t quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

// The signals here are frames of one or two values (mono, or interleaved
// stereo filtered as two channels at once).
struct Frames
{
    const double* data;
    std::int64_t count;
    int channels;
};

typedef double Lanes __attribute__((vector_size(64)));
constexpr std::int64_t kLaneCount = 8;

// For every value v < values: Σ over m of coefficients[m] * sources[m][v],
// summed in order of m from zero exactly as a plain loop over the taps would,
// so the fast path gives the very numbers of the direct one. Value v belongs
// to frame v / channels and is stored at out[frame * outFrameStride + v % channels].
BRVL_WIDE_VECTOR_CLONES void CorrelateBlock(const double* coefficients,
                                            const double* const* sources, std::int64_t terms,
                                            std::int64_t values, int channels,
                                            std::int64_t outFrameStride, double* out)
{
    const int shift = channels == 2 ? 1 : 0;
    const std::int64_t mask = channels - 1;
    const auto store = [&](std::int64_t v, double value)
    { out[(v >> shift) * outFrameStride + (v & mask)] = value; };

    std::int64_t v = 0;
    for (; v + 4 * kLaneCount <= values; v += 4 * kLaneCount)
    {
        Lanes a0 = {};
        Lanes a1 = {};
        Lanes a2 = {};
        Lanes a3 = {};
        for (std::int64_t m = 0; m < terms; ++m)
        {
            const double* s = sources[m] + v;
            const double c = coefficients[m];
            const Lanes broadcast = {c, c, c, c, c, c, c, c};
            Lanes s0, s1, s2, s3;
            __builtin_memcpy(&s0, s, sizeof s0);
            __builtin_memcpy(&s1, s + kLaneCount, sizeof s1);
            __builtin_memcpy(&s2, s + 2 * kLaneCount, sizeof s2);
            __builtin_memcpy(&s3, s + 3 * kLaneCount, sizeof s3);
            a0 += broadcast * s0;
            a1 += broadcast * s1;
            a2 += broadcast * s2;
            a3 += broadcast * s3;
        }
        if (channels == 2)
        {
            // A frame's two values sit side by side: store them as a pair.
            const auto storePair = [&](std::int64_t first, const double* pair)
            { __builtin_memcpy(out + (first >> 1) * outFrameStride, pair, 2 * sizeof(double)); };
            for (std::int64_t l = 0; l < kLaneCount; l += 2)
            {
                storePair(v + l, &a0[l]);
                storePair(v + kLaneCount + l, &a1[l]);
                storePair(v + 2 * kLaneCount + l, &a2[l]);
                storePair(v + 3 * kLaneCount + l, &a3[l]);
            }
            continue;
        }
        for (std::int64_t l = 0; l < kLaneCount; ++l)
        {
            store(v + l, a0[l]);
            store(v + kLaneCount + l, a1[l]);
            store(v + 2 * kLaneCount + l, a2[l]);
            store(v + 3 * kLaneCount + l, a3[l]);
        }
    }
    for (; v < values; ++v)
    {
        double acc = 0.0;
        for (std::int64_t m = 0; m < terms; ++m)
        {
            acc += coefficients[m] * sources[m][v];
        }
        store(v, acc);
    }
}

// Every phase at once of a zero-stuffed interpolation, for `values` values of
// frames of `channels` values: phase p of value v is the sum over t of
// table[t * Factor + p] * source[v + t * channels], for t from 0 (phase 0) or
// 1 (the others) to lastTerm, summed in order of t from zero as the plain loop
// over the taps does. Each term loads its source values once for all phases.
// Value v belongs to frame v / channels; phase p of it is stored at
// out[(frame * Factor + p) * channels + v % channels].
template <int Factor>
inline __attribute__((always_inline)) void
InterpolatePhases(const double* table, std::int64_t lastTerm, const double* source,
                  std::int64_t values, int channels, double* out)
{
    const int shift = channels == 2 ? 1 : 0;
    const std::int64_t mask = channels - 1;
    const auto at = [&](std::int64_t v, int p)
    { return out + (((v >> shift) * Factor + p) << shift) + (v & mask); };
    std::int64_t v = 0;
    for (; v + kLaneCount <= values; v += kLaneCount)
    {
        Lanes sums[Factor] = {};
        Lanes s;
        __builtin_memcpy(&s, source + v, sizeof s);
        const double c0 = table[0];
        sums[0] += Lanes{c0, c0, c0, c0, c0, c0, c0, c0} * s;
        for (std::int64_t t = 1; t <= lastTerm; ++t)
        {
            __builtin_memcpy(&s, source + v + t * channels, sizeof s);
            const double* row = table + t * Factor;
            for (int p = 0; p < Factor; ++p)
            {
                const double c = row[p];
                sums[p] += Lanes{c, c, c, c, c, c, c, c} * s;
            }
        }
        for (std::int64_t l = 0; l < kLaneCount; ++l)
        {
            for (int p = 0; p < Factor; ++p)
            {
                *at(v + l, p) = sums[p][l];
            }
        }
    }
    for (; v < values; ++v)
    {
        for (int p = 0; p < Factor; ++p)
        {
            double sum = 0.0;
            for (std::int64_t t = p == 0 ? 0 : 1; t <= lastTerm; ++t)
            {
                sum += table[t * Factor + p] * source[v + t * channels];
            }
            *at(v, p) = sum;
        }
    }
}

BRVL_WIDE_VECTOR_CLONES void InterpolatePhases2(const double* table, std::int64_t lastTerm,
                                                const double* source, std::int64_t values,
                                                int channels, double* out)
{
    InterpolatePhases<2>(table, lastTerm, source, values, channels, out);
}

BRVL_WIDE_VECTOR_CLONES void InterpolatePhases4(const double* table, std::int64_t lastTerm,
                                                const double* source, std::int64_t values,
                                                int channels, double* out)
{
    InterpolatePhases<4>(table, lastTerm, source, values, channels, out);
}

BRVL_WIDE_VECTOR_CLONES void InterpolatePhases8(const double* table, std::int64_t lastTerm,
                                                const double* source, std::int64_t values,
                                                int channels, double* out)
{
    InterpolatePhases<8>(table, lastTerm, source, values, channels, out);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define BRVL_FUSED_KERNELS 1
#define BRVL_FUSED_TARGET __attribute__((target("avx512f,fma")))

// InterpolatePhases with each product added in one rounding (fused
// multiply-add), the terms in the same order: every value lies within rounding
// of the plain sum, which is closer to the exact one. Two vectors of values per
// phase, so the sums' latency stays hidden behind the other phases' work. The
// values past the last whole block are fused one at a time, so a value comes
// out the same wherever a range puts it.
template <int Factor>
BRVL_FUSED_TARGET void InterpolatePhasesFused(const double* table, std::int64_t lastTerm,
                                              const double* source, std::int64_t values,
                                              int channels, double* out)
{
    constexpr std::int64_t kBlock = 16;
    const int shift = channels == 2 ? 1 : 0;
    const std::int64_t mask = channels - 1;
    std::int64_t v = 0;
    for (; v + kBlock <= values; v += kBlock)
    {
        __m512d low[Factor];
        __m512d high[Factor];
        for (int p = 0; p < Factor; ++p)
        {
            low[p] = _mm512_setzero_pd();
            high[p] = _mm512_setzero_pd();
        }
        {
            const __m512d c = _mm512_set1_pd(table[0]);
            low[0] = _mm512_fmadd_pd(c, _mm512_loadu_pd(source + v), low[0]);
            high[0] = _mm512_fmadd_pd(c, _mm512_loadu_pd(source + v + 8), high[0]);
        }
        for (std::int64_t t = 1; t <= lastTerm; ++t)
        {
            const __m512d s0 = _mm512_loadu_pd(source + v + t * channels);
            const __m512d s1 = _mm512_loadu_pd(source + v + 8 + t * channels);
            const double* row = table + t * Factor;
            for (int p = 0; p < Factor; ++p)
            {
                const __m512d c = _mm512_set1_pd(row[p]);
                low[p] = _mm512_fmadd_pd(c, s0, low[p]);
                high[p] = _mm512_fmadd_pd(c, s1, high[p]);
            }
        }
        for (int p = 0; p < Factor; ++p)
        {
            alignas(64) double lanes[kBlock];
            _mm512_store_pd(lanes, low[p]);
            _mm512_store_pd(lanes + 8, high[p]);
            for (std::int64_t l = 0; l < kBlock; ++l)
            {
                const std::int64_t value = v + l;
                out[(((value >> shift) * Factor + p) << shift) + (value & mask)] = lanes[l];
            }
        }
    }
    for (; v < values; ++v)
    {
        for (int p = 0; p < Factor; ++p)
        {
            double sum = 0.0;
            for (std::int64_t t = p == 0 ? 0 : 1; t <= lastTerm; ++t)
            {
                sum = __builtin_fma(table[t * Factor + p], source[v + t * channels], sum);
            }
            out[(((v >> shift) * Factor + p) << shift) + (v & mask)] = sum;
        }
    }
}

bool ProcessorHasFusedKernels()
{
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    return has;
}
#endif

std::atomic<bool> g_fusedArithmetic{true};

using InterpolateKernel = void (*)(const double*, std::int64_t, const double*, std::int64_t, int,
                                   double*);

// The all-phase kernel for the factors the limiters and meters use; null for
// the others, which take one phase at a time.
InterpolateKernel InterpolateKernelFor(int factor)
{
#ifdef BRVL_FUSED_KERNELS
    if (g_fusedArithmetic.load(std::memory_order_relaxed) && ProcessorHasFusedKernels())
    {
        switch (factor)
        {
        case 2:
            return InterpolatePhasesFused<2>;
        case 4:
            return InterpolatePhasesFused<4>;
        case 8:
            return InterpolatePhasesFused<8>;
        default:
            return nullptr;
        }
    }
#endif
    switch (factor)
    {
    case 2:
        return InterpolatePhases2;
    case 4:
        return InterpolatePhases4;
    case 8:
        return InterpolatePhases8;
    default:
        return nullptr;
    }
}

// Runs direct(i) for every output of [0, count) outside [interiorBegin,
// interiorEnd) and returns that interior clamped to the outputs (possibly
// empty): the ends take the mirrored signal, the interior the fast path.
template <typename Direct>
std::pair<std::int64_t, std::int64_t> ComputeEnds(std::int64_t count, std::int64_t interiorBegin,
                                                  std::int64_t interiorEnd, Direct direct)
{
    const std::int64_t begin = std::clamp<std::int64_t>(interiorBegin, 0, count);
    const std::int64_t end = std::clamp<std::int64_t>(interiorEnd, begin, count);
    for (std::int64_t i = 0; i < begin; ++i)
    {
        direct(i);
    }
    for (std::int64_t i = end; i < count; ++i)
    {
        direct(i);
    }
    return {begin, end};
}

// y = x filtered with the centred taps h, mirrored at the ends.
void FilterFrames(const Frames& x, const std::vector<double>& h, double* y)
{
    const std::int64_t n = x.count;
    const std::int64_t taps = static_cast<std::int64_t>(h.size());
    const std::int64_t half = taps / 2;
    const int channels = x.channels;
    const auto direct = [&](std::int64_t i)
    {
        for (int c = 0; c < channels; ++c)
        {
            double acc = 0.0;
            for (std::int64_t k = 0; k < taps; ++k)
            {
                acc += h[k] * x.data[Reflect(i - half + k, n) * channels + c];
            }
            y[i * channels + c] = acc;
        }
    };
    // Outputs whose taps all fall inside the signal need no mirroring.
    const auto [interiorBegin, interiorEnd] = ComputeEnds(n, half, n - half, direct);
    if (interiorEnd > interiorBegin)
    {
        std::vector<const double*> sources(static_cast<std::size_t>(taps));
        for (std::int64_t k = 0; k < taps; ++k)
        {
            sources[k] = x.data + (interiorBegin - half + k) * channels;
        }
        CorrelateBlock(h.data(), sources.data(), taps, (interiorEnd - interiorBegin) * channels,
                       channels, channels, y + interiorBegin * channels);
    }
}

// The oversampled frames factor * qFrom .. factor * qTo of x zero-stuffed by
// factor and filtered with h, handed to emit(values, count) in order.
// Beyond the ends the input is mirrored at its own rate before the stuffing,
// so the stuffed signal keeps one sample in every factor there too. (Mirroring
// the stuffed signal instead would put two samples side by side at the start
// and none at the end: a constant would come out up to 73% off at the ends,
// and a peak estimate taken from the oversampled signal would be wrong there.)
// Inside, only the taps that meet a stuffed-in sample are summed: output
// q*factor + p takes the taps t*factor - p against input frames q - tapsPerPhase + t.
//
// The ends are computed directly, the interior a chunk at a time through a
// small buffer, so a large output is written once and never zeroed first,
// and a range within the signal reads its neighbours rather than a mirror.
template <typename Emit>
void UpsampleFrames(const Frames& x, int factor, int tapsPerPhase, const std::vector<double>& h,
                    std::int64_t qFrom, std::int64_t qTo, Emit emit)
{
    const std::int64_t n = x.count;
    const std::int64_t total = factor * n;
    const std::int64_t taps = static_cast<std::int64_t>(h.size());
    const std::int64_t half = taps / 2; // factor * tapsPerPhase
    const int channels = x.channels;
    const auto emitDirect = [&](std::int64_t i)
    {
        for (int c = 0; c < channels; ++c)
        {
            double acc = 0.0;
            for (std::int64_t k = 0; k < taps; ++k)
            {
                const std::int64_t j = i - half + k; // index into the stuffed signal
                const std::int64_t frame = FloorDivide(j, factor);
                const double stuffed =
                    j == frame * factor ? x.data[Reflect(frame, n) * channels + c] : 0.0;
                acc += h[k] * stuffed;
            }
            emit(&acc, 1);
        }
    };
    const std::int64_t interiorBegin = std::min(half, total);
    const std::int64_t interiorEnd = std::max(interiorBegin, total - half);
    for (std::int64_t i = qFrom * factor; i < std::min(qTo * factor, interiorBegin); ++i)
    {
        emitDirect(i);
    }
    // Interior outputs are q*factor + p for q in [tapsPerPhase, n - tapsPerPhase),
    // a chunk of q at a time with every phase.
    const std::int64_t qBegin = std::max<std::int64_t>(qFrom, tapsPerPhase);
    const std::int64_t qEnd = std::min(qTo, interiorEnd > interiorBegin ? n - tapsPerPhase : 0);
    const std::int64_t termCount = 2 * tapsPerPhase + 1;
    const InterpolateKernel kernel = InterpolateKernelFor(factor);
    // The taps laid out as the kernel reads them: term t, then phase.
    std::vector<double> table;
    if (kernel != nullptr && qEnd > qBegin)
    {
        table.assign(static_cast<std::size_t>(termCount * factor), 0.0);
        for (std::int64_t t = 0; t < termCount; ++t)
        {
            for (int p = 0; p < factor && t * factor - p >= 0; ++p)
            {
                table[t * factor + p] = h[t * factor - p];
            }
        }
    }
    std::vector<double> coefficients(static_cast<std::size_t>(termCount));
    std::vector<const double*> sources(static_cast<std::size_t>(termCount));
    std::vector<double> chunk;
    for (std::int64_t q0 = qBegin; q0 < qEnd; q0 += kInterpolationChunkFrames)
    {
        const std::int64_t q1 = std::min(qEnd, q0 + kInterpolationChunkFrames);
        chunk.resize(static_cast<std::size_t>((q1 - q0) * factor * channels));
        if (kernel != nullptr)
        {
            kernel(table.data(), termCount - 1, x.data + (q0 - tapsPerPhase) * channels,
                   (q1 - q0) * channels, channels, chunk.data());
            emit(chunk.data(), static_cast<std::int64_t>(chunk.size()));
            continue;
        }
        for (int p = 0; p < factor; ++p)
        {
            std::int64_t terms = 0;
            for (std::int64_t t = p == 0 ? 0 : 1; t <= 2 * tapsPerPhase; ++t)
            {
                coefficients[terms] = h[t * factor - p];
                sources[terms] = x.data + (q0 - tapsPerPhase + t) * channels;
                ++terms;
            }
            CorrelateBlock(coefficients.data(), sources.data(), terms, (q1 - q0) * channels,
                           channels, factor * channels, chunk.data() + p * channels);
        }
        emit(chunk.data(), static_cast<std::int64_t>(chunk.size()));
    }
    for (std::int64_t i = std::max(qFrom * factor, interiorEnd); i < qTo * factor; ++i)
    {
        emitDirect(i);
    }
}

// The whole of x upsampled into y (factor * n frames), appended in order.
void UpsampleFrames(const Frames& x, int factor, int tapsPerPhase, const std::vector<double>& h,
                    std::vector<double>& y)
{
    y.clear();
    y.reserve(static_cast<std::size_t>(factor * x.count * x.channels));
    UpsampleFrames(x, factor, tapsPerPhase, h, 0, x.count,
                   [&y](const double* values, std::int64_t count)
                   { y.insert(y.end(), values, values + count); });
}

// Outputs [qFrom, qTo) of x filtered with h at frames 0, factor, 2*factor, ...
// (ceil(n / factor) outputs in all), written to y from its start. Only frames
// [windowFirst, windowFirst + windowCount) of x are at hand at x.data; they
// must hold every frame those outputs read, mirrored ones included.
void DownsampleFrames(const Frames& x, std::int64_t windowFirst, int factor, int tapsPerPhase,
                      const std::vector<double>& h, std::int64_t qFrom, std::int64_t qTo, double* y)
{
    const std::int64_t n = x.count;
    const std::int64_t taps = static_cast<std::int64_t>(h.size());
    const std::int64_t half = taps / 2; // factor * tapsPerPhase
    const int channels = x.channels;
    const auto frameAt = [&](std::int64_t frame)
    { return x.data + (frame - windowFirst) * channels; };
    const auto direct = [&](std::int64_t q)
    {
        for (int c = 0; c < channels; ++c)
        {
            double acc = 0.0;
            for (std::int64_t k = 0; k < taps; ++k)
            {
                acc += h[k] * frameAt(Reflect(q * factor - half + k, n))[c];
            }
            y[(q - qFrom) * channels + c] = acc;
        }
    };
    // Output q is interior when frames q*factor - half .. q*factor + half exist.
    const std::int64_t lastInside = n - 1 - half;
    const std::int64_t interiorEnd = lastInside < 0 ? 0 : lastInside / factor + 1;
    const std::int64_t qBegin = std::clamp<std::int64_t>(tapsPerPhase, qFrom, qTo);
    const std::int64_t qEnd = std::clamp<std::int64_t>(interiorEnd, qBegin, qTo);
    for (std::int64_t q = qFrom; q < qBegin; ++q)
    {
        direct(q);
    }
    for (std::int64_t q = qEnd; q < qTo; ++q)
    {
        direct(q);
    }
    if (qEnd <= qBegin)
    {
        return;
    }

    // Tap k = a*factor + b reads frame (q - tapsPerPhase + a)*factor + b: for
    // consecutive q these are consecutive frames of the b-th polyphase part.
    const std::int64_t partFrames = kDecimationChunkFrames + 2 * tapsPerPhase + 1;
    std::vector<double> parts(static_cast<std::size_t>(factor * partFrames * channels));
    std::vector<const double*> sources(static_cast<std::size_t>(taps));
    for (std::int64_t k = 0; k < taps; ++k)
    {
        const std::int64_t a = k / factor;
        const std::int64_t b = k % factor;
        sources[k] = parts.data() + (b * partFrames + a) * channels;
    }
    for (std::int64_t q0 = qBegin; q0 < qEnd; q0 += kDecimationChunkFrames)
    {
        const std::int64_t q1 = std::min(qEnd, q0 + kDecimationChunkFrames);
        const std::int64_t first = (q0 - tapsPerPhase) * factor;
        for (std::int64_t b = 0; b < factor; ++b)
        {
            // Only the frames the taps of phase b read: a streamed window ends
            // at the last of them, before the track does.
            const std::int64_t count = q1 - q0 + (taps - 1 - b) / factor;
            for (std::int64_t s = 0; s < count; ++s)
            {
                const std::int64_t frame = first + s * factor + b;
                if (frame >= n)
                {
                    break; // past the last tap any output here reads
                }
                for (int c = 0; c < channels; ++c)
                {
                    parts[(b * partFrames + s) * channels + c] = frameAt(frame)[c];
                }
            }
        }
        CorrelateBlock(h.data(), sources.data(), taps, (q1 - q0) * channels, channels, channels,
                       y + (q0 - qFrom) * channels);
    }
}

void ValidateDesign(int factor, int tapsPerPhase, double cutoffRatio)
{
    if (factor < 1)
    {
        throw std::runtime_error("Oversampler factor must be > 0");
    }
    if (tapsPerPhase < 4)
    {
        throw std::runtime_error("Oversampler tapsPerPhase must be >= 4");
    }
    if (!(cutoffRatio > 0.0 && cutoffRatio <= 1.0))
    {
        throw std::runtime_error("Oversampler cutoffRatio must be in (0,1]");
    }
}

void RequireStereo(const AudioBuffer& buffer)
{
    if (buffer.samples.size() % 2 != 0)
    {
        throw std::runtime_error("Oversampler requires interleaved stereo input");
    }
}

} // namespace

std::vector<double> DesignOversamplerLowpass(int factor, int tapsPerPhase, double cutoffRatio)
{
    ValidateDesign(factor, tapsPerPhase, cutoffRatio);
    const double cutoff = std::clamp(cutoffRatio, kMinCutoffRatio, 1.0);
    const std::size_t count = 2 * static_cast<std::size_t>(factor) * tapsPerPhase + 1;
    const double centre = static_cast<double>(factor) * tapsPerPhase;
    const double f = cutoff / factor; // cycles per oversampled sample, doubled
    const double pi = std::acos(-1.0);
    std::vector<double> taps(count);
    double sum = 0.0;
    for (std::size_t l = 0; l < count; ++l)
    {
        const double x = f * (static_cast<double>(l) - centre);
        const double sinc = std::abs(x) < kSincZeroBand ? 1.0 : std::sin(pi * x) / (pi * x);
        const double phase = static_cast<double>(l) / static_cast<double>(count - 1);
        // Blackman window
        const double window =
            0.42 - 0.5 * std::cos(2.0 * pi * phase) + 0.08 * std::cos(4.0 * pi * phase);
        taps[l] = f * sinc * window;
        sum += taps[l];
    }
    if (std::abs(sum) < kMinTapSum)
    {
        throw std::runtime_error("Oversampler lowpass design failed");
    }
    for (double& tap : taps)
    {
        tap /= sum;
    }
    return taps;
}

void SetOversamplerFusedArithmetic(bool fused)
{
    g_fusedArithmetic.store(fused, std::memory_order_relaxed);
}

std::vector<double> FilterSymmetric(const std::vector<double>& signal,
                                    const std::vector<double>& taps)
{
    if (signal.empty() || taps.empty())
    {
        return signal;
    }
    std::vector<double> filtered(signal.size());
    FilterFrames({signal.data(), static_cast<std::int64_t>(signal.size()), 1}, taps,
                 filtered.data());
    return filtered;
}

AudioBuffer InterleaveStereo(const std::vector<double>& left, const std::vector<double>& right,
                             int sampleRate)
{
    if (left.size() != right.size())
    {
        throw std::runtime_error("Oversampler channel size mismatch");
    }
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * left.size());
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        buffer.samples[2 * i] = left[i];
        buffer.samples[2 * i + 1] = right[i];
    }
    return buffer;
}

Oversampler::Oversampler(const OversamplerConfig& config) : m_config(config)
{
    m_downTaps = DesignOversamplerLowpass(config.factor, config.tapsPerPhase, config.cutoffRatio);
    m_upTaps = m_downTaps;
    for (double& tap : m_upTaps)
    {
        tap *= config.factor;
    }
}

std::vector<double> Oversampler::UpsampleChannel(const std::vector<double>& channel) const
{
    if (m_config.factor == 1 || channel.empty())
    {
        return channel;
    }
    if (channel.size() > channel.max_size() / static_cast<std::size_t>(m_config.factor))
    {
        throw std::bad_alloc();
    }
    std::vector<double> up;
    UpsampleFrames({channel.data(), static_cast<std::int64_t>(channel.size()), 1}, m_config.factor,
                   m_config.tapsPerPhase, m_upTaps, up);
    return up;
}

std::vector<double> Oversampler::DownsampleChannel(const std::vector<double>& channel) const
{
    if (m_config.factor == 1 || channel.empty())
    {
        return channel;
    }
    std::vector<double> down((channel.size() + m_config.factor - 1) / m_config.factor);
    DownsampleFrames({channel.data(), static_cast<std::int64_t>(channel.size()), 1}, 0,
                     m_config.factor, m_config.tapsPerPhase, m_downTaps, 0,
                     static_cast<std::int64_t>(down.size()), down.data());
    return down;
}

// Both channels are filtered straight from and into interleaved buffers, which
// gives what taking them out, converting each and interleaving again gives,
// without the four whole-track copies.
int Oversampler::UpsampledRate(const AudioBuffer& input) const
{
    RequireStereo(input);
    const std::int64_t rate = static_cast<std::int64_t>(input.sampleRate) * m_config.factor;
    if (rate > INT_MAX || rate < INT_MIN)
    {
        throw std::runtime_error("Oversampler output sample rate is out of range");
    }
    return static_cast<int>(rate);
}

AudioBuffer Oversampler::Upsample(const AudioBuffer& input) const
{
    const int rate = UpsampledRate(input);
    if (m_config.factor == 1)
    {
        return input;
    }
    const std::size_t frames = input.FrameCount();
    if (frames > input.samples.max_size() / 2 / static_cast<std::size_t>(m_config.factor))
    {
        throw std::bad_alloc();
    }
    AudioBuffer output;
    output.sampleRate = rate;
    UpsampleFrames({input.samples.data(), static_cast<std::int64_t>(frames), 2}, m_config.factor,
                   m_config.tapsPerPhase, m_upTaps, output.samples);
    return output;
}

void Oversampler::UpsampleRange(const AudioBuffer& input, std::size_t begin, std::size_t end,
                                std::vector<double>& output) const
{
    RequireStereo(input);
    const std::size_t frames = input.FrameCount();
    end = std::min(end, frames);
    begin = std::min(begin, end);
    const std::size_t factor = static_cast<std::size_t>(m_config.factor);
    if (end - begin > output.max_size() / 2 / factor)
    {
        throw std::bad_alloc();
    }
    output.resize(2 * factor * (end - begin));
    if (m_config.factor == 1)
    {
        std::copy(input.samples.begin() + 2 * begin, input.samples.begin() + 2 * end,
                  output.begin());
        return;
    }
    double* out = output.data();
    UpsampleFrames({input.samples.data(), static_cast<std::int64_t>(frames), 2}, m_config.factor,
                   m_config.tapsPerPhase, m_upTaps, static_cast<std::int64_t>(begin),
                   static_cast<std::int64_t>(end),
                   [&out](const double* values, std::int64_t count)
                   { out = std::copy(values, values + count, out); });
}

AudioBuffer Oversampler::Downsample(const AudioBuffer& input, int outputRate) const
{
    RequireStereo(input);
    if (outputRate <= 0)
    {
        throw std::runtime_error("Oversampler output sample rate must be > 0");
    }
    if (m_config.factor == 1)
    {
        AudioBuffer copy = input;
        copy.sampleRate = outputRate;
        return copy;
    }
    const std::size_t frames = input.FrameCount();
    AudioBuffer output;
    output.sampleRate = outputRate;
    output.samples.resize(2 * ((frames + m_config.factor - 1) / m_config.factor));
    if (frames > 0)
    {
        DownsampleFrames({input.samples.data(), static_cast<std::int64_t>(frames), 2}, 0,
                         m_config.factor, m_config.tapsPerPhase, m_downTaps, 0,
                         static_cast<std::int64_t>(output.FrameCount()), output.samples.data());
    }
    return output;
}

void Oversampler::DownsampleRange(std::span<const double> window, std::size_t windowFirst,
                                  std::size_t frames, std::size_t from, std::size_t to,
                                  double* output) const
{
    if (to <= from)
    {
        return;
    }
    if (m_config.factor == 1)
    {
        std::copy(window.begin() + 2 * (from - windowFirst),
                  window.begin() + 2 * (to - windowFirst), output);
        return;
    }
    DownsampleFrames({window.data(), static_cast<std::int64_t>(frames), 2},
                     static_cast<std::int64_t>(windowFirst), m_config.factor, m_config.tapsPerPhase,
                     m_downTaps, static_cast<std::int64_t>(from), static_cast<std::int64_t>(to),
                     output);
}
