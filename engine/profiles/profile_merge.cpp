#include "engine/profiles/profile_merge.h"

#include "engine/decibels.h"
#include "engine/profiles/utc_timestamp.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace
{

constexpr const char* kDefaultMergedName = "Merged Profile";
constexpr const char* kDefaultMergedDescription = "Weighted merge of multiple reference profiles.";

[[noreturn]] void ThrowIncompatible(size_t inputIndex, const char* reason)
{
    throw std::runtime_error("Profile merge incompatibility at input " +
                             std::to_string(inputIndex) + ": " + reason);
}

// The reason input `candidate` cannot be merged with the template, or null.
const char* IncompatibilityReason(const ReferenceProfile& first, const ReferenceProfile& candidate)
{
    if (candidate.sampleRate != first.sampleRate)
        return "sampleRate differs";
    if (candidate.fftSize != first.fftSize)
        return "fftSize differs";
    if (candidate.linLogOversampling != first.linLogOversampling)
        return "linLogOversampling differs";
    if (candidate.smoothingOctaveDenominator != first.smoothingOctaveDenominator)
        return "smoothingOctaveDenominator differs";
    if (candidate.psychoacoustic != first.psychoacoustic)
        return "psychoacoustic flag differs";
    if (candidate.adaptiveStrength != first.adaptiveStrength)
        return "adaptiveStrength flag differs";
    if (candidate.midSpectrum.size() != first.midSpectrum.size())
        return "mid spectrum size differs";
    if (candidate.sideSpectrum.size() != first.sideSpectrum.size())
        return "side spectrum size differs";
    if (candidate.spectrumSets.size() != first.spectrumSets.size())
        return "spectrum set count differs";
    for (size_t s = 0; s < first.spectrumSets.size(); ++s)
    {
        const SpectrumSet& a = first.spectrumSets[s];
        const SpectrumSet& b = candidate.spectrumSets[s];
        if (b.fftSize != a.fftSize)
            return "spectrum set FFT layout differs";
        if (b.mid.size() != a.mid.size())
            return "spectrum set mid size differs";
        if (b.side.size() != a.side.size())
            return "spectrum set side size differs";
    }
    if (candidate.dynamicsSets.size() != first.dynamicsSets.size())
        return "dynamics set count differs";
    for (size_t s = 0; s < first.dynamicsSets.size(); ++s)
    {
        const DynamicsSet& a = first.dynamicsSets[s];
        const DynamicsSet& b = candidate.dynamicsSets[s];
        if (b.bandCount != a.bandCount)
            return "dynamics set band layout differs";
        if (b.bandRms.size() != a.bandRms.size())
            return "dynamics set RMS vector size differs";
    }
    return nullptr;
}

void CheckInputs(const std::vector<ProfileMergeInput>& inputs)
{
    if (inputs.empty())
    {
        throw std::runtime_error("Profile merge requires at least one input profile");
    }
    const ReferenceProfile& first = inputs.front().profile;
    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const double weight = inputs[i].weight;
        // An infinite weight would swamp the sum into inf / inf = NaN.
        if (!(weight > 0.0) || !std::isfinite(weight))
        {
            throw std::runtime_error("Profile merge weight must be > 0");
        }
        if (const char* reason = IncompatibilityReason(first, inputs[i].profile))
        {
            ThrowIncompatible(i, reason);
        }
    }
}

// The weights as the means use them. Finite weights can still overflow when
// added; only their ratios matter, so they are scaled down by the largest then.
std::vector<double> NormalisedWeights(const std::vector<ProfileMergeInput>& inputs)
{
    std::vector<double> weights;
    weights.reserve(inputs.size());
    for (const ProfileMergeInput& input : inputs)
    {
        weights.push_back(input.weight);
    }
    double total = 0.0;
    for (double weight : weights)
    {
        total += weight;
    }
    if (!std::isfinite(total))
    {
        const double largest = *std::max_element(weights.begin(), weights.end());
        total = 0.0;
        for (double& weight : weights)
        {
            weight /= largest;
            total += weight;
        }
    }
    return weights;
}

class WeightedAverager
{
public:
    explicit WeightedAverager(const std::vector<ProfileMergeInput>& inputs)
        : m_inputs(inputs), m_weights(NormalisedWeights(inputs))
    {
        for (double weight : m_weights)
        {
            m_total += weight;
        }
    }

    // Weighted mean of one number of every input.
    double Mean(const std::function<double(const ReferenceProfile&)>& value) const
    {
        double sum = 0.0;
        for (size_t i = 0; i < m_inputs.size(); ++i)
        {
            sum += m_weights[i] * value(m_inputs[i].profile);
        }
        return sum / m_total;
    }

    // Element-wise weighted mean of one list of every input (linear values).
    std::vector<double>
    MeanVector(const std::function<const std::vector<double>&(const ReferenceProfile&)>& list) const
    {
        std::vector<double> result(list(m_inputs.front().profile).size(), 0.0);
        for (size_t i = 0; i < m_inputs.size(); ++i)
        {
            const std::vector<double>& values = list(m_inputs[i].profile);
            for (size_t k = 0; k < result.size(); ++k)
            {
                result[k] += m_weights[i] * values[k];
            }
        }
        for (double& value : result)
        {
            value /= m_total;
        }
        return result;
    }

