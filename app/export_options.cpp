#include "app/export_options.h"

#include "base/unicode_text.h"
#include "controls/base/user_folders.h"

#include <cwctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

const std::array<DeliveryTarget, kDeliveryTargetCount> kDeliveryTargets = {{
    {"spotify_loud", "Spotify (Loud)", "Spotify with Loud normalization enabled", -11, -1},
    {"spotify", "Spotify", "Spotify default normalization", -14, -1},
    {"apple_music", "Apple Music", "Apple Music Sound Check target", -16, -1},
    {"apple_podcast", "Apple Podcasts", "Apple Podcasts loudness recommendation", -16, -1},
    {"youtube_music", "YouTube Music", "YouTube loudness normalization", -14, -1},
    {"youtube", "YouTube (Video)", "YouTube video loudness normalization", -14, -1},
    {"tidal", "Tidal", "Tidal loudness normalization", -14, -1},
    {"amazon_music", "Amazon Music", "Amazon Music loudness target", -14, -2},
    {"deezer", "Deezer", "Deezer loudness normalization", -15, -1},
    {"pandora", "Pandora", "Pandora loudness normalization", -14, -1},
    {"soundcloud", "SoundCloud", "SoundCloud loudness normalization", -14, -1},
    {"ebu_r128", "EBU R128", "European broadcast standard", -23, -1},
    {"atsc_a85", "ATSC A/85", "US broadcast standard (FCC compliant)", -24, -2},
    {"arib_tr_b32", "ARIB TR-B32", "Japanese broadcast standard", -24, -1},
    {"op_rec_128", "OP-59 / R128 (Australia)", "Free TV Australia broadcast loudness", -24, -2},
    {"film_dialnorm", "Film Dialogue Norm", "Dolby dialogue normalization for cinema", -27, -1},
    {"netflix", "Netflix", "Netflix online delivery loudness spec", -27, -2},
    {"podcast_general", "Podcast (General)", "Common podcast loudness target", -16, -1},
    {"podcast_loud", "Podcast (Loud)", "Louder podcast target for noisy environments", -14, -1},
    {"spotify_podcast", "Spotify (Podcast)", "Spotify podcast loudness recommendation", -14, -1},
    {"mastering_hot", "Mastering (Hot)", "Loud commercial master, typical pop/EDM/hip-hop", -8,
     -0.3},
    {"mastering_modern", "Mastering (Modern)", "Moderate loudness, wide genre suitability", -10,
     -0.5},
    {"mastering_dynamic", "Mastering (Dynamic)", "Dynamic master, jazz/acoustic/classical-leaning",
     -14, -1},
    {"mastering_classical", "Mastering (Classical)", "Wide dynamic range, classical and orchestral",
     -18, -1},
    {"mastering_vinyl", "Mastering (Vinyl)", "Vinyl cutting target, conservative ceiling", -12, -1},
    {"cd_standard", "CD (Standard)", "Typical CD release loudness", -9, -0.3},
    {"cd_dynamic", "CD (Dynamic)", "Audiophile-friendly CD loudness", -14, -0.3},
    {"game_cinematic", "Game (Cinematic)", "In-game cinematic / cutscene target", -23, -1},
    {"game_music", "Game (Music)", "In-game music bed loudness", -18, -1},
    {"instagram", "Instagram / Reels", "Instagram and Reels loudness target", -14, -1},
    {"tiktok", "TikTok", "TikTok loudness normalization", -14, -1},
    {"facebook", "Facebook / Meta", "Facebook video loudness target", -16, -1},
    {"twitch", "Twitch", "Twitch VOD loudness target", -14, -1},
}};

LastExportSettings& LastExportSettings::Current()
{
    static LastExportSettings settings;
    return settings;
}

namespace
{

std::wstring LowerExtension(const fs::path& path)
{
    std::wstring extension = FsPathToWide(path.extension());
    for (wchar_t& c : extension)
    {
        c = wchar_t(std::towlower(wint_t(c)));
    }
    return extension;
}

bool IsKnownAudioExtension(const std::wstring& lower)
{
    return lower == L".wav" || lower == L".flac" || lower == L".mp3" || lower == L".ogg";
}

} // namespace

const wchar_t* ExportExtension(int format)
{
    switch (format)
    {
    case ExportFlac:
        return L".flac";
    case ExportMp3:
        return L".mp3";
    case ExportOgg:
        return L".ogg";
    default:
        return L".wav";
    }
}

int ExportFormatForPath(const std::wstring& path)
{
    const std::wstring extension = LowerExtension(WidePathToFs(path));
    if (extension == L".flac")
    {
        return ExportFlac;
    }
    if (extension == L".mp3")
    {
        return ExportMp3;
    }
    if (extension == L".ogg")
    {
        return ExportOgg;
    }
    return ExportWav;
}

std::wstring DefaultExportPath(const std::wstring& inputPath)
{
    std::error_code error;
    if (inputPath.empty())
    {
        std::wstring documents = DocumentsFolder();
        fs::path folder = documents.empty() ? fs::current_path(error) : WidePathToFs(documents);
        return FsPathToWide(folder / "processed_output");
    }
    const fs::path input = WidePathToFs(inputPath);
    fs::path folder = input.parent_path();
    if (folder.empty())
    {
        folder = fs::current_path(error);
    }
    fs::path name = input.stem();
    name += "_processed";
    return FsPathToWide(folder / name);
}

std::wstring RemoveKnownAudioExtension(const std::wstring& path)
{
    const fs::path fsPath = WidePathToFs(path);
    if (path.empty() || !IsKnownAudioExtension(LowerExtension(fsPath)))
    {
        return path;
    }
    return FsPathToWide(fsPath.parent_path() / fsPath.stem());
}

std::wstring EnsureExportExtension(const std::wstring& path, int format)
{
    if (path.empty())
    {
        return path;
    }
    fs::path fsPath = WidePathToFs(path);
    if (IsKnownAudioExtension(LowerExtension(fsPath)))
    {
        fsPath.replace_extension();
    }
    return FsPathToWide(fsPath) + ExportExtension(format);
}

int ResolveExportSampleRate(int choice, int trackRate, int internalRate, int format)
{
    int rate = choice;
    if (choice == -1)
    {
        rate = trackRate;
    }
    else if (choice == 0)
    {
        rate = internalRate >= 1 ? internalRate : trackRate;
    }
    constexpr int kMp3HighestRate = 48000; // MPEG-1 Layer III tops out at 48 kHz
    if (format == ExportMp3 && rate > kMp3HighestRate)
    {
        rate = kMp3HighestRate;
    }
    return rate;
}
