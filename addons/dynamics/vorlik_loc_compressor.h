#pragma once

#include "addons/kit/addon_base.h"

#include <array>
#include <string>
#include <vector>

// The settings the coefficient update derives from the stored values, which
// are used unclamped except where a value would stop the arithmetic: the drive
// is limited to +-1000 so that its gain stays finite.
struct LevelLocControls
{
    double driveGain;   // drive^2 * 19 + 1
    double thresholdDb; // -3 dB at distance 0 to -30 dB at distance 1
    double makeup;      // the inverse of the threshold, at most 10 (+20 dB)
    double releaseMs;   // 500, 250 or 50 ms, from the speed
    double smoothingMs; // the time of the gain smoother
};

LevelLocControls DeriveLevelLocControls(double drive, double distance, double speed,
                                        double gainReleaseMs);

// A feedback compressor in the vintage manner: a driven input saturator, a
// detector fed from the compressor's own previous output, a 20:1 gain computer
// with a 6 dB knee and a release that slows the longer the signal has stayed
// above the threshold, an optional transformer stage, a DC blocker and a mix.
//
// Unlike the other add-ons it stores its continuous values as given, reports
// its current values as the table's defaults, and keeps its filter and
// envelope states from one call to the next (a new rate starts them afresh,
// except the detector's high-pass). The engine creates it with the values of
// the eight-value constructor, not with table defaults of its own.
class LevelLocCompressor final : public AddonBase
{
public:
    LevelLocCompressor(double drive, double distance, double speed, double gainReleaseMs,
                       double transformerSat, double mix, bool useMosfet, bool vintageMode);

    std::vector<AddonParamSpec> parameters() const override;
    // Stores any finite value unclamped (a toggle is on from 0.5); refuses an
    // unknown id, NaN and +-inf.
    bool setParameter(const std::string& id, double value) override;
    bool getParameter(const std::string& id, double& out) const override;
    void process(AudioBuffer& buffer, const ProcessContext& context) override;

    // One channel's filter and envelope states with their coefficients.
    struct Channel
    {
        double envelope = 0.0;
        double attack = 0.0;
        double releaseInUse = 0.0; // slowed by the time above the threshold
        double baseRelease = 0.0;
        double releaseMs = 250.0;
        double sampleRate = 44100.0;
        double secondsAbove = 0.0; // time above the threshold, at most 2 s
        double smoothedGain = 1.0;
        double smoothing = 0.0;
        double highPassInput = 0.0; // the detector's 80 Hz high-pass
        double highPassOutput = 0.0;
        double highPassCoefficient = 0.0;
        double jfetLowPass = 0.0; // the 1960 JFET input's low-pass
        double previousInput = 0.0;
        double saturatorOutput = 0.0;
        double transformerLow = 0.0;
        double transformerHigh = 0.0;
        double transformerOutput = 0.0;
        double lowCoefficient = 0.0;  // 150 Hz one-pole
        double highCoefficient = 0.0; // 15 kHz one-pole
        double dcInput = 0.0;
        double dcOutput = 0.0;
        double dcPole = 0.995;
        double feedback = 0.0; // the last output before the DC blocker
    };

private:
    void Initialise(double sampleRate);
    LevelLocControls UpdateCoefficients();
    double Saturate(Channel& channel, double x) const;
    double InputStage(Channel& channel, double x) const;
    double GainFor(Channel& channel, double linkedLevel) const;

    std::array<double, 6> m_values; // the continuous parameters, in table order
    bool m_useMosfet;
    bool m_vintageMode;
    std::array<Channel, 2> m_channels{};
    double m_sampleRate = 0.0;
    bool m_initialised = false;
    double m_driveGain = 1.0;
    double m_thresholdDb = -16.5;
    double m_releaseMs = 250.0;
    double m_smoothingMs = 2.0;
};
