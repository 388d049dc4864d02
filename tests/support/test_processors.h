#pragma once

#include "addons/kit/addon_base.h"
#include "addons/kit/entry_guard.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Two small add-ons for tests of the chain and of the add-on conformance frame,
// so those tests need no production add-on and add nothing to the registry.

// What the test add-ons did, in order: "process <name>" and "destroy <name>",
// where a name is the id and a creation number ("test_gain#0").
struct ProcessorLog
{
    std::vector<std::string> events;
    int created = 0;
};

// The texts both test add-ons report, with the id and position of a default
// instance.
constexpr AddonIdentity TestAddonIdentity(const char* id, int position)
{
    return {id, "Test Processor", "Changes the level for tests.", "Tests of the add-on chain.",
            position};
}

// A test add-on on the kit's base whose id and position are the ones its test
// gave, so that tests can file instances at any position.
class LoggingTestProcessor : public AddonBase
{
public:
    LoggingTestProcessor(const AddonIdentity& identity, std::span<const AddonParamDef> table,
                         std::string id, int position, ProcessorLog* log)
        : AddonBase(identity, table), m_id(std::move(id)), m_position(position), m_log(log)
    {
        m_name = m_id + "#" + std::to_string(m_log != nullptr ? m_log->created++ : 0);
    }
    ~LoggingTestProcessor() override { Note("destroy"); }

    const char* id() const override { return m_id.c_str(); }
    int chainPosition() const override { return m_position; }

    const std::string& Name() const { return m_name; }

protected:
    void Note(const char* event) const
    {
        if (m_log != nullptr)
        {
            m_log->events.push_back(std::string(event) + " " + m_name);
        }
    }

private:
    std::string m_id;
    int m_position;
    ProcessorLog* m_log;
    std::string m_name;
};

// Multiplies whole frames by "gain" (0 to 8), negated when "invert" is on;
// leaves a buffer of an odd count untouched.
class TestGainProcessor final : public LoggingTestProcessor
{
public:
    static constexpr double kMaxGain = 8.0;
    static constexpr AddonIdentity kIdentity = TestAddonIdentity("test_gain", ChainPostMatchTone);
    static constexpr std::array<AddonParamDef, 2> kTable{{
        {"gain", "Gain", kAddonParamContinuous, 0.0, kMaxGain, 1.0, 0.01, "x"},
        {"invert", "Invert", kAddonParamToggle, 0.0, 1.0, 0.0, 1.0, ""},
    }};

    explicit TestGainProcessor(std::string id = kIdentity.id,
                               int position = kIdentity.chainPosition, ProcessorLog* log = nullptr)
        : LoggingTestProcessor(kIdentity, kTable, std::move(id), position, log)
    {
    }

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        Note("process");
        if (!IsWholeStereoBuffer(buffer))
        {
            return;
        }
        const double factor = IsOn(Invert) ? -Value(Gain) : Value(Gain);
        for (double& value : buffer.samples)
        {
            value *= factor;
        }
    }

private:
    enum Param
    {
        Gain,
        Invert
    };
};

// Adds "offset" (-1 to 1) to every value, an odd trailing one included, so
// silence does not stay silent.
class TestOffsetProcessor final : public LoggingTestProcessor
{
public:
    static constexpr AddonIdentity kIdentity = TestAddonIdentity("test_offset", ChainPreMatch);
    static constexpr std::array<AddonParamDef, 1> kTable{{
        {"offset", "Offset", kAddonParamContinuous, -1.0, 1.0, 0.25, 0.01, ""},
    }};

    explicit TestOffsetProcessor(std::string id = kIdentity.id,
                                 int position = kIdentity.chainPosition,
                                 ProcessorLog* log = nullptr)
        : LoggingTestProcessor(kIdentity, kTable, std::move(id), position, log)
    {
    }

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        Note("process");
        if (buffer.samples.size() < 2)
        {
            return;
        }
        const double offset = Value(Offset);
        for (double& value : buffer.samples)
        {
            value += offset;
        }
    }

private:
    enum Param
    {
        Offset
    };
};

// "test_gain" and "test_offset" at their own positions; null for anything else.
inline std::unique_ptr<IAudioProcessor> CreateTestProcessor(const std::string& id)
{
    if (id == "test_gain")
    {
        return std::make_unique<TestGainProcessor>();
    }
    if (id == "test_offset")
    {
        return std::make_unique<TestOffsetProcessor>();
    }
    return nullptr;
}
