// The export: its path and rate rules, the worker body over the real engine
// and writer with results through the posted queue.

#include "app/export_dialog.h"
#include "app/export_job.h"
#include "app/export_options.h"
#include "base/unicode_text.h"
#include "engine/io/audio_file_reader.h"
#include "engine/loudness/loudness.h"
#include "engine/profiles/synthetic_profile.h"
#include "engine/runs/full_run.h"
#include "tests/engine/loudness/loudness_fixtures.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/scripted_modal_test.h"
#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::wstring W(const fs::path& path)
{
    return FsPathToWide(path);
}

TEST(ExportPaths, DefaultProposalIsTheInputsFolderAndStemWithoutExtension)
{
    EXPECT_EQ(DefaultExportPath(L"/music/take one.wav"), L"/music/take one_processed");
    EXPECT_EQ(DefaultExportPath(L"/music/song.MP3"), L"/music/song_processed");
    EXPECT_EQ(DefaultExportPath(L"song.flac"), W(fs::current_path() / "song_processed"))
        << "a track path without a folder proposes the current directory";
    const fs::path fallback = WidePathToFs(DefaultExportPath(L""));
    EXPECT_TRUE(fallback.is_absolute());
    EXPECT_EQ(fallback.filename(), "processed_output");
}

TEST(ExportPaths, ExtensionFollowsTheFormat)
{
    struct Case
    {
        const wchar_t* path;
        int format;
        const wchar_t* ensured;
        const wchar_t* stripped; // the dialog's shown path
    };
    const Case cases[] = {
        {L"", ExportWav, L"", L""},
        {L"/a/mix_processed", ExportWav, L"/a/mix_processed.wav", L"/a/mix_processed"},
        {L"/a/mix_processed.flac", ExportMp3, L"/a/mix_processed.mp3", L"/a/mix_processed"},
        {L"/a/mix.WAV", ExportOgg, L"/a/mix.ogg", L"/a/mix"},
        {L"/a/mix.Ogg", ExportFlac, L"/a/mix.flac", L"/a/mix"},
        {L"/a/notes.txt", ExportWav, L"/a/notes.txt.wav", L"/a/notes.txt"},
        {L"/a/mix.aiff", ExportFlac, L"/a/mix.aiff.flac", L"/a/mix.aiff"},
        {L"mix.mp3", ExportWav, L"mix.wav", L"mix"},
        {L"/a.b/mix", ExportMp3, L"/a.b/mix.mp3", L"/a.b/mix"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(WideToUtf8(c.path));
        EXPECT_EQ(EnsureExportExtension(c.path, c.format), c.ensured);
        EXPECT_EQ(RemoveKnownAudioExtension(c.path), c.stripped);
    }
    EXPECT_EQ(ExportFormatForPath(L"/a/b.MP3"), ExportMp3);
    EXPECT_EQ(ExportFormatForPath(L"/a/b.flac"), ExportFlac);
    EXPECT_EQ(ExportFormatForPath(L"/a/b.oGG"), ExportOgg);
    EXPECT_EQ(ExportFormatForPath(L"/a/b.aiff"), ExportWav);
    EXPECT_EQ(ExportFormatForPath(L"/a/b"), ExportWav);
}

TEST(ExportRate, ChoiceResolvesToTheOutputRate)
{
    struct Case
    {
        int choice, trackRate, internalRate, format, expected;
    };
    const Case cases[] = {
        {-1, 44100, 48000, ExportWav, 44100},   // Source
        {0, 44100, 48000, ExportWav, 48000},    // Optimal
        {0, 44100, 0, ExportWav, 44100},        // no internal rate: the track's
        {96000, 44100, 48000, ExportFlac, 96000},
        {22050, 44100, 48000, ExportMp3, 22050},
        {96000, 44100, 48000, ExportMp3, 48000}, // MP3 cannot go above 48 kHz
        {-1, 96000, 48000, ExportMp3, 48000},
        {0, 44100, 96000, ExportMp3, 48000},
        {96000, 44100, 48000, ExportOgg, 96000},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ResolveExportSampleRate(c.choice, c.trackRate, c.internalRate, c.format),
                  c.expected)
            << "choice " << c.choice << " format " << c.format;
    }
}

