#include "engine/dsp/oversampled_stream.h"

#include <algorithm>
#include <vector>

namespace
{

// Input frames upsampled per round: the window stays a few hundred kilobytes.
constexpr std::size_t kStreamFrames = 4096;

} // namespace

void StreamOversampled(const AudioBuffer& input, const Oversampler& oversampler, std::size_t reach,
                       const OversampledRunChange& change, double* output)
{
    const std::size_t inputFrames = input.FrameCount();
    const std::size_t factor = static_cast<std::size_t>(oversampler.Config().factor);
    const std::size_t frames = factor * inputFrames;
    // The downsampling filter's reach.
    const std::size_t half = factor * static_cast<std::size_t>(oversampler.Config().tapsPerPhase);
    std::vector<double> window;
    std::vector<double> piece;
    std::size_t windowFirst = 0;
    std::size_t upsampledInput = 0;
    std::size_t changedEnd = 0;
    std::size_t downEnd = 0;
    while (downEnd < inputFrames)
    {
        const std::size_t nextInput = std::min(inputFrames, upsampledInput + kStreamFrames);
        oversampler.UpsampleRange(input, upsampledInput, nextInput, piece);
        window.insert(window.end(), piece.begin(), piece.end());
        upsampledInput = nextInput;
        const std::size_t upsampledEnd = factor * upsampledInput;

        const std::size_t changeable = upsampledEnd == frames ? frames
                                       : upsampledEnd > reach ? upsampledEnd - reach
                                                              : 0;
        if (changeable > changedEnd)
        {
            change(changedEnd, changeable, window.data(), windowFirst);
            changedEnd = changeable;
        }

        // Output q reads changed frames up to q * factor + half.
        const std::size_t downable = changedEnd == frames ? inputFrames
                                     : changedEnd > half  ? (changedEnd - 1 - half) / factor + 1
                                                          : 0;
        if (downable > downEnd)
        {
            oversampler.DownsampleRange(window, windowFirst, frames, downEnd, downable,
                                        output + 2 * downEnd);
            downEnd = downable;
        }

        const std::size_t stillRead = factor * downEnd > half ? factor * downEnd - half : 0;
        if (stillRead > windowFirst)
        {
            window.erase(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(
                                                              2 * (stillRead - windowFirst)));
            windowFirst = stillRead;
        }
    }
}
