// The export: its path and rate rules, the worker body over the real engine
// and writer with results through the posted queue.

#include "app/export_dialog.h"
#include "app/export_job.h"
#include "app/brimvale_doc.h"
#include "app/monitor_controller.h"
#include "app/processing_controller.h"
#include "controls/layout_tree.h"
#include "engine/io/audio_file_writer.h"
#include "engine/profiles/reference_profile.h"
#include "pages/processing_viewport_wnd.h"
#include "pages/transport_surface_viewport_wnd.h"
#include "platform/win32/shell_folders.h"
#include "tests/support/scoped_environment.h"
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
#include <system_error>
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
        {-1, 44100, 48000, ExportWav, 44100}, // Source
        {0, 44100, 48000, ExportWav, 48000},  // Optimal
        {0, 44100, 0, ExportWav, 44100},      // no internal rate: the track's
        {96000, 44100, 48000, ExportFlac, 96000}, {22050, 44100, 48000, ExportMp3, 22050},
        {96000, 44100, 48000, ExportMp3, 48000}, // MP3 cannot go above 48 kHz
        {-1, 96000, 48000, ExportMp3, 48000},     {0, 44100, 96000, ExportMp3, 48000},
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
            EXPECT_TRUE(
                RenderWindowToPng(h, std::string(BRVL_TEST_OUTPUT_DIR) + "/export_dialog.png"));
            Command(h, IDCANCEL);
        });
    dialog.DoModal();
}