TEST(ExportOptionsTable, DeliveryTargetsAreOneTableOfDistinctReachableTargets)
{
    std::set<std::string> identifiers;
    for (const DeliveryTarget& target : kDeliveryTargets)
    {
        identifiers.insert(target.identifier);
        EXPECT_TRUE(target.targetLufs >= -70.0 && target.targetLufs <= 0.0) << target.name;
        EXPECT_TRUE(target.ceilingDbtp >= -20.0 && target.ceilingDbtp <= 0.0) << target.name;
    }
    EXPECT_EQ(identifiers.size(), kDeliveryTargets.size());
    // Rows are 1-based in the dialog's list.
    EXPECT_STREQ(kDeliveryTargets[12 - 1].name, "EBU R128");
    EXPECT_EQ(kDeliveryTargets[12 - 1].targetLufs, -23.0);
    EXPECT_STREQ(kDeliveryTargets[21 - 1].identifier, "mastering_hot");
    EXPECT_EQ(kDeliveryTargets[21 - 1].ceilingDbtp, -0.3);
    EXPECT_STREQ(kDeliveryTargets[33 - 1].name, "Twitch");

    const LastExportSettings fresh;
    EXPECT_FALSE(fresh.registryRead);
    EXPECT_TRUE(fresh.outputPath.empty());
    EXPECT_EQ(fresh.options.bitrateKbps, 192);
    EXPECT_EQ(fresh.options.loudnessMode, 1);
    EXPECT_EQ(fresh.options.targetLufs, -14.0);
}

TEST(ExportProgressText, PercentRoundsHalfUp)
{
    EXPECT_EQ(ExportPercentText(0.999), L"100%");
    EXPECT_EQ(ExportPercentText(0.004), L"0%");
    EXPECT_EQ(ExportPercentText(0.005), L"1%");
    EXPECT_EQ(ExportPercentText(0.5), L"50%");
}

TEST(ExportResample, KeepsMeterSeriesAndMetricsAndCopiesWhenNothingToDo)
{
    AudioBuffer buffer = StereoSine(1000.0, 48000, 0.5, 0.5);
    buffer.meterSeries.push_back({"stage4.gr", 10.0, {1.0f, 2.0f}});
    buffer.stageMetrics.push_back({"stage4.lufs", -12.0});

    const AudioBuffer resampled = ResampleForExport(buffer, 44100);
    EXPECT_EQ(resampled.sampleRate, 44100);
    EXPECT_NEAR(double(resampled.FrameCount()), 0.5 * 44100, 2.0);
    ASSERT_EQ(resampled.meterSeries.size(), 1u);
    EXPECT_EQ(resampled.meterSeries[0].values.size(), 2u);
    ASSERT_EQ(resampled.stageMetrics.size(), 1u);

    for (int rate : {0, -5, 48000})
    {
        const AudioBuffer same = ResampleForExport(buffer, rate);
        EXPECT_EQ(same.sampleRate, 48000);
        EXPECT_EQ(same.samples, buffer.samples);
    }
    AudioBuffer rateless = buffer;
    rateless.sampleRate = 0;
    EXPECT_EQ(ResampleForExport(rateless, 44100).samples, buffer.samples);
}

