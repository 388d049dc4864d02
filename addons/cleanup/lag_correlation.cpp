#include "addons/cleanup/lag_correlation.h"

#include <algorithm>
#include <array>

namespace
{

// Lags summed side by side: enough independent sums to keep the adders busy.
constexpr std::ptrdiff_t kLagsPerPass = 8;
// Frames per stretch: the stretch of both channels stays in the first-level
// cache while every lag passes over it.
constexpr std::ptrdiff_t kStretchFrames = 1024;

// sum + x[0] * y[0] + x[1] * y[1] + ..., in that order.
double AddProducts(double sum, const double* x, const double* y, std::ptrdiff_t count)
{
    for (std::ptrdiff_t i = 0; i < count; ++i)
    {
        sum += x[i] * y[i];
    }
    return sum;
}

// One stretch of frames [first, end) of both channels, copied out of the
// interleaved track: the left one alone, the right one widened by the
// largest lag either side (clipped to the track).
struct Stretch
{
    std::ptrdiff_t first;
    std::ptrdiff_t end;
    std::ptrdiff_t rightFirst;
    std::vector<double> left;
    std::vector<double> right;

    const double* Left(std::ptrdiff_t i) const { return left.data() + (i - first); }
    const double* Right(std::ptrdiff_t i) const { return right.data() + (i - rightFirst); }
};

void Load(Stretch& stretch, std::span<const double> interleaved, std::ptrdiff_t first,
          std::ptrdiff_t end, std::ptrdiff_t maxLag)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(interleaved.size() / 2);
    stretch.first = first;
    stretch.end = end;
    stretch.rightFirst = std::max<std::ptrdiff_t>(0, first - maxLag);
    const std::ptrdiff_t rightEnd = std::min(frames, end + maxLag);
    stretch.left.resize(static_cast<std::size_t>(end - first));
    stretch.right.resize(static_cast<std::size_t>(rightEnd - stretch.rightFirst));
    for (std::ptrdiff_t i = first; i < end; ++i)
    {
        stretch.left[static_cast<std::size_t>(i - first)] = interleaved[2 * i];
    }
    for (std::ptrdiff_t i = stretch.rightFirst; i < rightEnd; ++i)
    {
        stretch.right[static_cast<std::size_t>(i - stretch.rightFirst)] = interleaved[2 * i + 1];
    }
}

// The frames of the stretch that lag k can use: 0 <= i + k < frames.
struct FrameRange
{
    std::ptrdiff_t begin;
    std::ptrdiff_t end;
};

FrameRange UsableFrames(const Stretch& stretch, std::ptrdiff_t lag, std::ptrdiff_t frames)
{
    return {std::max(stretch.first, -lag), std::min(stretch.end, frames - lag)};
}

// Adds the stretch's terms of lag k to its sum, frame by frame, over [from, to).
double AddLagTerms(double sum, const Stretch& stretch, std::ptrdiff_t lag, std::ptrdiff_t from,
                   std::ptrdiff_t to)
{
    return to > from ? AddProducts(sum, stretch.Left(from), stretch.Right(from + lag), to - from)
                     : sum;
}

// The group of lags firstLag .. firstLag + kLagsPerPass - 1 over one stretch.
// Every lag of the group can use the frames [shared.begin, shared.end); a
// lag's own frames before and after them are added before and after, so each
// sum still runs in increasing frame order.
void AddGroupTerms(double* sums, const Stretch& stretch, std::ptrdiff_t firstLag,
                   std::ptrdiff_t frames)
{
    const std::ptrdiff_t lastLag = firstLag + kLagsPerPass - 1;
    const FrameRange shared{UsableFrames(stretch, firstLag, frames).begin,
                            UsableFrames(stretch, lastLag, frames).end};
    if (shared.end <= shared.begin)
    {
        for (std::ptrdiff_t j = 0; j < kLagsPerPass; ++j)
        {
            const FrameRange own = UsableFrames(stretch, firstLag + j, frames);
            sums[j] = AddLagTerms(sums[j], stretch, firstLag + j, own.begin, own.end);
        }
        return;
    }
    std::array<double, kLagsPerPass> sum{};
    for (std::ptrdiff_t j = 0; j < kLagsPerPass; ++j)
    {
        const FrameRange own = UsableFrames(stretch, firstLag + j, frames);
        sum[j] = AddLagTerms(sums[j], stretch, firstLag + j, own.begin, shared.begin);
    }
    const double* x = stretch.Left(shared.begin);
    const double* y = stretch.Right(shared.begin + firstLag);
    for (std::ptrdiff_t i = 0; i < shared.end - shared.begin; ++i)
    {
        for (std::ptrdiff_t j = 0; j < kLagsPerPass; ++j)
        {
            sum[j] += x[i] * y[i + j];
        }
    }
    for (std::ptrdiff_t j = 0; j < kLagsPerPass; ++j)
    {
        const FrameRange own = UsableFrames(stretch, firstLag + j, frames);
        sums[j] = AddLagTerms(sum[j], stretch, firstLag + j, shared.end, own.end);
    }
}

} // namespace

std::vector<double> LagCorrelations(std::span<const double> interleaved, std::ptrdiff_t maxLag)
{
    const std::ptrdiff_t frames = static_cast<std::ptrdiff_t>(interleaved.size() / 2);
    const std::ptrdiff_t lagCount = 2 * maxLag + 1;
    std::vector<double> sums(static_cast<std::size_t>(lagCount), 0.0);
    Stretch stretch;
    for (std::ptrdiff_t first = 0; first < frames; first += kStretchFrames)
    {
        Load(stretch, interleaved, first, std::min(frames, first + kStretchFrames), maxLag);
        std::ptrdiff_t index = 0;
        for (; index + kLagsPerPass <= lagCount; index += kLagsPerPass)
        {
            AddGroupTerms(sums.data() + index, stretch, index - maxLag, frames);
        }
        for (; index < lagCount; ++index)
        {
            const FrameRange own = UsableFrames(stretch, index - maxLag, frames);
            sums[static_cast<std::size_t>(index)] = AddLagTerms(
                sums[static_cast<std::size_t>(index)], stretch, index - maxLag, own.begin, own.end);
        }
    }
    return sums;
}
