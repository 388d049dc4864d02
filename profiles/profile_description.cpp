#include "profiles/profile_description.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kLargestBin = 4294967295.0;

struct TonalMeasures
{
    double lowEnd;   // L: (sub + bass) / 2 - mid
    double subTilt;  // S: sub - bass
    double top;      // T: top - (mid + lowMid) / 2
    double upperMid; // U: mid - lowMid
};

TonalMeasures MeasureTonalBalance(const ReferenceProfile& profile)
{
    const std::span<const double> mid = profile.midSpectrum;
    const std::size_t b70 = FrequencyToBin(profile, 70.0);
    const std::size_t b180 = FrequencyToBin(profile, 180.0);
    const std::size_t b500 = FrequencyToBin(profile, 500.0);
    const std::size_t b4000 = FrequencyToBin(profile, 4000.0);
    // Bin 0 (DC) says nothing about the sub region.
    const double sub = MeanOfRange(mid, 1, b70);
    const double bass = MeanOfRange(mid, b70, b180);
    const double lowMid = MeanOfRange(mid, b180, b500);
    const double midBand = MeanOfRange(mid, b500, b4000);
    const double top = MeanOfRange(mid, b4000, mid.size());
    return {(sub + bass) / 2.0 - midBand, sub - bass, top - (midBand + lowMid) / 2.0,
            midBand - lowMid};
}

const wchar_t* LowEndPhrase(double lowEnd)
{
    if (lowEnd >= 5.5)
        return L"bass-heavy";
    if (lowEnd >= 3.0)
        return L"bass-weighted";
    if (lowEnd <= -3.5)
        return L"lean low end";
    return L"even low-end balance";
}

const wchar_t* LowEndSuffix(double subTilt, double lowEnd)
{
    if (subTilt >= 2.5)
        return L" with stronger sub emphasis";
    if (subTilt <= -2.5 && lowEnd > 1.0)
        return L" with more upper-bass push";
    return L"";
}

const wchar_t* TopPhrase(double top)
{
    if (top >= 5.0)
        return L"bright extended top";
    if (top >= 2.0)
        return L"open top balance";
    if (top <= -5.0)
        return L"dark top balance";
    if (top <= -2.0)
        return L"darker top balance";
    return L"controlled top balance";
}

const wchar_t* UpperMidPhrase(double upperMid)
{
    if (upperMid >= 2.5)
        return L"forward upper mids";
    if (upperMid <= -2.5)
        return L"softer upper-mid presence";
    return L"balanced midrange";
}

const wchar_t* StereoBasePhrase(double highDb)
{
    if (highDb >= -2.0)
        return L"open upper stereo field";
    if (highDb >= -5.0)
        return L"moderately open stereo field";
    return L"focused stereo field";
}

const wchar_t* StereoLowSuffix(double lowDb)
{
    if (lowDb <= -10.0)
        return L" with tight low-end mono control";
    if (lowDb >= -5.0)
        return L" and wider low-band spread";
    return L"";
}

const wchar_t* StereoMidSuffix(double midDb)
{
    if (midDb <= -8.0)
        return L", center-held mids";
    return L"";
}

std::wstring DescribeStereoField(const ReferenceProfile& profile)
{
    const double highDb = SideMinusMidDb(profile, 2400.0, 0.0);
    const double lowDb = SideMinusMidDb(profile, 20.0, 180.0);
    const double midDb = SideMinusMidDb(profile, 350.0, 2400.0);
    return std::wstring(StereoBasePhrase(highDb)) + StereoLowSuffix(lowDb) + StereoMidSuffix(midDb);
}

const wchar_t* LoudnessPhrase(const ReferenceProfile& profile)
{
    if (!profile.hasIntegratedLufs)
        return L"moderate loudness intent";
    if (profile.integratedLufs >= -9.5)
        return L"loud modern density";
    if (profile.integratedLufs >= -12.5)
        return L"forward competitive density";
    if (profile.integratedLufs >= -15.5)
        return L"controlled loudness with retained dynamics";
    return L"conservative loudness with headroom";
}

const wchar_t* DynamicsSuffix(double loudnessRange)
{
    if (loudnessRange >= 9.0)
        return L", broad macro dynamics";
    if (loudnessRange > 0.0 && loudnessRange <= 5.0)
        return L", tight dynamic control";
    return L"";
}

} // namespace

std::uint32_t FrequencyToBin(const ReferenceProfile& profile, double frequencyHz)
{
    if (profile.sampleRate <= 0 || profile.fftSize <= 0)
        return 0;
    const double bin = std::floor(frequencyHz * static_cast<double>(profile.fftSize) /
                                  static_cast<double>(profile.sampleRate));
    // NaN fails the comparison and reads as bin 0.
    if (!(bin > 0.0))
        return 0;
    return static_cast<std::uint32_t>(std::min(bin, kLargestBin));
}

double MeanOfRange(std::span<const double> values, std::size_t first, std::size_t end)
{
    const std::size_t last = std::min(end, values.size());
    if (first >= last)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i)
        sum += values[i];
    return sum / static_cast<double>(last - first);
}

double SideMinusMidDb(const ReferenceProfile& profile, double lowHz, double highHz)
{
    if (profile.midSpectrum.empty() || profile.sideSpectrum.empty())
        return 0.0;
    const std::size_t first = FrequencyToBin(profile, lowHz);
    const std::size_t end =
        highHz > 0.0 ? FrequencyToBin(profile, highHz) : profile.midSpectrum.size();
    return MeanOfRange(profile.sideSpectrum, first, end) -
           MeanOfRange(profile.midSpectrum, first, end);
}

std::wstring DescribeTonalBalance(const ReferenceProfile& profile)
{
    if (profile.midSpectrum.empty())
        return L"balanced tonal profile";
    const TonalMeasures m = MeasureTonalBalance(profile);
    return std::wstring(LowEndPhrase(m.lowEnd)) + LowEndSuffix(m.subTilt, m.lowEnd) + L", " +
           TopPhrase(m.top) + L", " + UpperMidPhrase(m.upperMid);
}

std::wstring DescribeProfile(const ReferenceProfile& profile)
{
    return DescribeTonalBalance(profile) + L". " + DescribeStereoField(profile) + L". " +
           LoudnessPhrase(profile) + DynamicsSuffix(profile.loudnessRange) + L".";
}
