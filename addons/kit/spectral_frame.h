#pragma once

#include <complex>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

// The short-time spectrum of a whole track, frame by frame: each frame of N
// samples is windowed (periodic Hann), transformed forward, handed to the
// add-on's rule, mirrored back to a real spectrum, transformed back, windowed
// again and overlap-added; at the end every sample is divided by the summed
// window power. Frames start a hop of N / 4 apart from H - N on, while the
// start lies inside the track, the track counting as silence outside itself,
// so every sample lies in exactly four frames. A rule that changes no bin
// gives the track back to rounding, its first and last samples included.
//
// Bin magnitudes are those of the unscaled forward transform: a sine of
// amplitude 1 centred on a bin reads N / 4 there.
//
// Two real frames share one complex transform each way (the one frame in the
// real parts, the other in the imaginary parts): two frames of one channel a
// hop apart, or the two channels' frames at one start. Frames are worked in
// order and every sum is taken in the same order at every sample, so a result
// is the same to the bit from run to run. (A sample that is not finite spoils
// both frames of its transform, so it reaches a frame and a hop back.)

// A frame's spectrum: N complex values, of which the rule reads and changes
// bins 0 to N / 2; the frame rebuilds bins N / 2 + 1 to N - 1 from them.
using FrameSpectrum = std::vector<std::complex<double>>;

// What an add-on does to the bins of one frame, of one channel or of both.
using MonoFrameRule = std::function<void(FrameSpectrum& spectrum)>;
using StereoFrameRule = std::function<void(FrameSpectrum& left, FrameSpectrum& right)>;
// What a measuring pass reads of each frame of one channel.
using FrameReader = std::function<void(const FrameSpectrum& spectrum)>;

// The frame length of every spectral add-on but the declipper.
inline constexpr std::size_t kSpectralFrameLength = 4096;

// Whether the frame starting at sample `frameStart` (negative before the track)
// must be worked; for a pass whose rule matters only over parts of the track.
using FrameWanted = std::function<bool(long frameStart)>;

// How many frames a track of `sampleFrames` gets: floor((C + N - H - 1) / H) + 1,
// floor((C + 3071) / 1024) + 1 for N = 4096.
std::size_t SpectralFrameCount(std::size_t sampleFrames, std::size_t frameLength);

class SpectralFrame
{
public:
    // frameLength: a power of two, at least 8 (the add-ons use 4096 and 8192).
    // Throws std::invalid_argument for any other length.
    explicit SpectralFrame(std::size_t frameLength);

    std::size_t FrameLength() const { return m_window.size(); }
    std::size_t Hop() const { return m_window.size() / 4; }
    // Bins 0 to N / 2.
    std::size_t BinCount() const { return m_window.size() / 2 + 1; }
    const std::vector<double>& Window() const { return m_window; }
    // The summed window power at sample i is entry i mod H: the four frames
    // over a sample add their squared window values in the same order
    // wherever the sample lies.
    const std::vector<double>& HopWindowPower() const { return m_hopPower; }

    // One channel through the rule, over the samples input and output both
    // hold. The output may be the input itself: a sample is written only once
    // no later frame reads it.
    void Process(std::span<const double> input, std::span<double> output,
                 const MonoFrameRule& rule);

    // The same, leaving out the frames that are not wanted, two frames at a
    // time: a frame is left out only with the frame it shares a transform with,
    // so every frame worked comes out to the bit as in the whole pass. A sample
    // under a left-out frame keeps the value the output held.
    void Process(std::span<const double> input, std::span<double> output, const MonoFrameRule& rule,
                 const FrameWanted& wanted);

    // Analysis alone: every frame of one channel, in order, windowed and
    // transformed forward for the reader; nothing is transformed back.
    void Analyse(std::span<const double> input, const FrameReader& reader);

    // Both channels together, frame by frame at the same starts; each output may
    // be its own input.
    void Process(std::span<const double> left, std::span<const double> right,
                 std::span<double> leftOutput, std::span<double> rightOutput,
                 const StereoFrameRule& rule);

private:
    // The running overlap-add of one channel: the N samples from the current
    // frame's start on.
    struct Accumulator
    {
        std::vector<double> sum;
    };

    // Called after each pair of frames of one channel: the first frame's
    // start, whether the second frame is there, and whether the pair went
    // through the rule (a pair that is not wanted is neither analysed nor
    // handed to it).
    using FramePairDone = std::function<void(long start, bool pair, bool worked)>;

    // Every frame of one channel, in pairs a hop apart, analysed and handed
    // to the rule, the first of a pair before the second; with `wanted`, a
    // pair of which neither frame is wanted is left out.
    void ForEachFramePair(std::span<const double> input, const MonoFrameRule& rule,
                          const FramePairDone& done, const FrameWanted& wanted);
    // The spectra of frame a of one input and frame b of another (zero
    // unless withB) from one transform.
    void AnalysePair(std::span<const double> a, long startA, std::span<const double> b, long startB,
                     bool withB);
    // Mirrors both spectra, transforms them back together and adds frame a
    // (and b, when withB) to its accumulator.
    void SynthesisePair(Accumulator& a, Accumulator& b, bool withB);
    // Writes the samples from `writeFrom` on.
    void Emit(Accumulator& accumulator, long start, std::span<double> output,
              long writeFrom = 0) const;

    std::vector<double> m_window;
    std::vector<double> m_hopPower;
    FrameSpectrum m_spectra[2];
    FrameSpectrum m_packed;
    Accumulator m_accumulators[2];
};
