#pragma once

#include "engine/stages/limiter_mode.h"

#include <filesystem>
#include <string>
#include <vector>

// The engine settings of one mastering setup. The first eight fields are
// analysis settings that no file stores; the last twelve are the "match" keys
// of a settings document. Each field has one row in kMatchSettingFields
// (engine/settings/match_setting_table.h), which names its JSON key, its
// parameter and the preview scope it raises.
struct MatchSettings
{
    int internalSampleRate = 48000;
    double maxPieceSeconds = 15.0;
    double peakCeiling = 32707.0 / 32768.0; // 0.998138427734375, just under 16-bit full scale
    double floor = 1e-6;
    int fftSize = 4096;
    int linLogOversampling = 4;
    int stage3Iterations = 4;
    double toneReserved = 0.0375;

    int smoothingOctaveDenominator = 6;
    double stereoWidthAmount = 1.0;
    double stereoBoostAmount = 1.0;
    bool psychoacoustic = false;
    bool adaptiveStrength = false;
    int limiterMode = LimiterStandard; // a LimiterMode
    int limiterOversample = 1;
    double stage2Strength = 0.75;
    double stage3Strength = 1.0;
    double stage3MacroStrength = 0.0;
    double stage4LoudnessStrength = 1.0;
    double stage4LimiterStrength = 1.0;
};

struct ChainParameterValue
{
    std::string id;
    double value = 0.0;
};

// One add-on of a chain; ids are not checked against the registry here.
struct ChainEntry
{
    std::string id;
    bool enabled = true;
    std::vector<ChainParameterValue> parameters;
};

// A session, a style (".mst") or a preset (".msp"): one JSON format for all three.
struct MasteringSettings
{
    int version = 1;
    MatchSettings match;
    std::string referenceProfileFileName = "Balanced.prs";
    bool referenceProfileIsFactory = true;
    std::vector<ChainEntry> addons;

    // The twelve stored match settings as the engine parameters (section and
    // key, compared exactly) that controls adjust; choices are read and written
    // as their index. False, and nothing changes, for any other parameter (the
    // "session" ones included) and for a value that is not finite.
    bool GetCanonicalValue(const std::string& section, const std::string& key, double& value) const;
    bool SetCanonicalValue(const std::string& section, const std::string& key, double value);

    // Replaces the file atomically; throws std::runtime_error
    // "Failed to write settings file: <path>" when it cannot, and the previous
    // file is then left as it was.
    void SaveToFile(const std::wstring& path) const;

    // Reads a document over the defaults: a missing or mistyped value keeps its
    // default. Throws std::runtime_error "Failed to parse session file: <path>"
    // when the file cannot be opened or parsed or its root is not an object.
    static MasteringSettings LoadFromFile(const std::filesystem::path& path);
};