// The worker body on its own thread, its records received by a window through
// the real posted queue.
class ExportWorker : public WindowTest
{
protected:
    ExportWorker()
    {
        RegisterExportPayloadDeleters();
        view.On(WMU_EXPORT_PROGRESS,
                [this](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                {
                    std::unique_ptr<ExportProgress> progress(
                        reinterpret_cast<ExportProgress*>(lParam));
                    progressTexts.push_back(progress->percentText + L" " + progress->stageText);
                    return 0;
                });
        view.On(WMU_EXPORT_FINISHED,
                [this](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                {
                    result.reset(reinterpret_cast<ExportResult*>(lParam));
                    return 0;
                });
        view.CreateTopLevel({0, 0, 100, 100});
        Settle();
    }

    std::unique_ptr<ExportJob> Job(const AudioBuffer& track, const fs::path& output, int format)
    {
        auto job = std::make_unique<ExportJob>();
        job->audio = track;
        job->profile = profile;
        job->outputPath = W(output);
        job->format = format;
        job->viewWindow = view.GetSafeHwnd();
        job->cancel = &cancel;
        return job;
    }

    // Runs the job on a thread and pumps until its result arrives.
    void Run(std::unique_ptr<ExportJob> job)
    {
        result.reset();
        progressTexts.clear();
        std::thread worker([&job] { RunExportJob(*job); });
        const bool done =
            session->PumpUntil([this] { return result != nullptr; }, std::chrono::seconds(120));
        worker.join();
        ASSERT_TRUE(done) << "no result was posted";
    }

    static const ReferenceProfile profile;
    RecordingWnd view{"view", log};
    std::atomic<bool> cancel{false};
    std::vector<std::wstring> progressTexts;
    std::unique_ptr<ExportResult> result;
    TempDir dir;
};

const ReferenceProfile ExportWorker::profile = BuildSyntheticDefaultProfile();

TEST_F(ExportWorker, WritesEveryFormatAtTheResolvedRate)
{
    const AudioBuffer track = StereoPinkNoise(44100, 1.0, 0.1, 7);
    struct Case
    {
        const char* name;
        int format;
        int bitDepth;
        int rate; // 0: the run's own rate
        int expectedRate;
    };
    const Case cases[] = {
        {"w16.wav", ExportWav, 16, 44100, 44100}, {"w24.wav", ExportWav, 24, 96000, 96000},
        {"f.flac", ExportFlac, 24, 0, 48000},     {"m.mp3", ExportMp3, 24, 48000, 48000},
        {"o.ogg", ExportOgg, 24, 44100, 44100},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto job = Job(track, dir / c.name, c.format);
        job->bitDepth = c.bitDepth;
        job->sampleRate = c.rate;
        Run(std::move(job));
        ASSERT_TRUE(result->success) << WideToUtf8(result->errorText);
        EXPECT_EQ(result->outputPath, W(dir / c.name));
        EXPECT_EQ(result->audio.sampleRate, 48000) << "the result holds the internal-rate output";
        EXPECT_EQ(result->audio.FrameCount(), 48000u);

        const AudioBuffer written = ReadAudioFile(W(dir / c.name));
        EXPECT_EQ(written.sampleRate, c.expectedRate);
        // Lossy codecs may pad or trim a few hundred frames at the ends.
        EXPECT_NEAR(double(written.FrameCount()), double(c.expectedRate), 0.02 * c.expectedRate);
        EXPECT_FALSE(progressTexts.empty());
    }
}

TEST_F(ExportWorker, DeliveryTargetNormalisesTheFileButNotTheResult)
{
    const AudioBuffer track = StereoPinkNoise(48000, 3.0, 0.1, 11);
    auto plain = Job(track, dir / "plain.wav", ExportWav);
    Run(std::move(plain));
    ASSERT_TRUE(result->success) << WideToUtf8(result->errorText);
    const AudioBuffer engineLevel = result->audio;
    const double engineLufs = MeasureLoudness(ReadAudioFile(W(dir / "plain.wav"))).integratedLufs;
    EXPECT_NEAR(engineLufs, MeasureLoudness(engineLevel).integratedLufs, 0.05)
        << "preset None must leave the engine level";

    auto job = Job(track, dir / "r128.wav", ExportWav);
    job->loudnessPreset = 12;
    job->loudnessMode = 1;
    job->targetLufs = kDeliveryTargets[11].targetLufs;
    job->ceilingDbtp = kDeliveryTargets[11].ceilingDbtp;
    Run(std::move(job));
    ASSERT_TRUE(result->success) << WideToUtf8(result->errorText);
    const AudioBuffer written = ReadAudioFile(W(dir / "r128.wav"));
    EXPECT_NEAR(MeasureLoudness(written).integratedLufs, -23.0, 0.5)
        << "normalised track missed its target";
    EXPECT_LE(loudness_fixtures::MeasureWithOracle(written).truePeakDbtp, -0.9)
        << "4x true peak went over the ceiling";
    EXPECT_EQ(result->audio.samples, engineLevel.samples)
        << "the result holds the engine output, not the normalised file";
}

TEST_F(ExportWorker, FailuresAndCancelArriveAsResults)
{
    const AudioBuffer track = StereoPinkNoise(48000, 1.0, 0.1, 5);

    // A folder that cannot be: the writer's error, wrapped.
    WriteFileBytes(dir / "plain file", "x");
    Run(Job(track, dir / "plain file" / "out.wav", ExportWav));
    EXPECT_FALSE(result->success);
    EXPECT_FALSE(result->cancelled);
    EXPECT_EQ(result->errorText.rfind(L"Processing failed:\n", 0), 0u)
        << WideToUtf8(result->errorText);
    EXPECT_TRUE(result->audio.samples.empty());

    // A write failing midway leaves the old file as it was.
    const fs::path existing = dir / "existing.wav";
    WriteFileBytes(existing, "old content");
    {
        FileSizeLimit limit(4096);
        Run(Job(track, existing, ExportWav));
    }
    EXPECT_FALSE(result->success);
    EXPECT_EQ(result->errorText.rfind(L"Processing failed:\n", 0), 0u);
    EXPECT_EQ(ReadFileBytes(existing), "old content");

    // Cancelled before the first progress point: no text, nothing written.
    cancel = true;
    Run(Job(track, dir / "cancelled.wav", ExportWav));
    EXPECT_FALSE(result->success);
    EXPECT_TRUE(result->cancelled);
    EXPECT_TRUE(result->errorText.empty());
    EXPECT_FALSE(fs::exists(dir / "cancelled.wav"));
}

TEST_F(ExportWorker, ProgressIsPostedOnlyWhenItsTextChanges)
{
    Run(Job(StereoPinkNoise(48000, 1.0, 0.1, 3), dir / "p.wav", ExportWav));
    ASSERT_TRUE(result->success);
    for (size_t i = 1; i < progressTexts.size(); ++i)
    {
        EXPECT_NE(progressTexts[i], progressTexts[i - 1]) << "a repeated progress post";
    }
}

TEST_F(ExportWorker, AGoneWindowGetsNothingAndTheRecordsAreFreed)
{
    auto job = Job(StereoPinkNoise(48000, 1.0, 0.1, 3), dir / "gone.wav", ExportWav);
    job->viewWindow = reinterpret_cast<HWND>(0x7777);
    RunExportJob(*job); // leaks under the sanitizer if a failed post kept its record
    PumpPendingMessages();
    EXPECT_EQ(result, nullptr);
    EXPECT_TRUE(fs::exists(dir / "gone.wav")) << "the file is still written";
}

class ExportUiTest : public ScriptedModalTest
{
protected:
    static void Select(HWND dialog, int id, int index)
    {
        ::SendMessageW(::GetDlgItem(dialog, id), CB_SETCURSEL, WPARAM(index), 0);
        Command(dialog, id, CBN_SELCHANGE);
    }
    static std::wstring Selected(const CComboBox& list)
    {
        CString text;
        list.GetLBText(list.GetCurSel(), text);
        return text.GetString();
    }
    static bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)); }
};

