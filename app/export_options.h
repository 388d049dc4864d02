#pragma once

#include <array>
#include <string>

// The choices of the export dialog; the export controller remembers one for
// the rest of the program run.
struct ExportOptions
{
    int sampleRateChoice = 0; // 0 the internal rate ("Optimal"), -1 the track's ("Source"), else Hz
    int bitDepth = 24;        // 16 or 24 (WAV and FLAC)
    int format = 0;           // 0 WAV, 1 FLAC, 2 MP3, 3 OGG Vorbis (the dialog's order)
    int bitrateKbps = 192;    // 96, 128, 160, 192, 256 or 320
    int bitrateMode = 0;      // 0 CBR, 1 ABR, 2 VBR
    int quality = 80;         // 100 Best, 80 High, 60 Medium, 40 Low, 20 Draft
    int loudnessPreset = 0;   // 0 none, 1..33 the delivery target of that row
    int loudnessMode = 1;     // 0 adjust gain, 1 limit to target
    double targetLufs = -14.0;
    double ceilingDbtp = -1.0;
};

enum ExportFormat : int
{
    ExportWav = 0,
    ExportFlac = 1,
    ExportMp3 = 2,
    ExportOgg = 3,
};

// A loudness standard a platform or a broadcaster delivers at.
struct DeliveryTarget
{
    const char* identifier;
    const char* name;
    const char* description;
    double targetLufs;
    double ceilingDbtp;
};

inline constexpr int kDeliveryTargetCount = 33;
// Row r of the dialog's list (1-based, after "None") is entry r - 1.
extern const std::array<DeliveryTarget, kDeliveryTargetCount> kDeliveryTargets;

// What the export remembers for the program run; only the format and the
// overwrite flag also go to the settings file.
struct LastExportSettings
{
    bool registryRead = false;
    std::wstring outputPath;
    ExportOptions options;
    bool overwrite = false;

    // The one record of the running program.
    static LastExportSettings& Current();
};

// The first proposal for an export of the track at inputPath: its folder (the
// current one when it has none) and its stem followed by "_processed", without
// an extension. An empty input gives "processed_output" in the Documents folder.
std::wstring DefaultExportPath(const std::wstring& inputPath);

// The extension of the format replaces a known audio extension (".wav",
// ".flac", ".mp3", ".ogg", any case) or is appended to any other name, so
// "take.txt" becomes "take.txt.wav". Empty stays empty.
std::wstring EnsureExportExtension(const std::wstring& path, int format);

// The path without a known audio extension; any other path unchanged.
std::wstring RemoveKnownAudioExtension(const std::wstring& path);

// The format a path's extension names (any case): FLAC, MP3, OGG, else WAV.
int ExportFormatForPath(const std::wstring& path);

// ".wav", ".flac", ".mp3" or ".ogg" for a format (WAV for anything unknown).
const wchar_t* ExportExtension(int format);

// The output rate in Hz for a sample-rate choice: -1 the track's rate, 0 the
// internal rate (the track's when that is below 1), else the choice itself.
// MP3 cannot be encoded above 48 kHz, so for it a higher rate becomes 48000.
int ResolveExportSampleRate(int choice, int trackRate, int internalRate, int format);
