#include "engine/dsp/fft.h"
#include "engine/dsp/vector_clones.h"

#include <cmath>
#include <mutex>
#include <unordered_map>

namespace
{

// The engine's one lock: it guards the plan cache and nothing else.
std::mutex& PlanCacheMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Node-based, so a plan keeps its address while the map grows.
std::unordered_map<std::uint64_t, FftPlan>& PlanCache()
{
    static std::unordered_map<std::uint64_t, FftPlan> cache;
    return cache;
}

std::size_t g_plansBuilt = 0; // guarded by PlanCacheMutex()

bool IsPowerOfTwo(std::size_t n)
{
    return n >= 2 && (n & (n - 1)) == 0;
}

int Log2(std::uint64_t n)
{
    int bits = 0;
    while (n > 1)
    {
        n >>= 1;
        ++bits;
    }
    return bits;
}

// The transform runs on the real and imaginary parts held apart, so a vector
// register holds four butterflies' worth of one part. The stages go in pairs
// as radix-4 passes, each reading and writing the data once: the first reads
// the interleaved values in bit-reversed order, the last writes them back
// interleaved. The arithmetic is the same whatever the vector width (no fused
// multiply-add), so the results are the same to the bit on every processor.
typedef double Lanes __attribute__((vector_size(32)));
typedef long long LaneIndex __attribute__((vector_size(32)));
constexpr std::size_t kLanes = 4;

// Unaligned loads and stores. Taking the value by pointer keeps 32-byte
// vectors out of function signatures, whose ABI differs with and without AVX.
inline void Load(Lanes& value, const double* p)
{
    __builtin_memcpy(&value, p, sizeof value);
}

inline void Store(double* p, const Lanes& value)
{
    __builtin_memcpy(p, &value, sizeof value);
}

// One radix-2 butterfly on parts held in variables: on doubles, or on four
// independent butterflies at once.
template <typename T> inline void Butterfly(T& ar, T& ai, T& br, T& bi, const T& wr, const T& wi)
{
    const T vr = wr * br - wi * bi;
    const T vi = wr * bi + wi * br;
    br = ar - vr;
    bi = ai - vi;
    ar = ar + vr;
    ai = ai + vi;
}

// x times w, in place.
inline void Rotate(Lanes& xr, Lanes& xi, const Lanes& wr, const Lanes& wi)
{
    const Lanes r = wr * xr - wi * xi;
    xi = wr * xi + wi * xr;
    xr = r;
}

// The radix-4 butterfly on values already multiplied by their factors:
// (a, b, c, d) becomes (a + b + c + d, a - b -+ i(c - d), a + b - c - d,
// a - b +- i(c - d)), the upper signs forward. The results replace the inputs.
template <bool Inverse>
inline void Radix4(Lanes& ar, Lanes& ai, Lanes& br, Lanes& bi, Lanes& cr, Lanes& ci, Lanes& dr,
                   Lanes& di)
{
    const Lanes sumAbR = ar + br;
    const Lanes sumAbI = ai + bi;
    const Lanes diffAbR = ar - br;
    const Lanes diffAbI = ai - bi;
    const Lanes sumCdR = cr + dr;
    const Lanes sumCdI = ci + di;
    const Lanes diffCdR = cr - dr;
    const Lanes diffCdI = ci - di;
    ar = sumAbR + sumCdR;
    ai = sumAbI + sumCdI;
    cr = sumAbR - sumCdR;
    ci = sumAbI - sumCdI;
    if (Inverse)
    {
        br = diffAbR - diffCdI;
        bi = diffAbI + diffCdR;
        dr = diffAbR + diffCdI;
        di = diffAbI - diffCdR;
    }
    else
    {
        br = diffAbR + diffCdI;
        bi = diffAbI - diffCdR;
        dr = diffAbR - diffCdI;
        di = diffAbI + diffCdR;
    }
}

// One stage of span m (at least 2 * kLanes) over the split parts.
BRVL_VECTOR_CLONES void OneStage(double* re, double* im, std::size_t n, std::size_t m,
                                 const double* factors)
{
    const std::size_t half = m / 2;
    const double* wr = factors;
    const double* wi = factors + half;
    for (std::size_t block = 0; block < n; block += m)
    {
        for (std::size_t k = 0; k < half; k += kLanes)
        {
            Lanes ar, ai, br, bi, cr, ci;
            Load(ar, re + block + k);
            Load(ai, im + block + k);
            Load(br, re + block + half + k);
            Load(bi, im + block + half + k);
            Load(cr, wr + k);
            Load(ci, wi + k);
            Butterfly(ar, ai, br, bi, cr, ci);
            Store(re + block + k, ar);
            Store(im + block + k, ai);
            Store(re + block + half + k, br);
            Store(im + block + half + k, bi);
        }
    }
}

// The stages of spans m and 2m (m at least 2 * kLanes) as one radix-4 pass
// over the split parts. Quarter j of each block of 2m is multiplied by
// W^(2, 1, 3 for j = 1, 2, 3), W = exp(-+2*pi*i*k/(2m)), read from factors
// in groups of kLanes: W^2 real, imaginary, W real, imaginary, W^3 real,
// imaginary. With Interleave the results go to out as interleaved values,
// scaled by scale; otherwise they replace the input.
template <bool Inverse, bool Interleave>
__attribute__((always_inline)) inline void Radix4Pass(double* re, double* im, std::size_t n,
                                                      std::size_t m, const double* factors,
                                                      double* out, double scale)
{
    const std::size_t half = m / 2;
    for (std::size_t block = 0; block < n; block += 2 * m)
    {
        const std::size_t p0 = block;
        const std::size_t p1 = p0 + half;
        const std::size_t p2 = p0 + m;
        const std::size_t p3 = p2 + half;
        const double* w = factors;
        for (std::size_t k = 0; k < half; k += kLanes, w += 6 * kLanes)
        {
            Lanes r0, i0, r1, i1, r2, i2, r3, i3, wr, wi;
            Load(r0, re + p0 + k);
            Load(i0, im + p0 + k);
            Load(r1, re + p1 + k);
            Load(i1, im + p1 + k);
            Load(r2, re + p2 + k);
            Load(i2, im + p2 + k);
            Load(r3, re + p3 + k);
            Load(i3, im + p3 + k);
            Load(wr, w);
            Load(wi, w + kLanes);
            Rotate(r1, i1, wr, wi);
            Load(wr, w + 2 * kLanes);
            Load(wi, w + 3 * kLanes);
            Rotate(r2, i2, wr, wi);
            Load(wr, w + 4 * kLanes);
            Load(wi, w + 5 * kLanes);
            Rotate(r3, i3, wr, wi);
            Radix4<Inverse>(r0, i0, r1, i1, r2, i2, r3, i3);
            if (Interleave)
            {
                const LaneIndex low = {0, 4, 1, 5};
                const LaneIndex high = {2, 6, 3, 7};
                const std::size_t at[4] = {p0 + k, p1 + k, p2 + k, p3 + k};
                const Lanes* parts[4][2] = {{&r0, &i0}, {&r1, &i1}, {&r2, &i2}, {&r3, &i3}};
                for (int q = 0; q < 4; ++q)
                {
                    Lanes r = *parts[q][0];
                    Lanes i = *parts[q][1];
                    if (Inverse)
                    {
                        r *= scale;
                        i *= scale;
                    }
                    Store(out + 2 * at[q], __builtin_shuffle(r, i, low));
                    Store(out + 2 * at[q] + kLanes, __builtin_shuffle(r, i, high));
                }
            }
            else
            {
                Store(re + p0 + k, r0);
                Store(im + p0 + k, i0);
                Store(re + p1 + k, r1);
                Store(im + p1 + k, i1);
                Store(re + p2 + k, r2);
                Store(im + p2 + k, i2);
                Store(re + p3 + k, r3);
                Store(im + p3 + k, i3);
            }
        }
    }
}

// The four parts of a 4x4 block of lanes transposed: lane l of rows[j]
// becomes lane j of rows[l].
inline void Transpose(Lanes& a, Lanes& b, Lanes& c, Lanes& d)
{
    const LaneIndex evens = {0, 4, 2, 6};
    const LaneIndex odds = {1, 5, 3, 7};
    const LaneIndex lows = {0, 1, 4, 5};
    const LaneIndex highs = {2, 3, 6, 7};
    const Lanes t0 = __builtin_shuffle(a, b, evens);
    const Lanes t1 = __builtin_shuffle(a, b, odds);
    const Lanes t2 = __builtin_shuffle(c, d, evens);
    const Lanes t3 = __builtin_shuffle(c, d, odds);
    a = __builtin_shuffle(t0, t2, lows);
    b = __builtin_shuffle(t1, t3, lows);
    c = __builtin_shuffle(t0, t2, highs);
    d = __builtin_shuffle(t1, t3, highs);
}

// The stages of spans 2 and 4, whose factors are 1 and -+i, as one radix-4
// pass from the interleaved values in bit-reversed order into the split
// parts. Position x = l * n/4 + 4q + j of the permuted order reads value
// rev(j) * n/4 + rev(4q) + rev(l): for fixed q and j the four l are four
// neighbouring values, one vector load each of two, and lane l is
// transform l. n is a multiple of 16.
template <bool Inverse>
__attribute__((always_inline)) inline void FirstPass(const double* values,
                                                     const std::size_t* bitReverse, std::size_t n,
                                                     double* re, double* im)
{
    const std::size_t quarter = n / 4;
    const LaneIndex realParts = {0, 4, 2, 6};
    const LaneIndex imaginaryParts = {1, 5, 3, 7};
    for (std::size_t q = 0; q < quarter; q += kLanes)
    {
        const std::size_t source = bitReverse[q];
        Lanes r[4], i[4];
        // Quarter j of the input is rev(j): 0, 2, 1, 3.
        const std::size_t quarterOf[4] = {0, 2, 1, 3};
        for (int j = 0; j < 4; ++j)
        {
            const double* p = values + 2 * (quarterOf[j] * quarter + source);
            Lanes v0, v1;
            Load(v0, p);
            Load(v1, p + kLanes);
            // Lanes 0..3 hold values 0, 2, 1, 3: rev(l) for transform l.
            r[j] = __builtin_shuffle(v0, v1, realParts);
            i[j] = __builtin_shuffle(v0, v1, imaginaryParts);
        }
        // Spans 2 and 4: the radix-4 pass with W = 1.
        Radix4<Inverse>(r[0], i[0], r[1], i[1], r[2], i[2], r[3], i[3]);
        Transpose(r[0], r[1], r[2], r[3]);
        Transpose(i[0], i[1], i[2], i[3]);
        for (std::size_t l = 0; l < kLanes; ++l)
        {
            Store(re + l * quarter + q, r[l]);
            Store(im + l * quarter + q, i[l]);
        }
    }
}

BRVL_VECTOR_CLONES void RunFirstPass(bool inverse, const double* values,
                                     const std::size_t* bitReverse, std::size_t n, double* re,
                                     double* im)
{
    if (inverse)
    {
        FirstPass<true>(values, bitReverse, n, re, im);
    }
    else
    {
        FirstPass<false>(values, bitReverse, n, re, im);
    }
}

BRVL_VECTOR_CLONES void RunRadix4Pass(bool inverse, double* re, double* im, std::size_t n,
                                      std::size_t m, const double* factors)
{
    if (inverse)
    {
        Radix4Pass<true, false>(re, im, n, m, factors, nullptr, 1.0);
    }
    else
    {
        Radix4Pass<false, false>(re, im, n, m, factors, nullptr, 1.0);
    }
}

// The last radix-4 pass, its results written to out interleaved; the inverse
// scales them by scale on the way.
BRVL_VECTOR_CLONES void RunLastPass(bool inverse, double* re, double* im, std::size_t n,
                                    std::size_t m, const double* factors, double* out, double scale)
{
    if (inverse)
    {
        Radix4Pass<true, true>(re, im, n, m, factors, out, scale);
    }
    else
    {
        Radix4Pass<false, true>(re, im, n, m, factors, out, scale);
    }
}

// The transform of sizes 2 to 8, where the vector stages do not fit: the same
// butterflies one at a time, in place on the interleaved values.
void SmallTransform(std::vector<std::complex<double>>& data, const FftPlan& plan,
                    const std::vector<std::vector<std::complex<double>>>& twiddles)
{
    const std::size_t n = data.size();
    for (std::size_t i = 0; i < n; ++i)
    {
        const std::size_t j = plan.bitReverse[i];
        if (i < j)
        {
            std::swap(data[i], data[j]);
        }
    }
    double* values = reinterpret_cast<double*>(data.data());
    for (std::size_t stage = 0; stage < twiddles.size(); ++stage)
    {
        const std::size_t m = std::size_t{2} << stage;
        const std::size_t half = m / 2;
        for (std::size_t block = 0; block < n; block += m)
        {
            for (std::size_t k = 0; k < half; ++k)
            {
                double* a = values + 2 * (block + k);
                double* b = values + 2 * (block + k + half);
                const std::complex<double> w = twiddles[stage][k];
                Butterfly(a[0], a[1], b[0], b[1], w.real(), w.imag());
            }
        }
    }
}

// Split parts for one transform at a time per thread, so a call allocates
// nothing once its size has been seen.
std::vector<double>& SplitScratch()
{
    thread_local std::vector<double> scratch;
    return scratch;
}

std::vector<double> SplitParts(const std::vector<std::complex<double>>& factors)
{
    std::vector<double> parts(2 * factors.size());
    for (std::size_t k = 0; k < factors.size(); ++k)
    {
        parts[k] = factors[k].real();
        parts[factors.size() + k] = factors[k].imag();
    }
    return parts;
}

// The factors of the radix-4 pass over spans m and 2m, in the order the
// pass reads them: per kLanes values of k, the real then imaginary parts of
// W^2, W and W^3, W = exp(-+2*pi*i*k/(2m)). Worked out in long double, so
// each factor is the nearest double to its value.
std::vector<double> Radix4Factors(std::uint64_t m, bool inverse)
{
    const std::uint64_t half = m / 2;
    const long double pi = acosl(-1.0L);
    const long double sign = inverse ? 1.0L : -1.0L;
    std::vector<double> factors(6 * half);
    const std::uint64_t powers[3] = {2, 1, 3};
    for (std::uint64_t k = 0; k < half; ++k)
    {
        double* group = factors.data() + 6 * (k / kLanes) * kLanes + k % kLanes;
        for (std::size_t p = 0; p < 3; ++p)
        {
            const long double angle = sign * 2.0L * pi * static_cast<long double>(powers[p] * k) /
                                      static_cast<long double>(2 * m);
            group[2 * p * kLanes] = static_cast<double>(cosl(angle));
            group[(2 * p + 1) * kLanes] = static_cast<double>(sinl(angle));
        }
    }
    return factors;
}

} // namespace

