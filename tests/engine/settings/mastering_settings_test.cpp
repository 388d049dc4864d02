#include "engine/settings/mastering_settings.h"

#include "base/unicode_text.h"
#include "engine/settings/json_document.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

MasteringSettings LoadText(const TempDir& dir, const std::string& text)
{
    const auto path = dir / "session.mst";
    WriteFileBytes(path, text);
    return MasteringSettings::LoadFromFile(path);
}

std::wstring WidePath(const std::filesystem::path& path)
{
    return Utf8ToWide(path.string());
}

MasteringSettings FullySetSettings()
{
    MasteringSettings settings;
    settings.version = 3;
    settings.referenceProfileFileName = "Warm \xC3\xA9.prs";
    settings.referenceProfileIsFactory = false;
    MatchSettings& m = settings.match;
    m.smoothingOctaveDenominator = 12;
    m.stereoWidthAmount = 0.5;
    m.stereoBoostAmount = 1.25;
    m.psychoacoustic = true;
    m.adaptiveStrength = true;
    m.limiterMode = 2;
    m.limiterOversample = 4;
    m.stage2Strength = 0.5;
    m.stage3Strength = 0.25;
    m.stage3MacroStrength = 0.75;
    m.stage4LoudnessStrength = 0.125;
    m.stage4LimiterStrength = 0.0625;
    settings.addons = {
        {"air_shelf", true, {{"gain_db", 1.5}, {"freq_hz", 12000.0}}},
        {"glue_compressor", false, {}},
        {"air_shelf", true, {{"gain_db", -2.0}}},
    };
    return settings;
}

} // namespace

TEST(MasteringSettings, EmptyObjectLoadsAsTheDefaults)
{
    TempDir dir;
    const MasteringSettings settings = LoadText(dir, "{}");
    EXPECT_EQ(settings.version, 1);
    EXPECT_EQ(settings.referenceProfileFileName, "Balanced.prs");
    EXPECT_TRUE(settings.referenceProfileIsFactory);
    EXPECT_TRUE(settings.addons.empty());
    EXPECT_EQ(settings.match.stage2Strength, 0.75);
    EXPECT_EQ(settings.match.limiterOversample, 1);
    EXPECT_EQ(settings.match.peakCeiling, 0.998138427734375);
}

TEST(MasteringSettings, SaveAndLoadRoundTripEveryStoredField)
{
    TempDir dir;
    const MasteringSettings saved = FullySetSettings();
    saved.SaveToFile(WidePath(dir / "style.mst"));

    const MasteringSettings loaded = MasteringSettings::LoadFromFile(dir / "style.mst");

    EXPECT_EQ(loaded.version, 3);
    EXPECT_EQ(loaded.referenceProfileFileName, saved.referenceProfileFileName);
    EXPECT_FALSE(loaded.referenceProfileIsFactory);
    const MatchSettings& m = loaded.match;
    EXPECT_EQ(m.smoothingOctaveDenominator, 12);
    EXPECT_EQ(m.stereoWidthAmount, 0.5);
    EXPECT_EQ(m.stereoBoostAmount, 1.25);
    EXPECT_TRUE(m.psychoacoustic);
    EXPECT_TRUE(m.adaptiveStrength);
    EXPECT_EQ(m.limiterMode, 2);
    EXPECT_EQ(m.limiterOversample, 4);
    EXPECT_EQ(m.stage2Strength, 0.5);
    EXPECT_EQ(m.stage3Strength, 0.25);
    EXPECT_EQ(m.stage3MacroStrength, 0.75);
    EXPECT_EQ(m.stage4LoudnessStrength, 0.125);
    EXPECT_EQ(m.stage4LimiterStrength, 0.0625);
    ASSERT_EQ(loaded.addons.size(), 3u) << "duplicates and disabled entries are kept in order";
    EXPECT_EQ(loaded.addons[0].id, "air_shelf");
    EXPECT_EQ(loaded.addons[0].parameters[1].id, "freq_hz");
    EXPECT_EQ(loaded.addons[0].parameters[1].value, 12000.0);
    EXPECT_FALSE(loaded.addons[1].enabled);
    EXPECT_TRUE(loaded.addons[1].parameters.empty());
    EXPECT_EQ(loaded.addons[2].parameters[0].value, -2.0);
}

