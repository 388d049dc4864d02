#pragma once

#include "engine/audio_buffer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Where an add-on runs. PREMATCH runs before stage 1; the other four run after
// stage 3 in increasing order, PRELIMITER last before stage 4.
enum ChainPosition : int
{
    ChainPreMatch = 0,
    ChainPostMatchTone = 1,
    ChainPostMatchDynamics = 2,
    ChainStereoImage = 3,
    ChainPreLimiter = 4,
};

inline constexpr int kChainPositionCount = 5;

inline constexpr int kAddonParamContinuous = 0;
// Stored as on for a value of 0.5 or more, reported as 1.0 or 0.0.
inline constexpr int kAddonParamToggle = 1;

// One add-on parameter as the add-on reports it. The units in use are "", "dB",
// "Hz", "ms", "dBTP", "bins", ":1" and "x"; the step is a hint for controls only.
struct AddonParamSpec
{
    std::string id;
    std::string label;
    int kind = kAddonParamContinuous;
    double minValue = 0.0;
    double maxValue = 1.0;
    double defaultValue = 0.0;
    double step = 0.0;
    std::string unit;
};

// What a run tells the add-ons of one chain position. Add-ons read sampleRate
// and floor only; the rest describes the run for diagnostics.
struct ProcessContext
{
    int sampleRate = 0;
    double floor = 1e-6;  // linear level floor of the run
    double ceiling = 1.0; // linear peak ceiling of the run at this point
    bool hasIntegratedLufs = false;
    double integratedLufs = 0.0;
    bool hasLoudnessRange = false;
    double loudnessRange = 0.0;
};

// An add-on processor. Every run creates fresh instances, so there is no
// prepare, reset or latency operation: an instance starts with its defaults,
// is configured with setParameter and processes one whole buffer once.
class IAudioProcessor
{
public:
    virtual ~IAudioProcessor() = default;

    // The texts live as long as the program.
    virtual const char* id() const = 0;
    virtual const char* displayName() const = 0;
    virtual const char* description() const = 0;
    virtual const char* bestUse() const = 0;
    // A ChainPosition, the same for every instance of a class.
    virtual int chainPosition() const = 0;
    // In display order; defaults are the table's, not the current values.
    virtual std::vector<AddonParamSpec> parameters() const = 0;
    // Clamps into the parameter's range; false (and nothing changes) for an id
    // the add-on does not have or a value that is not a number.
    virtual bool setParameter(const std::string& id, double value) = 0;
    // False, with out untouched, for an id the add-on does not have.
    virtual bool getParameter(const std::string& id, double& out) const = 0;
    // Changes the sample values of the whole interleaved stereo buffer in place;
    // never their number, the rate, the meter series or the stage metrics.
    virtual void process(AudioBuffer& buffer, const ProcessContext& context) = 0;
};

// The class every add-on derives from; it adds nothing to the interface.
class AudioProcessorBase : public IAudioProcessor
{
};

// Creates a fresh add-on by id, or null for an id it does not know. The
// registry's CreateProcessor is the one the program uses.
using ProcessorFactory = std::function<std::unique_ptr<IAudioProcessor>(const std::string& id)>;