enum DialogId
{
    kBrowse = 1017,
    kRate = 1018,
    kDepth = 1019,
    kPath = 1020,
    kFormat = 1024,
    kBitrate = 1025,
    kMode = 1026,
    kQuality = 1027,
    kPreset = 1028,
    kTarget = 1029,
    kCeiling = 1030,
    kLoudnessMode = 1031,
};

using ExportDialogTest = ExportUiTest;

TEST_F(ExportDialogTest, OpensWithItsListsAndDefaults)
{
    CExportDialog dialog;
    dialog.sourceRate = 44100;
    dialog.outputPath = L"/music/mix_processed.flac";
    dialog.options.format = ExportFlac;
    drives.push_back(
        [&](HWND h)
        {
            EXPECT_EQ(TextOf(h, kPath), L"/music/mix_processed") << "the audio extension is hidden";
            EXPECT_EQ(dialog.sampleRateList.GetCount(), 5);
            EXPECT_EQ(Selected(dialog.sampleRateList), L"Optimal (48000 Hz)");
            CString source;
            dialog.sampleRateList.GetLBText(1, source);
            EXPECT_EQ(source, L"Source (44100 Hz)");
            EXPECT_EQ(Selected(dialog.formatList), L"FLAC");
            EXPECT_EQ(Selected(dialog.bitDepthList), L"24-bit PCM");
            EXPECT_EQ(Selected(dialog.bitrateList), L"192 kbps");
            EXPECT_EQ(Selected(dialog.modeList), L"CBR");
            EXPECT_EQ(Selected(dialog.qualityList), L"High");
            EXPECT_EQ(dialog.presetList.GetCount(), 34);
            EXPECT_EQ(Selected(dialog.presetList), L"None");
            CString row12;
            dialog.presetList.GetLBText(12, row12);
            EXPECT_EQ(row12, L"EBU R128") << "the list index is the table row";
            EXPECT_EQ(Selected(dialog.loudnessModeList), L"Limit to Target");
            EXPECT_EQ(TextOf(h, kTarget), L"-14");
            EXPECT_EQ(TextOf(h, kCeiling), L"-1");
            EXPECT_TRUE(Enabled(h, kDepth));
            EXPECT_FALSE(Enabled(h, kMode));
            EXPECT_FALSE(Enabled(h, kBitrate));
            EXPECT_FALSE(Enabled(h, kQuality));
            EXPECT_FALSE(Enabled(h, kTarget));
            EXPECT_FALSE(Enabled(h, kCeiling));
            EXPECT_FALSE(Enabled(h, kLoudnessMode));
            Command(h, IDCANCEL);
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    // Remembered values the lists do not hold fall back.
    CExportDialog unusual;
    unusual.internalRate = 0;
    unusual.options.sampleRateChoice = 22050;
    unusual.options.bitrateKbps = 100;
    unusual.options.quality = 10;
    unusual.options.format = 9;
    drives.push_back(
        [&](HWND h)
        {
            EXPECT_EQ(Selected(unusual.sampleRateList), L"Optimal");
            EXPECT_EQ(Selected(unusual.bitrateList), L"96 kbps");
            EXPECT_EQ(Selected(unusual.qualityList), L"High");
            EXPECT_EQ(Selected(unusual.formatList), L"WAV");
            CString source;
            unusual.sampleRateList.GetLBText(1, source);
            EXPECT_EQ(source, L"Source");
            Command(h, IDCANCEL);
        });
    unusual.DoModal();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ExportDialogTest, ChoicesSwitchTheDependentControls)
{
    CExportDialog dialog;
    drives.push_back(
        [&](HWND h)
        {
            Select(h, kFormat, ExportMp3);
            Select(h, kMode, 2); // VBR
            EXPECT_FALSE(Enabled(h, kDepth));
            EXPECT_TRUE(Enabled(h, kMode));
            EXPECT_FALSE(Enabled(h, kBitrate));
            EXPECT_TRUE(Enabled(h, kQuality));
            Select(h, kMode, 0); // CBR
            EXPECT_TRUE(Enabled(h, kBitrate));
            EXPECT_FALSE(Enabled(h, kQuality));

            Select(h, kPreset, 21); // Mastering (Hot)
            EXPECT_EQ(TextOf(h, kTarget), L"-8");
            EXPECT_EQ(TextOf(h, kCeiling), L"-0.3");
            EXPECT_TRUE(Enabled(h, kTarget));
            EXPECT_TRUE(Enabled(h, kCeiling));
            EXPECT_TRUE(Enabled(h, kLoudnessMode));
            Select(h, kPreset, 0); // None keeps the numbers, disabled
            EXPECT_EQ(TextOf(h, kTarget), L"-8");
            EXPECT_FALSE(Enabled(h, kTarget));
            EXPECT_FALSE(Enabled(h, kLoudnessMode));

            Select(h, kPreset, 12);
            ::SetDlgItemTextW(h, kTarget, L"-20.5"); // an edited target is what counts
            Select(h, kRate, 4);                     // 96000 Hz
            Select(h, kFormat, ExportWav);
            Select(h, kDepth, 0);
            EXPECT_TRUE(Enabled(h, kDepth));
            EXPECT_FALSE(Enabled(h, kMode));
            ::SendMessageW(::GetDlgItem(h, 1005), BM_SETCHECK, BST_CHECKED, 0);
            Command(h, IDOK);
        });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.options.format, ExportWav);
    EXPECT_EQ(dialog.options.sampleRateChoice, 96000);
    EXPECT_EQ(dialog.options.bitDepth, 16);
    EXPECT_EQ(dialog.options.loudnessPreset, 12);
    EXPECT_EQ(dialog.options.targetLufs, -20.5);
    EXPECT_EQ(dialog.options.ceilingDbtp, -1.0);
    EXPECT_EQ(dialog.overwrite, 1);
}

TEST_F(ExportDialogTest, BrowseTakesTheFormatFromTheChosenExtension)
{
    CExportDialog dialog;
    dialog.outputPath = L"/music/mix_processed";
    dialog.options.format = ExportOgg;
    picks = {L"/out/Song.MP3", L"/out/take.aiff", L""};
    drives.push_back(
        [&](HWND h)
        {
            Command(h, kBrowse);
            EXPECT_EQ(TextOf(h, kPath), L"/out/Song");
            EXPECT_EQ(Selected(dialog.formatList), L"MP3");
            EXPECT_TRUE(Enabled(h, kMode));
            Command(h, kBrowse);
            EXPECT_EQ(TextOf(h, kPath), L"/out/take.aiff");
            EXPECT_EQ(Selected(dialog.formatList), L"WAV");
            EXPECT_TRUE(Enabled(h, kDepth));
            Command(h, kBrowse); // cancelled: nothing changes
            EXPECT_EQ(TextOf(h, kPath), L"/out/take.aiff");
            Command(h, IDOK);
        });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.outputPath, L"/out/take.aiff");
    EXPECT_EQ(dialog.options.format, ExportWav);
    ASSERT_EQ(fileRequests.size(), 3u);
    EXPECT_FALSE(fileRequests[0].open);
    EXPECT_EQ(fileRequests[0].title, L"Export Processed Audio");
    EXPECT_EQ(fileRequests[0].fileName, L"/music/mix_processed.ogg");
    EXPECT_EQ(fileRequests[0].defaultExtension, L"ogg");
    EXPECT_EQ(fileRequests[0].filters.size(), 6u);
    EXPECT_EQ(fileRequests[1].fileName, L"/out/Song.mp3");
}

