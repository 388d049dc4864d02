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

// The arithmetic is written out on the doubles of std::complex (whose layout
// the standard fixes as real, imaginary) because the library's operator* takes
// a slow path that rescues infinities, which a transform does not need.

// One complex value in one SSE register: the add, subtract and multiply of
// the butterfly each take one instruction on both parts at once.
typedef double Complex1 __attribute__((vector_size(16)));
// Two neighbouring complex values (k and k + 1), for the stages whose blocks
// are at least two butterflies long.
typedef double Complex2 __attribute__((vector_size(32)));
typedef long long Lanes2 __attribute__((vector_size(32)));

// Unaligned loads and stores. Taking the value by pointer keeps 32-byte
// vectors out of function signatures, whose ABI differs with and without AVX.
template <typename Vector> inline void Load(Vector& value, const double* p)
{
    __builtin_memcpy(&value, p, sizeof value);
}

template <typename Vector> inline void Store(double* p, const Vector& value)
{
    __builtin_memcpy(p, &value, sizeof value);
}

// One radix-2 butterfly: (a, b) becomes (a + w*b, a - w*b), with
// w*b = (wr*br - wi*bi, wr*bi + wi*br).
inline void Butterfly(double* a, double* b, double wr, double wi)
{
    Complex1 x;
    Load(x, b);
    const Complex1 turned = {-x[1], x[0]};
    const Complex1 v = Complex1{wr, wr} * x + Complex1{wi, wi} * turned;
    Complex1 u;
    Load(u, a);
    Store(a, u + v);
    Store(b, u - v);
}

// The same on two neighbouring butterflies, w holding their two factors.
inline void Butterfly2(double* a, double* b, const double* w)
{
    Complex2 x;
    Complex2 factors;
    Load(x, b);
    Load(factors, w);
    const Complex2 wr = __builtin_shuffle(factors, Lanes2{0, 0, 2, 2});
    const Complex2 wi = __builtin_shuffle(factors, Lanes2{1, 1, 3, 3});
    const Complex2 swapped = __builtin_shuffle(x, Lanes2{1, 0, 3, 2});
    const Complex2 product = wi * swapped;
    const Complex2 direct = wr * x;
    // (direct - product) in the real lanes, (direct + product) in the imaginary ones.
    const Complex2 v = __builtin_shuffle(direct - product, direct + product, Lanes2{0, 5, 2, 7});
    Complex2 u;
    Load(u, a);
    Store(a, u + v);
    Store(b, u - v);
}

// Two consecutive radix-2 stages (spans m and 2m) done while the four values
// they combine are in registers; the arithmetic is that of the two stages.
BRVL_VECTOR_CLONES void TwoStages(double* data, std::size_t n, std::size_t m, const double* twM,
                                  const double* tw2M)
{
    const std::size_t half = m / 2;
    for (std::size_t block = 0; block < n; block += 2 * m)
    {
        double* p0 = data + 2 * block;
        double* p1 = p0 + 2 * half;
        double* p2 = p0 + 2 * m;
        double* p3 = p2 + 2 * half;
        if (half == 1)
        {
            Butterfly(p0, p1, twM[0], twM[1]);
            Butterfly(p2, p3, twM[0], twM[1]);
            Butterfly(p0, p2, tw2M[0], tw2M[1]);
            Butterfly(p1, p3, tw2M[2], tw2M[3]);
            continue;
        }
        for (std::size_t k = 0; k < half; k += 2)
        {
            const std::size_t at = 2 * k;
            Butterfly2(p0 + at, p1 + at, twM + at);
            Butterfly2(p2 + at, p3 + at, twM + at);
            Butterfly2(p0 + at, p2 + at, tw2M + at);
            Butterfly2(p1 + at, p3 + at, tw2M + at + 2 * half);
        }
    }
}

// The first stage (span 2) alone when the number of stages is odd.
void FirstStage(double* data, std::size_t n, const double* tw)
{
    for (std::size_t i = 0; i < n; i += 2)
    {
        Butterfly(data + 2 * i, data + 2 * i + 2, tw[0], tw[1]);
    }
}

const double* AsDoubles(const std::vector<std::complex<double>>& values)
{
    return reinterpret_cast<const double*>(values.data());
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

    for (std::size_t i = 0; i < n; ++i)
    {
        const std::size_t j = plan.bitReverse[i];
        if (i < j)
        {
            std::swap(data[i], data[j]);
        }
    }

    const auto& twiddles = inverse ? plan.inverseTwiddles : plan.forwardTwiddles;
    double* values = reinterpret_cast<double*>(data.data());
    const std::size_t stages = twiddles.size();
    std::size_t stage = 0;
    if (stages % 2 == 1)
    {
        FirstStage(values, n, AsDoubles(twiddles[0]));
        stage = 1;
    }
    for (; stage < stages; stage += 2)
    {
        const std::size_t m = std::size_t{2} << stage;
        TwoStages(values, n, m, AsDoubles(twiddles[stage]), AsDoubles(twiddles[stage + 1]));
    }

    if (inverse)
    {
        const double size = static_cast<double>(n);
        for (std::size_t i = 0; i < 2 * n; ++i)
        {
            values[i] /= size;
        }
    }
}
