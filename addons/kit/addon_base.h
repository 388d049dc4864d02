#pragma once

#include "addons/kit/addon_parameters.h"
#include "engine/chain/audio_processor.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// Who an add-on is, kept as a constant in the add-on's source beside its
// parameter table. The texts are literals, so they live as long as the program.
struct AddonIdentity
{
    const char* id;
    const char* displayName;
    const char* description;
    const char* bestUse;
    int chainPosition; // a ChainPosition
};

// The base every add-on stands on: it answers the identity getters from the
// add-on's AddonIdentity and the parameter calls from its table, stored by the
// rules of AddonParameters, so an add-on is its identity, its table and
// process, and process reads the values by table index. A whole add-on:
//
//     // example_trim.h
//     class ExampleTrim final : public AddonBase
//     {
//     public:
//         ExampleTrim();
//         void process(AudioBuffer& buffer, const ProcessContext& context) override;
//     };
//
//     // example_trim.cpp (the enum and the two constants in an unnamed namespace)
//     enum Param { GainDb, Invert };
//     constexpr AddonIdentity kIdentity{"example_trim", "Example Trim", "Changes the level.",
//                                       "Anywhere a level needs a nudge.", ChainPreLimiter};
//     constexpr std::array<AddonParamDef, 2> kTable{{
//         {"gain_db", "Gain", kAddonParamContinuous, -12.0, 12.0, 0.0, 0.1, "dB"},
//         {"invert", "Invert", kAddonParamToggle, 0.0, 1.0, 0.0, 1.0, ""},
//     }};
//     ExampleTrim::ExampleTrim() : AddonBase(kIdentity, kTable) {}
//     void ExampleTrim::process(AudioBuffer& buffer, const ProcessContext&)
//     {
//         if (!IsWholeStereoBuffer(buffer)) return;
//         const double gain = DbToGain(Value(GainDb));
//         for (double& value : buffer.samples) value *= IsOn(Invert) ? -gain : gain;
//     }
//
// Every process runs its pass under a ScopedDenormalFlush
// (addons/kit/denormal_flush.h), taken once the entry guards have passed, and
// leaves the buffer untouched when a sample rate it reads is 0 or less, unless
// its own rules give that rate a fallback.
//
// Every getter stays virtual for the few add-ons that differ. One whose own
// storing rule replaces clamping for some parameter overrides setParameter (and
// getParameter, if it keeps that value itself) for those ids and hands the
// others to AddonBase::setParameter; one whose parameters report its current
// values overrides parameters, starting from AddonBase::parameters(). Its row in
// the add-on conformance table then says clampsToItsTable or
// reportsTableDefaults = false.
class AddonBase : public AudioProcessorBase
{
public:
    const char* id() const override;
    const char* displayName() const override;
    const char* description() const override;
    const char* bestUse() const override;
    int chainPosition() const override;
    std::vector<AddonParamSpec> parameters() const override;
    bool setParameter(const std::string& id, double value) override;
    bool getParameter(const std::string& id, double& out) const override;

protected:
    // The table must outlive the add-on (a constant of its source does). Every
    // value starts at its default. Throws std::length_error for a table longer
    // than kMaxAddonParameters.
    AddonBase(const AddonIdentity& identity, std::span<const AddonParamDef> table);

    // The current value of the table's row index.
    double Value(std::size_t index) const { return m_parameters.Value(index); }
    bool IsOn(std::size_t index) const { return m_parameters.IsOn(index); }

private:
    AddonIdentity m_identity;
    AddonParameters m_parameters;
};
