#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The multiband RMS fingerprint of a reference for one band count. The runs use
// a set only when bandCount is 1..8 and bandRms holds exactly that many values.
struct DynamicsSet
{
    int32_t bandCount = 0;
    std::vector<double> bandRms; // linear RMS per band

    bool operator==(const DynamicsSet&) const = default;
};

// Mid and side target spectra (dB per FFT bin, fftSize / 2 + 1 bins when
// made by analysis) for one FFT size.
struct SpectrumSet
{
    int32_t fftSize = 0;
    std::vector<double> mid;
    std::vector<double> side;

    bool operator==(const SpectrumSet&) const = default;
};

// The stored fingerprint of a reference master: the analysis settings it was
// made with, its level and loudness figures, dynamics sets and target spectra.
// midSpectrum / sideSpectrum mirror the spectrum set of the record's fftSize;
// they are not stored as such but travel inside spectrumSets.
struct ReferenceProfile
{
    uint32_t version = 6; // decides which optional fields a written file carries
    int32_t sampleRate = 0;
    int32_t fftSize = 0;
    int32_t linLogOversampling = 0;
    double toneReserved = 0.0375;
    int32_t smoothingOctaveDenominator = 6;
    bool psychoacoustic = false;
    bool adaptiveStrength = false;
    double maxPieceSeconds = 15.0;
    double peakCeiling = 1.0;
    double floor = 1e-6;
    double referenceMatchRms = 0.0;
    double finalAmplitudeCoefficient = 1.0;
    double truePeak = 0.0;
    bool hasIntegratedLufs = false;
    double integratedLufs = 0.0;
    bool hasShortTermDistribution = false;
    double shortTermLufsPercentiles[5] = {}; // 10th, 25th, 50th, 75th, 90th
    double loudnessRange = 0.0;
    double pieceRmsPercentiles[5] = {}; // 10th, 25th, 50th, 75th, 90th
    int32_t dynamicsBandCount = 1;
    std::vector<DynamicsSet> dynamicsSets;
    std::vector<double> midSpectrum;
    std::vector<double> sideSpectrum;
    std::vector<SpectrumSet> spectrumSets;
    std::string name; // the five texts are UTF-8
    std::string description;
    std::string createdAt; // "%Y-%m-%dT%H:%M:%SZ", UTC
    std::string sourcePath;
    std::string sourceFileName;
    int32_t sourceSampleRate = 0;

    bool operator==(const ReferenceProfile&) const = default;
};

// The ".prs" bytes of a profile. Throws std::runtime_error when a list or text
// is too long for the format's 32-bit counts.
std::string EncodeReferenceProfile(const ReferenceProfile& profile);

// Parses ".prs" bytes; throws std::runtime_error with the format's texts and
// never returns a partial record. Every count is checked against the bytes
// left before anything is allocated for it, so a corrupt count cannot
// exhaust memory.
ReferenceProfile DecodeReferenceProfile(std::string_view bytes);

// Replaces the file atomically: when writing fails the previous file is left
// as it was. Throws std::runtime_error.
void WriteReferenceProfile(const std::wstring& path, const ReferenceProfile& profile);

// Throws std::runtime_error when the file cannot be opened or is not a valid profile.
ReferenceProfile ReadReferenceProfile(const std::wstring& path);