TEST(MasteringSettings, AnalysisSettingsAreNeverStored)
{
    TempDir dir;
    MasteringSettings saved;
    saved.match.internalSampleRate = 96000;
    saved.match.fftSize = 1024;
    saved.SaveToFile(WidePath(dir / "s.mst"));

    const std::string text = ReadFileBytes(dir / "s.mst");
    EXPECT_EQ(text.find("internalSampleRate"), std::string::npos);
    EXPECT_EQ(text.find("fftSize"), std::string::npos);
    EXPECT_EQ(MasteringSettings::LoadFromFile(dir / "s.mst").match.internalSampleRate, 48000);
}

TEST(MasteringSettings, SavedTextIsSortedWithIndentTwo)
{
    TempDir dir;
    MasteringSettings settings;
    settings.addons = {{"air_shelf", true, {{"gain_db", 0.12345}}}};
    settings.SaveToFile(WidePath(dir / "s.mst"));

    const std::string expected = R"({
  "addons": [
    {
      "enabled": true,
      "id": "air_shelf",
      "parameters": [
        {
          "id": "gain_db",
          "value": 0.1235
        }
      ]
    }
  ],
  "match": {
    "adaptiveStrength": false,
    "limiterMode": 0,
    "limiterOversample": 1,
    "psychoacoustic": false,
    "smoothingOctaveDenominator": 6,
    "stage2Strength": 0.75,
    "stage3MacroStrength": 0.0,
    "stage3Strength": 1.0,
    "stage4LimiterStrength": 1.0,
    "stage4LoudnessStrength": 1.0,
    "stereoBoostAmount": 1.0,
    "stereoWidthAmount": 1.0
  },
  "referenceProfileFileName": "Balanced.prs",
  "referenceProfileIsFactory": true,
  "version": 1
})";
    EXPECT_EQ(ReadFileBytes(dir / "s.mst"), expected);
}

TEST(MasteringSettings, EmptyChainIsWrittenAsAnEmptyArray)
{
    TempDir dir;
    MasteringSettings().SaveToFile(WidePath(dir / "s.mst"));
    EXPECT_NE(ReadFileBytes(dir / "s.mst").find("\"addons\": []"), std::string::npos);
}

TEST(MasteringSettings, StoredChainValuesKeepFourDecimalsHalvesAwayFromZero)
{
    struct Case
    {
        double value;
        double stored;
    };
    const Case cases[] = {{0.12345, 0.1235},   {-0.00005, -0.0001}, {0.00005, 0.0001},
                          {-0.12345, -0.1235}, {2.0, 2.0},          {0.00004, 0.0},
                          {1e300, 1e300}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(RoundToFourDecimals(c.value), c.stored) << c.value;
    }

    TempDir dir;
    MasteringSettings settings;
    settings.addons = {{"x", true, {{"a", 0.12345}, {"b", -0.00005}}}};
    settings.SaveToFile(WidePath(dir / "s.mst"));
    const MasteringSettings loaded = MasteringSettings::LoadFromFile(dir / "s.mst");
    EXPECT_EQ(loaded.addons[0].parameters[0].value, 0.1235);
    EXPECT_EQ(loaded.addons[0].parameters[1].value, -0.0001);
}

TEST(MasteringSettings, ValuesAreTakenOnlyInTheirExpectedType)
{
    TempDir dir;
    struct Case
    {
        const char* json;
        bool (*holds)(const MasteringSettings&);
    };
    const Case cases[] = {
        {R"({"match": {"limiterMode": 2.0}})",
         [](const MasteringSettings& s) { return s.match.limiterMode == 0; }},
        {R"({"match": {"stage2Strength": 1}})",
         [](const MasteringSettings& s) { return s.match.stage2Strength == 1.0; }},
        {R"({"match": {"psychoacoustic": 1}})",
         [](const MasteringSettings& s) { return !s.match.psychoacoustic; }},
        {R"({"match": {"stereoWidthAmount": "0.5"}})",
         [](const MasteringSettings& s) { return s.match.stereoWidthAmount == 1.0; }},
        {R"({"match": {"smoothingOctaveDenominator": 3, "other": 1}})",
         [](const MasteringSettings& s) { return s.match.smoothingOctaveDenominator == 3; }},
        {R"({"match": [1, 2]})",
         [](const MasteringSettings& s) { return s.match.stage2Strength == 0.75; }},
        {R"({"version": 2})", [](const MasteringSettings& s) { return s.version == 2; }},
        {R"({"version": -2})", [](const MasteringSettings& s) { return s.version == -2; }},
        {R"({"version": 2.5})", [](const MasteringSettings& s) { return s.version == 1; }},
        {R"({"version": 4294967296})", [](const MasteringSettings& s) { return s.version == 1; }},
        {R"({"version": 2147483648})", [](const MasteringSettings& s) { return s.version == 1; }},
        {R"({"version": 18446744073709551615})",
         [](const MasteringSettings& s) { return s.version == 1; }},
        {R"({"referenceProfileFileName": 7})",
         [](const MasteringSettings& s) { return s.referenceProfileFileName == "Balanced.prs"; }},
        {R"({"referenceProfileIsFactory": "false"})",
         [](const MasteringSettings& s) { return s.referenceProfileIsFactory; }},
        {R"({"addons": {"id": "x"}})", [](const MasteringSettings& s) { return s.addons.empty(); }},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(c.holds(LoadText(dir, c.json))) << c.json;
    }
}

