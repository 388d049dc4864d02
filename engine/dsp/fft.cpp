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
// register holds four butterflies' worth of one part and no lane is ever
// shuffled. Every butterfly is the radix-2 one, (a, b) becoming (a + w*b,
// a - w*b) with w*b = (wr*br - wi*bi, wr*bi + wi*br), in the same stages in
// the same order whatever the vector width, so the results are the same to
// the bit on every processor.
typedef double Lanes __attribute__((vector_size(32)));
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

// Four neighbouring butterflies of one stage in the split parts: a at
// re/im + a, b at re/im + b, factors at wr/wi.
inline void Butterflies(double* re, double* im, std::size_t a, std::size_t b, const double* wr,
                        const double* wi)
{
    Lanes ar, ai, br, bi, cr, ci;
    Load(ar, re + a);
    Load(ai, im + a);
    Load(br, re + b);
    Load(bi, im + b);
    Load(cr, wr);
    Load(ci, wi);
    Butterfly(ar, ai, br, bi, cr, ci);
    Store(re + a, ar);
    Store(im + a, ai);
    Store(re + b, br);
    Store(im + b, bi);
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
            Butterflies(re, im, block + k, block + half + k, wr + k, wi + k);
        }
    }
}

// Two consecutive stages (spans m and 2m, m at least 2 * kLanes) done while
// the four values they combine are at hand; the arithmetic is that of the two
// stages one after the other.
BRVL_VECTOR_CLONES void TwoStages(double* re, double* im, std::size_t n, std::size_t m,
                                  const double* factorsM, const double* factors2M)
{
    const std::size_t half = m / 2;
    const double* wr = factorsM;
    const double* wi = factorsM + half;
    const double* wr2 = factors2M;
    const double* wi2 = factors2M + m;
    for (std::size_t block = 0; block < n; block += 2 * m)
    {
        const std::size_t p0 = block;
        const std::size_t p1 = p0 + half;
        const std::size_t p2 = p0 + m;
        const std::size_t p3 = p2 + half;
        for (std::size_t k = 0; k < half; k += kLanes)
        {
            Lanes r0, i0, r1, i1, r2, i2, r3, i3, cr, ci;
            Load(r0, re + p0 + k);
            Load(i0, im + p0 + k);
            Load(r1, re + p1 + k);
            Load(i1, im + p1 + k);
            Load(r2, re + p2 + k);
            Load(i2, im + p2 + k);
            Load(r3, re + p3 + k);
            Load(i3, im + p3 + k);
            Load(cr, wr + k);
            Load(ci, wi + k);
            Butterfly(r0, i0, r1, i1, cr, ci);
            Butterfly(r2, i2, r3, i3, cr, ci);
            Load(cr, wr2 + k);
            Load(ci, wi2 + k);
            Butterfly(r0, i0, r2, i2, cr, ci);
            Load(cr, wr2 + half + k);
            Load(ci, wi2 + half + k);
            Butterfly(r1, i1, r3, i3, cr, ci);
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

// The values in bit-reversed order, split into parts, with the stages of
// spans 2 and 4 done on the way: each run of four values they combine is read
// from the input once. Four runs go through the vector lanes together; n is a
// multiple of 16.
BRVL_VECTOR_CLONES void FirstTwoStages(const double* values, const std::size_t* bitReverse,
                                       std::size_t n, const double* factors2,
                                       const double* factors4, double* re, double* im)
{
    const Lanes w2r = {factors2[0], factors2[0], factors2[0], factors2[0]};
    const Lanes w2i = {factors2[1], factors2[1], factors2[1], factors2[1]};
    const Lanes w4r0 = {factors4[0], factors4[0], factors4[0], factors4[0]};
    const Lanes w4i0 = {factors4[2], factors4[2], factors4[2], factors4[2]};
    const Lanes w4r1 = {factors4[1], factors4[1], factors4[1], factors4[1]};
    const Lanes w4i1 = {factors4[3], factors4[3], factors4[3], factors4[3]};
    for (std::size_t run = 0; run < n; run += 4 * kLanes)
    {
        // Lane l holds the run starting at run + 4 * l; rj and ij the parts
        // of its value j. at(k, p) is part p (0 real, 1 imaginary) of
        // value k of the permuted order.
        const auto at = [&](std::size_t k, std::size_t p)
        { return values[2 * bitReverse[run + k] + p]; };
        Lanes r0 = {at(0, 0), at(4, 0), at(8, 0), at(12, 0)};
        Lanes i0 = {at(0, 1), at(4, 1), at(8, 1), at(12, 1)};
        Lanes r1 = {at(1, 0), at(5, 0), at(9, 0), at(13, 0)};
        Lanes i1 = {at(1, 1), at(5, 1), at(9, 1), at(13, 1)};
        Lanes r2 = {at(2, 0), at(6, 0), at(10, 0), at(14, 0)};
        Lanes i2 = {at(2, 1), at(6, 1), at(10, 1), at(14, 1)};
        Lanes r3 = {at(3, 0), at(7, 0), at(11, 0), at(15, 0)};
        Lanes i3 = {at(3, 1), at(7, 1), at(11, 1), at(15, 1)};
        Butterfly(r0, i0, r1, i1, w2r, w2i);
        Butterfly(r2, i2, r3, i3, w2r, w2i);
        Butterfly(r0, i0, r2, i2, w4r0, w4i0);
        Butterfly(r1, i1, r3, i3, w4r1, w4i1);
        for (std::size_t l = 0; l < kLanes; ++l)
        {
            double* rl = re + run + 4 * l;
            double* il = im + run + 4 * l;
            rl[0] = r0[l];
            rl[1] = r1[l];
            rl[2] = r2[l];
            rl[3] = r3[l];
            il[0] = i0[l];
            il[1] = i1[l];
            il[2] = i2[l];
            il[3] = i3[l];
        }
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
    std::vector<double>& scratch = SplitScratch();
    if (scratch.size() < 2 * n)
    {
        scratch.resize(2 * n);
    }
    double* re = scratch.data();
    double* im = re + n;
    FirstTwoStages(values, plan.bitReverse.data(), n, factors[0].data(), factors[1].data(), re, im);
    const std::size_t stages = factors.size();
    std::size_t stage = 2;
    if (stages % 2 == 1)
    {
        OneStage(re, im, n, std::size_t{2} << stage, factors[stage].data());
        ++stage;
    }
    for (; stage < stages; stage += 2)
    {
        TwoStages(re, im, n, std::size_t{2} << stage, factors[stage].data(),
                  factors[stage + 1].data());
    }
    // Back to interleaved values, the inverse's division on the way.
    if (inverse)
    {
        for (std::size_t i = 0; i < n; ++i)
        {
            values[2 * i] = re[i] / size;
            values[2 * i + 1] = im[i] / size;
        }
        return;
    }
    for (std::size_t i = 0; i < n; ++i)
    {
        values[2 * i] = re[i];
        values[2 * i + 1] = im[i];
    }
}