TEST_F(ExportDialogTest, OkRefusesNumbersThatAreNotUsable)
{
    struct Case
    {
        int preset;
        const wchar_t* target;
        const wchar_t* ceiling;
        const wchar_t* box; // empty: accepted
    };
    const Case cases[] = {
        {0, L"nan", L"-1", L"Enter a number."},
        {0, L"1e999", L"-1", L"Enter a number."},
        {0, L"-14", L"", L"Enter a number."},
        {0, L"-80", L"5", L""}, // disabled edits are not range-checked
        {12, L"-80", L"-1", L"Target loudness must be between -70 and 0 LUFS."},
        {12, L"0.5", L"-1", L"Target loudness must be between -70 and 0 LUFS."},
        {12, L"-23", L"-21", L"True-peak ceiling must be between -20 and 0 dBTP."},
        {12, L"-23", L"0.1", L"True-peak ceiling must be between -20 and 0 dBTP."},
        {12, L"-70", L"0", L""},
        {12, L"0", L"-20", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(WideToUtf8(c.target) + " / " + WideToUtf8(c.ceiling));
        boxes.clear();
        CExportDialog dialog;
        drives.push_back(
            [&](HWND h)
            {
                Select(h, kPreset, c.preset);
                ::SetDlgItemTextW(h, kTarget, c.target);
                ::SetDlgItemTextW(h, kCeiling, c.ceiling);
                Command(h, IDOK);
                EXPECT_EQ(::IsWindowVisible(h) != FALSE, !std::wstring(c.box).empty());
                if (::IsWindowVisible(h))
                {
                    Command(h, IDCANCEL);
                }
            });
        const INT_PTR answer = dialog.DoModal();
        if (std::wstring(c.box).empty())
        {
            EXPECT_EQ(answer, IDOK);
            EXPECT_TRUE(boxes.empty());
        }
        else
        {
            EXPECT_EQ(answer, IDCANCEL);
            EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{c.box});
        }
    }
}

TEST_F(ExportDialogTest, Picture)
{
    CExportDialog dialog;
    dialog.sourceRate = 44100;
    dialog.outputPath = L"/home/user/Music/Night Drive_processed.wav";
    dialog.options.format = ExportMp3;
    dialog.options.bitrateMode = 2;
    dialog.options.loudnessPreset = 2;
    drives.push_back(
        [&](HWND h)
        {
            PumpPendingMessages();
            EXPECT_TRUE(RenderWindowToPng(h, std::string(BRVL_TEST_OUTPUT_DIR) +
                                                  "/export_dialog.png"));
            Command(h, IDCANCEL);
        });
    dialog.DoModal();
}

} // namespace