TEST(MasteringSettings, ChainEntriesWithoutIdAreDroppedAndEnabledDefaultsToTrue)
{
    TempDir dir;
    const MasteringSettings settings = LoadText(dir, R"({"addons": [
        {"enabled": false},
        {"id": ""},
        {"id": 5},
        3,
        "air_shelf",
        {"id": "air_shelf", "parameters": [
            {"id": "gain_db", "value": 2},
            {"value": 1.0},
            {"id": "", "value": 1.0},
            {"id": "q", "value": "1.0"},
            "x"
        ]},
        {"id": "glue", "enabled": 0, "parameters": {"id": "a"}}
    ]})");

    ASSERT_EQ(settings.addons.size(), 2u);
    const ChainEntry& shelf = settings.addons[0];
    EXPECT_EQ(shelf.id, "air_shelf");
    EXPECT_TRUE(shelf.enabled);
    ASSERT_EQ(shelf.parameters.size(), 2u);
    EXPECT_EQ(shelf.parameters[0].value, 2.0);
    EXPECT_EQ(shelf.parameters[1].id, "q");
    EXPECT_EQ(shelf.parameters[1].value, 0.0) << "a value that is not a number reads as 0";
    EXPECT_TRUE(settings.addons[1].enabled) << "0 is not a boolean";
    EXPECT_TRUE(settings.addons[1].parameters.empty());
}

TEST(MasteringSettings, UnreadableDocumentsNameTheFileInTheError)
{
    TempDir dir;
    const char* texts[] = {"",   "{\"version\": ", "{} trailing",         "[]",
                           "42", "\"text\"",       "{\"name\": \"\xFF\"}"};
    for (const char* text : texts)
    {
        const auto path = dir / "bad.mst";
        WriteFileBytes(path, text);
        try
        {
            MasteringSettings::LoadFromFile(path);
            ADD_FAILURE() << "accepted: " << text;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(std::string(error.what()), "Failed to parse session file: " + path.string());
        }
    }
    EXPECT_THROW(MasteringSettings::LoadFromFile(dir / "missing.mst"), std::runtime_error);
    EXPECT_THROW(MasteringSettings::LoadFromFile(dir.Path()), std::runtime_error);
}

TEST(MasteringSettings, NonAsciiPathSavesAndLoads)
{
    TempDir dir;
    const std::wstring folder = WidePath(dir.Path()) + L"/Pr\u00fcfung";
    std::filesystem::create_directory(WidePathToFs(folder));
    const std::wstring path = folder + L"/Mix \u00e9.mst";

    FullySetSettings().SaveToFile(path);

    EXPECT_EQ(MasteringSettings::LoadFromFile(WidePathToFs(path)).addons.size(), 3u);
}

TEST(MasteringSettings, FailedSaveThrowsAndKeepsThePreviousFile)
{
    TempDir dir;
    const auto path = dir / "style.mst";
    MasteringSettings().SaveToFile(WidePath(path));
    const std::string previous = ReadFileBytes(path);

    MasteringSettings invalidText;
    invalidText.referenceProfileFileName = "broken \xC3";
    try
    {
        invalidText.SaveToFile(WidePath(path));
        FAIL() << "a save that cannot be written must fail visibly";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_EQ(std::string(error.what()), "Failed to write settings file: " + path.string());
    }
    EXPECT_EQ(ReadFileBytes(path), previous);

    {
        FileSizeLimit diskFull(16);
        EXPECT_THROW(FullySetSettings().SaveToFile(WidePath(path)), std::runtime_error);
    }
    EXPECT_EQ(ReadFileBytes(path), previous);

    EXPECT_THROW(MasteringSettings().SaveToFile(WidePath(dir / "no such folder" / "s.mst")),
                 std::runtime_error);
    EXPECT_THROW(MasteringSettings().SaveToFile(WidePath(dir.Path())), std::runtime_error);
}