FftPlan BuildFftPlan(std::uint64_t n)
{
    FftPlan plan;
    const int bits = Log2(n);
    plan.bitReverse.resize(n);
    for (std::uint64_t i = 0; i < n; ++i)
    {
        std::uint64_t reversed = 0;
        for (int b = 0; b < bits; ++b)
        {
            reversed |= ((i >> b) & 1u) << (bits - 1 - b);
        }
        plan.bitReverse[i] = reversed;
    }

    const double pi = std::acos(-1.0);
    for (std::uint64_t m = 2; m <= n && m != 0; m <<= 1)
    {
        const double step = 2.0 * pi / static_cast<double>(m);
        std::vector<std::complex<double>> forward(m / 2);
        std::vector<std::complex<double>> inverse(m / 2);
        for (std::uint64_t k = 0; k < m / 2; ++k)
        {
            const double angle = static_cast<double>(k) * step;
            forward[k] = {std::cos(-angle), std::sin(-angle)};
            inverse[k] = {std::cos(angle), std::sin(angle)};
        }
        plan.forwardSplitTwiddles.push_back(SplitParts(forward));
        plan.inverseSplitTwiddles.push_back(SplitParts(inverse));
        plan.forwardTwiddles.push_back(std::move(forward));
        plan.inverseTwiddles.push_back(std::move(inverse));
    }
    if (n >= 16)
    {
        // The radix-4 passes after the first: spans (8, 16), (32, 64), ...
        // when log2(n) is even, (16, 32), (64, 128), ... after one radix-2
        // stage of span 8 when it is odd.
        for (int stage = 2 + bits % 2; stage + 1 < bits; stage += 2)
        {
            const std::uint64_t m = std::uint64_t{2} << stage;
            plan.forwardRadix4Twiddles.push_back(Radix4Factors(m, false));
            plan.inverseRadix4Twiddles.push_back(Radix4Factors(m, true));
        }
    }
    return plan;
}

