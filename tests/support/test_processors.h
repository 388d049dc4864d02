#pragma once

#include "engine/chain/audio_processor.h"

#include <cmath>
#include <memory>
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

class LoggingTestProcessor : public AudioProcessorBase
{
public:
    LoggingTestProcessor(std::string id, int position, ProcessorLog* log)
        : m_id(std::move(id)), m_position(position), m_log(log)
    {
        m_name = m_id + "#" + std::to_string(m_log != nullptr ? m_log->created++ : 0);
    }
    ~LoggingTestProcessor() override { Note("destroy"); }

    const char* id() const override { return m_id.c_str(); }
    const char* displayName() const override { return "Test Processor"; }
    const char* description() const override { return "Changes the level for tests."; }
    const char* bestUse() const override { return "Tests of the add-on chain."; }
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

    static bool StoreClamped(double value, double lowest, double highest, double& slot)
    {
        if (std::isnan(value))
        {
            return false;
        }
        slot = value < lowest ? lowest : (value > highest ? highest : value);
        return true;
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

    explicit TestGainProcessor(std::string id = "test_gain", int position = ChainPostMatchTone,
                               ProcessorLog* log = nullptr)
        : LoggingTestProcessor(std::move(id), position, log)
    {
    }

    std::vector<AddonParamSpec> parameters() const override
    {
        return {{"gain", "Gain", kAddonParamContinuous, 0.0, kMaxGain, 1.0, 0.01, "x"},
                {"invert", "Invert", kAddonParamToggle, 0.0, 1.0, 0.0, 1.0, ""}};
    }

    bool setParameter(const std::string& id, double value) override
    {
        if (id == "gain")
        {
            return StoreClamped(value, 0.0, kMaxGain, m_gain);
        }
        if (id == "invert" && !std::isnan(value))
        {
            m_invert = value >= 0.5;
            return true;
        }
        return false;
    }

    bool getParameter(const std::string& id, double& out) const override
    {
        if (id == "gain")
        {
            out = m_gain;
            return true;
        }
        if (id == "invert")
        {
            out = m_invert ? 1.0 : 0.0;
            return true;
        }
        return false;
    }

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        Note("process");
        if (buffer.samples.size() < 2 || buffer.samples.size() % 2 != 0)
        {
            return;
        }
        const double factor = m_invert ? -m_gain : m_gain;
        for (double& value : buffer.samples)
        {
            value *= factor;
        }
    }

private:
    double m_gain = 1.0;
    bool m_invert = false;
};

// Adds "offset" (-1 to 1) to every value, an odd trailing one included, so
// silence does not stay silent.
class TestOffsetProcessor final : public LoggingTestProcessor
{
public:
    explicit TestOffsetProcessor(std::string id = "test_offset", int position = ChainPreMatch,
                                 ProcessorLog* log = nullptr)
        : LoggingTestProcessor(std::move(id), position, log)
    {
    }

    std::vector<AddonParamSpec> parameters() const override
    {
        return {{"offset", "Offset", kAddonParamContinuous, -1.0, 1.0, 0.25, 0.01, ""}};
    }

    bool setParameter(const std::string& id, double value) override
    {
        return id == "offset" && StoreClamped(value, -1.0, 1.0, m_offset);
    }

    bool getParameter(const std::string& id, double& out) const override
    {
        if (id != "offset")
        {
            return false;
        }
        out = m_offset;
        return true;
    }

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        Note("process");
        if (buffer.samples.size() < 2)
        {
            return;
        }
        for (double& value : buffer.samples)
        {
            value += m_offset;
        }
    }

private:
    double m_offset = 0.25;
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