    // Spectra in dB averaged as amplitudes, floored before returning to dB.
    std::vector<double> MeanSpectrumDb(
        const std::function<const std::vector<double>&(const ReferenceProfile&)>& spectrum,
        double floorLinear) const
    {
        std::vector<double> amplitude(spectrum(m_inputs.front().profile).size(), 0.0);
        for (size_t i = 0; i < m_inputs.size(); ++i)
        {
            const std::vector<double>& db = spectrum(m_inputs[i].profile);
            for (size_t k = 0; k < amplitude.size(); ++k)
            {
                amplitude[k] += m_weights[i] * DbToGain(db[k]);
            }
        }
        for (double& value : amplitude)
        {
            value = GainToDb(value / m_total, floorLinear);
        }
        return amplitude;
    }

private:
    const std::vector<ProfileMergeInput>& m_inputs;
    std::vector<double> m_weights;
    double m_total = 0.0;
};

bool AllInputs(const std::vector<ProfileMergeInput>& inputs,
               bool (*has)(const ReferenceProfile& profile))
{
    return std::all_of(inputs.begin(), inputs.end(),
                       [&](const ProfileMergeInput& input) { return has(input.profile); });
}

} // namespace

ReferenceProfile MergeReferenceProfiles(const std::vector<ProfileMergeInput>& inputs,
                                        const std::string& name, const std::string& description)
{
    CheckInputs(inputs);
    const WeightedAverager average(inputs);

    ReferenceProfile result = inputs.front().profile;
    result.version = 6;

    result.referenceMatchRms =
        average.Mean([](const ReferenceProfile& p) { return p.referenceMatchRms; });
    result.finalAmplitudeCoefficient =
        average.Mean([](const ReferenceProfile& p) { return p.finalAmplitudeCoefficient; });
    result.truePeak = average.Mean([](const ReferenceProfile& p) { return p.truePeak; });

    result.hasIntegratedLufs =
        AllInputs(inputs, [](const ReferenceProfile& p) { return p.hasIntegratedLufs; });
    result.integratedLufs = result.hasIntegratedLufs ? average.Mean([](const ReferenceProfile& p)
                                                                    { return p.integratedLufs; })
                                                     : 0.0;

    result.hasShortTermDistribution =
        AllInputs(inputs, [](const ReferenceProfile& p) { return p.hasShortTermDistribution; });
    for (size_t q = 0; q < std::size(result.shortTermLufsPercentiles); ++q)
    {
        result.shortTermLufsPercentiles[q] =
            result.hasShortTermDistribution
                ? average.Mean([q](const ReferenceProfile& p)
                               { return p.shortTermLufsPercentiles[q]; })
                : 0.0;
    }
    result.loudnessRange = average.Mean([](const ReferenceProfile& p) { return p.loudnessRange; });
    for (size_t q = 0; q < std::size(result.pieceRmsPercentiles); ++q)
    {
        result.pieceRmsPercentiles[q] =
            average.Mean([q](const ReferenceProfile& p) { return p.pieceRmsPercentiles[q]; });
    }

    const bool anySingleBand =
        std::any_of(result.dynamicsSets.begin(), result.dynamicsSets.end(),
                    [](const DynamicsSet& set) { return set.bandCount == 1; });
    result.dynamicsBandCount =
        result.dynamicsSets.empty() || anySingleBand ? 1 : result.dynamicsSets.front().bandCount;
    for (size_t s = 0; s < result.dynamicsSets.size(); ++s)
    {
        result.dynamicsSets[s].bandRms =
            average.MeanVector([s](const ReferenceProfile& p) -> const std::vector<double>&
                               { return p.dynamicsSets[s].bandRms; });
    }

    const double floorLinear = result.floor;
    result.midSpectrum = average.MeanSpectrumDb(
        [](const ReferenceProfile& p) -> const std::vector<double>& { return p.midSpectrum; },
        floorLinear);
    result.sideSpectrum = average.MeanSpectrumDb(
        [](const ReferenceProfile& p) -> const std::vector<double>& { return p.sideSpectrum; },
        floorLinear);
    for (size_t s = 0; s < result.spectrumSets.size(); ++s)
    {
        result.spectrumSets[s].mid =
            average.MeanSpectrumDb([s](const ReferenceProfile& p) -> const std::vector<double>&
                                   { return p.spectrumSets[s].mid; },
                                   floorLinear);
        result.spectrumSets[s].side =
            average.MeanSpectrumDb([s](const ReferenceProfile& p) -> const std::vector<double>&
                                   { return p.spectrumSets[s].side; },
                                   floorLinear);
    }
    if (!result.spectrumSets.empty())
    {
        result.midSpectrum = result.spectrumSets.front().mid;
        result.sideSpectrum = result.spectrumSets.front().side;
        result.fftSize = result.spectrumSets.front().fftSize;
    }

    result.name = name.empty() ? kDefaultMergedName : name;
    result.description = description.empty() ? kDefaultMergedDescription : description;
    result.createdAt = CurrentUtcTimestamp();
    result.sourcePath.clear();
    result.sourceFileName.clear();
    return result;
}

ReferenceProfile MergeReferenceProfileFiles(const std::vector<ProfileMergeFile>& files,
                                            const std::string& name, const std::string& description)
{
    std::vector<ProfileMergeInput> inputs;
    inputs.reserve(files.size());
    for (const ProfileMergeFile& file : files)
    {
        inputs.push_back({ReadReferenceProfile(file.path), file.weight});
    }
    return MergeReferenceProfiles(inputs, name, description);
}