const FftPlan& GetFftPlan(std::uint64_t n)
{
    std::lock_guard<std::mutex> lock(PlanCacheMutex());
    auto& cache = PlanCache();
    auto found = cache.find(n);
    if (found == cache.end())
    {
        // Built under the lock so that two threads asking for a new size at
        // once build it once; a throwing build leaves the cache as it was.
        found = cache.emplace(n, BuildFftPlan(n)).first;
        ++g_plansBuilt;
    }
    return found->second;
}

std::size_t FftPlanBuildCount()
{
    std::lock_guard<std::mutex> lock(PlanCacheMutex());
    return g_plansBuilt;
}

void Fft(std::vector<std::complex<double>>& data, bool inverse)
{
    const std::size_t n = data.size();
    if (!IsPowerOfTwo(n))
    {
        return;
    }
    const FftPlan& plan = GetFftPlan(n);
    double* values = reinterpret_cast<double*>(data.data());
    const double size = static_cast<double>(n);
    if (n < 16)
    {
        SmallTransform(data, plan, inverse ? plan.inverseTwiddles : plan.forwardTwiddles);
        if (inverse)
        {
            for (std::size_t i = 0; i < 2 * n; ++i)
            {
                values[i] /= size;
            }
        }
        return;
    }

    const auto& factors = inverse ? plan.inverseSplitTwiddles : plan.forwardSplitTwiddles;
    const auto& radix4 = inverse ? plan.inverseRadix4Twiddles : plan.forwardRadix4Twiddles;
    std::vector<double>& scratch = SplitScratch();
    if (scratch.size() < 2 * n)
    {
        scratch.resize(2 * n);
    }
    double* re = scratch.data();
    double* im = re + n;
    RunFirstPass(inverse, values, plan.bitReverse.data(), n, re, im);
    std::size_t stage = 2;
    if (factors.size() % 2 == 1)
    {
        OneStage(re, im, n, std::size_t{2} << stage, factors[stage].data());
        ++stage;
    }
    // Powers of two, so the inverse's scaling by 1/n is exact division.
    const double scale = 1.0 / size;
    for (std::size_t pass = 0; pass < radix4.size(); ++pass, stage += 2)
    {
        const std::size_t m = std::size_t{2} << stage;
        if (pass + 1 < radix4.size())
        {
            RunRadix4Pass(inverse, re, im, n, m, radix4[pass].data());
        }
        else
        {
            RunLastPass(inverse, re, im, n, m, radix4[pass].data(), values, scale);
        }
    }
}