// The controller in a view-like window: the processing and transport pages
// alternate in slot 3 of a layout, posted records go to the controller as the
// view's handlers do, and the settings file and the factory profiles live in a
// temporary home.
class ExportControllerTest : public ExportUiTest
{
protected:
    ExportControllerTest()
        : home("HOME", (temp / "home").string()),
          config("XDG_CONFIG_HOME", (temp / "config").string())
    {
        fs::create_directories(temp / "program" / "profiles");
        fs::create_directories(temp / "config");
        fs::create_directories(temp / "music");
        brvl::win32::SetModuleFolderForTests(temp / "program");
        ReferenceProfile profile = BuildSyntheticDefaultProfile();
        profile.name = "Balanced";
        WriteReferenceProfile(W(temp / "program" / "profiles" / "Balanced.prs"), profile);
        LastExportSettings::Current() = LastExportSettings{};
        app.SetRegistryKey(L"BrimvaleExportTests");

        view.On(WMU_EXPORT_PROGRESS,
                [this](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                {
                    controller->OnExportProgress(reinterpret_cast<ExportProgress*>(lParam));
                    return 0;
                });
        view.On(WMU_EXPORT_FINISHED,
                [this](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                {
                    ++finished;
                    controller->OnExportFinished(reinterpret_cast<ExportResult*>(lParam), &doc);
                    return 0;
                });
        view.CreateTopLevel({0, 0, 800, 200});
        transport.Create(&view, RECT{0, 0, 10, 10});
        processing.Create(&view, RECT{0, 0, 10, 10});
        layout.AddRow(3, 1);
        layout.AddWindowToSlot(3, transport.GetSafeHwnd());
        layout.AddWindowToSlot(3, processing.GetSafeHwnd());
        layout.SetBounds(RECT{0, 0, 800, 200});
        monitor.document = &doc;
        monitor.transportPage = &transport;
        monitor.monitorUnprocessed = true;
        controller = MakeController();
        Settle();
    }

    ~ExportControllerTest() override
    {
        controller.reset();
        brvl::win32::SetModuleFolderForTests({});
        LastExportSettings::Current() = LastExportSettings{};
    }

    std::unique_ptr<ProcessingController> MakeController()
    {
        auto made = std::make_unique<ProcessingController>();
        made->document = &doc;
        made->processingPage = &processing;
        made->transportPage = &transport;
        made->layout = &layout;
        made->transportSlot = 3;
        made->viewWindow = view.GetSafeHwnd();
        made->monitor = &monitor;
        return made;
    }

    void LoadTrack(const std::string& name, double seconds = 1.0, int rate = 44100)
    {
        trackPath = W(temp / "music" / name);
        WriteAudioFile(trackPath, StereoPinkNoise(rate, seconds, 0.1, 9), AudioWriteOptions{});
        CString error;
        ASSERT_TRUE(doc.LoadAudioFile(trackPath, error)) << WideToUtf8(error.GetString());
    }

    // Queues a dialog drive that sets the path and the chosen list items, then
    // presses Export.
    void Confirm(const std::wstring& path, int format = ExportWav, int rateIndex = -1,
                 std::function<void(HWND)> more = nullptr)
    {
        drives.push_back(
            [=](HWND h)
            {
                proposals.push_back(TextOf(h, kPath));
                proposedFormats.push_back(
                    int(::SendMessageW(::GetDlgItem(h, kFormat), CB_GETCURSEL, 0, 0)));
                if (!path.empty() || format >= 0)
                {
                    ::SetDlgItemTextW(h, kPath, path.c_str());
                    Select(h, kFormat, format);
                }
                if (rateIndex >= 0)
                {
                    Select(h, kRate, rateIndex);
                }
                if (more)
                {
                    more(h);
                }
                Command(h, IDOK);
            });
    }

    // Pumps until a result arrives after `before` results were handled
    // (default: those handled so far).
    bool WaitForResult(int before = -1)
    {
        before = before < 0 ? finished : before;
        return session->PumpUntil([&] { return finished > before; }, std::chrono::seconds(120));
    }

    bool ProcessingShown() const
    {
        return layout.IsWindowActiveInSlot(3, processing.GetSafeHwnd());
    }

    TempDir temp;
    ScopedEnvironment home;
    ScopedEnvironment config;
    CWinApp app;
    CBrimvaleDoc doc;
    RecordingWnd view{"view", log};
    CTransportSurfaceViewportWnd transport;
    CProcessingViewportWnd processing;
    LayoutTree layout;
    MonitorController monitor;
    std::unique_ptr<ProcessingController> controller;
    std::wstring trackPath;
    int finished = 0;
    std::vector<std::wstring> proposals;
    std::vector<int> proposedFormats;
};

TEST_F(ExportControllerTest, ExportWritesTheFileAndKeepsTheEngineResult)
{
    LoadTrack("Night Drive.wav");
    doc.trackPath = W(temp / "music" / "Night Drive.MP3"); // imported from an upper-case MP3
    doc.MarkPreviewCurrent();
    doc.RaisePreviewScope(PreviewStage3); // a change since the last preview
    doc.SetModifiedFlag(TRUE);

    const std::wstring out = W(temp / "music" / "Night Drive_processed");
    Confirm(L"", -1); // accept the proposal as it stands
    controller->StartExport();
    EXPECT_TRUE(controller->IsBusy());
    EXPECT_TRUE(ProcessingShown());
    ASSERT_TRUE(WaitForResult());

    ASSERT_EQ(proposals.size(), 1u);
    EXPECT_EQ(proposals[0], out) << "the input's folder and stem with _processed";
    EXPECT_EQ(proposedFormats[0], ExportMp3) << "the format the input's extension names";
    EXPECT_EQ(BoxTexts(),
              std::vector<std::wstring>{L"Processed audio written to:\n" + out + L".mp3"});
    EXPECT_EQ(boxes[0].flags & MB_ICONINFORMATION, MB_ICONINFORMATION);
    const AudioBuffer written = ReadAudioFile(out + L".mp3");
    EXPECT_EQ(written.sampleRate, 48000);
    EXPECT_EQ(doc.output.sampleRate, 48000) << "output holds the internal-rate engine result";
    EXPECT_EQ(doc.output.FrameCount(), 48000u);
    EXPECT_EQ(doc.pendingPreviewScope, PreviewStage3) << "an export stores no preview checkpoint";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(monitor.monitorUnprocessed) << "the monitor switches to the processed sound";
    EXPECT_FALSE(controller->IsBusy());
    EXPECT_FALSE(ProcessingShown());
    EXPECT_EQ(transport.processLabel, L"Process");
    EXPECT_EQ(processing.statusText, L"Preparing");

    // The next export proposes the last path; the format and overwrite flag
    // outlive the program run in the settings file.
    Confirm(L"", -1, -1, [](HWND h) { ::SendMessageW(::GetDlgItem(h, 1005), BM_SETCHECK, 1, 0); });
    controller->StartExport();
    ASSERT_TRUE(WaitForResult());
    ASSERT_EQ(proposals.size(), 2u);
    EXPECT_EQ(proposals[1], out) << "the last path, shown without its extension";
    EXPECT_EQ(proposedFormats[1], ExportMp3);
    EXPECT_EQ(boxes.size(), 2u) << "with the box ticked the existing file is replaced unasked";

    LastExportSettings::Current() = LastExportSettings{};
    auto second = MakeController();
    std::swap(second, controller);
    int overwriteShown = -1;
    drives.push_back(
        [&](HWND h)
        {
            proposedFormats.push_back(
                int(::SendMessageW(::GetDlgItem(h, kFormat), CB_GETCURSEL, 0, 0)));
            overwriteShown = int(::SendMessageW(::GetDlgItem(h, 1005), BM_GETCHECK, 0, 0));
            Command(h, IDCANCEL);
        });
    controller->StartExport();
    EXPECT_EQ(proposedFormats.back(), ExportMp3) << "Format read back from the settings file";
    EXPECT_EQ(overwriteShown, 1) << "Overwrite read back from the settings file";
}

TEST_F(ExportControllerTest, ChosenRatesAndFormatsReachTheFile)
{
    LoadTrack("take.wav");
    struct Case
    {
        const char* name;
        int format;
        int rateIndex; // 0 Optimal, 1 Source, 2 44100, 3 48000, 4 96000
        int expectedRate;
    };
    const Case cases[] = {
        {"a", ExportWav, 1, 44100}, {"b", ExportFlac, 0, 48000}, {"c", ExportOgg, 2, 44100},
        {"d", ExportWav, 4, 96000}, {"e", ExportMp3, 4, 48000},  {"f", ExportMp3, 3, 48000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::wstring base = W(temp / "music" / c.name);
        Confirm(base, c.format, c.rateIndex);
        controller->StartExport();
        ASSERT_TRUE(WaitForResult());
        const std::wstring path = EnsureExportExtension(base, c.format);
        const AudioBuffer written = ReadAudioFile(path);
        EXPECT_EQ(written.sampleRate, c.expectedRate);
        EXPECT_NEAR(double(written.FrameCount()), double(c.expectedRate), 0.02 * c.expectedRate);
        EXPECT_EQ(doc.output.sampleRate, 48000);
    }
    EXPECT_EQ(boxes.size(), std::size(cases));
}

TEST_F(ExportControllerTest, RefusalsStartNothing)
{
    auto expectIdle = [&](const std::wstring& text, UINT icon)
    {
        ASSERT_EQ(BoxTexts(), std::vector<std::wstring>{text});
        EXPECT_EQ(boxes[0].flags & (MB_ICONERROR | MB_ICONINFORMATION), icon);
        EXPECT_FALSE(controller->IsBusy());
        EXPECT_FALSE(ProcessingShown());
        EXPECT_FALSE(controller->exportWorker.joinable());
        boxes.clear();
        drives.clear();
    };

    controller->StartExport();
    expectIdle(L"Import a WAV file before processing.", 0);

    LoadTrack("take.wav");
    doc.settings.referenceProfileFileName = "Missing.prs";
    controller->StartExport();
    expectIdle(L"Reference profile is not configured or could not be found.", 0);
    doc.settings.referenceProfileFileName = "";
    controller->StartExport();
    expectIdle(L"Reference profile is not configured or could not be found.", 0);

    WriteFileBytes(temp / "program" / "profiles" / "Broken.prs", "not a profile");
    doc.settings.referenceProfileFileName = "Broken.prs";
    controller->StartExport();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, MB_ICONERROR) << WideToUtf8(boxes[0].text);
    EXPECT_FALSE(controller->IsBusy());
    boxes.clear();
    doc.settings.referenceProfileFileName = "Balanced.prs";

    drives.push_back([](HWND h) { Command(h, IDCANCEL); });
    controller->StartExport();
    EXPECT_TRUE(boxes.empty()) << "a cancelled dialog says nothing";
    EXPECT_FALSE(controller->IsBusy());

    Confirm(L"", ExportWav);
    controller->StartExport();
    expectIdle(L"Choose an output file.", 0);

    const std::wstring stem = RemoveKnownAudioExtension(trackPath);
    Confirm(stem, ExportWav);
    controller->StartExport();
    expectIdle(L"Choose an output file other than the imported track.", 0);
    Confirm(W(temp / "music" / "." / ".." / "music" / "take"), ExportWav);
    controller->StartExport();
    expectIdle(L"Choose an output file other than the imported track.", 0);
    EXPECT_EQ(ReadAudioFile(trackPath).FrameCount(), 44100u) << "the imported track is intact";

    const fs::path existing = temp / "music" / "existing.wav";
    WriteFileBytes(existing, "keep me");
    LastExportSettings::Current().outputPath.clear();
    answers = {IDNO};
    Confirm(W(temp / "music" / "existing"), ExportWav);
    controller->StartExport();
    expectIdle(L"That file already exists.\n\nOverwrite it?", 0);
    EXPECT_EQ(ReadFileBytes(existing), "keep me");
    EXPECT_TRUE(LastExportSettings::Current().outputPath.empty())
        << "a refused overwrite remembers nothing";
}

TEST_F(ExportControllerTest, OverwriteQuestionAndRememberedOverwrite)
{
    LoadTrack("take.wav");
    const fs::path existing = temp / "music" / "existing.wav";
    WriteFileBytes(existing, "old");
    answers = {IDYES};
    Confirm(W(temp / "music" / "existing"), ExportWav);
    controller->StartExport();
    ASSERT_TRUE(WaitForResult());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].flags & (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(ReadAudioFile(W(existing)).sampleRate, 48000);

    boxes.clear();
    Confirm(W(temp / "music" / "existing"), ExportFlac, -1,
            [](HWND h) { ::SendMessageW(::GetDlgItem(h, 1005), BM_SETCHECK, 1, 0); });
    controller->StartExport();
    ASSERT_TRUE(WaitForResult());
    WriteFileBytes(temp / "music" / "existing.flac", "old");
    Confirm(W(temp / "music" / "existing"), ExportFlac);
    boxes.clear();
    controller->StartExport();
    ASSERT_TRUE(WaitForResult());
    ASSERT_EQ(boxes.size(), 1u) << "a remembered Overwrite replaces silently";
    EXPECT_EQ(ReadAudioFile(W(temp / "music" / "existing.flac")).sampleRate, 48000);
}

TEST_F(ExportControllerTest, CancelEndsQuietlyAndAFailureIsShown)
{
    LoadTrack("long.wav", 8.0);
    Confirm(W(temp / "music" / "cancelled"), ExportWav);
    const int before = finished;
    controller->StartExport();
    ASSERT_TRUE(controller->IsBusy());
    controller->CancelExport();
    EXPECT_EQ(processing.cancelText, L"Cancelling...");
    EXPECT_EQ(transport.processLabel, L"Cancelling...");
    EXPECT_TRUE(ProcessingShown());
    EXPECT_TRUE(RenderWindowToPng(view.GetSafeHwnd(), std::string(BRVL_TEST_OUTPUT_DIR) +
                                                          "/export_processing_cancelling.png"));
    controller->CancelExport(); // a second request changes nothing
    EXPECT_EQ(processing.cancelText, L"Cancelling...");
    ASSERT_TRUE(WaitForResult(before));
    EXPECT_TRUE(boxes.empty()) << "a cancelled export says nothing";
    EXPECT_FALSE(fs::exists(temp / "music" / "cancelled.wav"));
    EXPECT_TRUE(doc.output.samples.empty());
    EXPECT_EQ(processing.cancelText, L"Cancel");
    EXPECT_EQ(processing.title, L"Processing");
    EXPECT_EQ(transport.processLabel, L"Process");
    EXPECT_FALSE(ProcessingShown());
    controller->CancelExport(); // idle: nothing
    EXPECT_EQ(transport.processLabel, L"Process");

    WriteFileBytes(temp / "music" / "blocker", "x");
    Confirm(W(temp / "music" / "blocker" / "out"), ExportWav);
    controller->StartExport();
    ASSERT_TRUE(WaitForResult());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Processing failed:\n", 0), 0u);
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_TRUE(doc.output.samples.empty()) << "a failed export leaves the document";
}

TEST_F(ExportControllerTest, AStartThatCannotRunEndsIdle)
{
    LoadTrack("take.wav");
    controller->startThread = [](std::function<void()>) -> std::thread
    { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); };
    Confirm(W(temp / "music" / "nothread"), ExportWav);
    controller->StartExport();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_FALSE(controller->IsBusy());
    EXPECT_FALSE(ProcessingShown());
    EXPECT_EQ(transport.processLabel, L"Process");
    PumpPendingMessages();
    EXPECT_EQ(finished, 0);

    // An output whose existence cannot be tested (a loop of links).
    boxes.clear();
    fs::create_symlink(temp / "music" / "loop.wav", temp / "music" / "loop.wav");
    Confirm(W(temp / "music" / "loop"), ExportWav);
    controller->StartExport();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_FALSE(controller->IsBusy());
}

TEST_F(ExportControllerTest, AnImportDuringTheExportKeepsTheNewTrack)
{
    LoadTrack("first.wav", 4.0);
    Confirm(W(temp / "music" / "first_out"), ExportWav);
    const int before = finished;
    controller->StartExport();
    LoadTrack("second.wav", 0.5);
    ASSERT_TRUE(WaitForResult(before));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Processed audio written to:\n", 0), 0u)
        << "the written file is still reported";
    EXPECT_TRUE(doc.output.samples.empty()) << "the old track's result is not stored";
    EXPECT_TRUE(monitor.monitorUnprocessed) << "the monitor is not switched";
    EXPECT_TRUE(fs::exists(temp / "music" / "first_out.wav"));
}

TEST_F(ExportControllerTest, ProgressTextsDriveTheProcessingPage)
{
    controller->ShowBusyState();
    EXPECT_TRUE(ProcessingShown());
    controller->OnExportProgress(new ExportProgress{L"Stage 2", L"100%"});
    EXPECT_EQ(processing.progress, 1.0);
    EXPECT_EQ(processing.statusText, L"Stage 2");
    controller->OnExportProgress(new ExportProgress{L"Start", L"0%"});
    EXPECT_EQ(processing.progress, 0.0);
    controller->OnExportProgress(new ExportProgress{L"x", L""});
    EXPECT_EQ(processing.progress, 0.0);
    controller->OnExportProgress(nullptr);
    controller->OnExportFinished(nullptr, &doc);
    EXPECT_FALSE(ProcessingShown());
    EXPECT_TRUE(boxes.empty());
}

} // namespace
