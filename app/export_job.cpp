#include "app/export_job.h"

#include "base/unicode_text.h"
#include "engine/dsp/sinc_resampler.h"
#include "engine/io/audio_file_writer.h"
#include "engine/loudness/loudness_normalizer.h"
#include "engine/runs/full_run.h"
#include "platform/win32/posted_payload.h"
#include "platform/win32/window_api.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace
{

// A record the receiver frees, or this side when the post fails.
template <typename Record>
void PostRecord(HWND window, UINT message, std::unique_ptr<Record> record)
{
    if (::PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(record.get())))
    {
        record.release();
    }
}

template <typename Record> void FreeRecord(WPARAM, LPARAM lParam)
{
    delete reinterpret_cast<Record*>(lParam);
}

// The writer's format code for the dialog's order.
int WriterFormat(int format)
{
    switch (format)
    {
    case ExportFlac:
        return 1;
    case ExportMp3:
        return 3;
    case ExportOgg:
        return 2;
    default:
        return 0;
    }
}

} // namespace

std::wstring ExportPercentText(double fraction)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%d%%", int(fraction * 100.0 + 0.5));
    return text;
}

AudioBuffer ResampleForExport(const AudioBuffer& buffer, int sampleRate)
{
    AudioBuffer result = buffer;
    if (sampleRate < 1 || buffer.sampleRate < 1 || sampleRate == buffer.sampleRate)
    {
        return result;
    }
    result.samples = SincResampler().Process(buffer.samples, buffer.sampleRate, sampleRate);
    result.sampleRate = sampleRate;
    return result;
}

void RunExportJob(ExportJob& job)
{
    const HWND window = job.viewWindow;
    std::wstring lastStage;
    std::wstring lastPercent;
    bool reported = false;
    job.request.progress = [&, window](double fraction, const char* stageText)
    {
        auto progress = std::make_unique<ExportProgress>();
        progress->stageText = Utf8ToWide(stageText != nullptr ? stageText : "");
        progress->percentText = ExportPercentText(fraction);
        if (reported && progress->stageText == lastStage && progress->percentText == lastPercent)
        {
            return;
        }
        reported = true;
        lastStage = progress->stageText;
        lastPercent = progress->percentText;
        PostRecord(window, WMU_EXPORT_PROGRESS, std::move(progress));
    };
    const std::atomic<bool>* cancel = job.cancel;
    job.request.cancel = [cancel] { return cancel != nullptr && cancel->load(); };

    auto result = std::make_unique<ExportResult>();
    try
    {
        ProcessResult processed = ProcessTrack(job.audio, job.request, &job.profile, job.chain);
        AudioBuffer out = processed.audio;
        if (job.sampleRate > 0 && job.sampleRate != out.sampleRate)
        {
            out = ResampleForExport(out, job.sampleRate);
        }
        if (job.loudnessPreset > 0)
        {
            LoudnessNormalizeOptions options;
            options.targetLufs = job.targetLufs;
            options.toleranceLu = 0.5;
            options.ceilingDbtp = job.ceilingDbtp;
            options.limitToTarget = job.loudnessMode != 0 ? 1 : 0;
            options.maxPasses = 3;
            NormalizeLoudnessToTarget(out, options);
        }
        AudioWriteOptions write;
        write.format = WriterFormat(job.format);
        write.bitDepth = job.bitDepth;
        write.bitrateKbps = job.bitrateKbps;
        write.bitrateMode = job.bitrateMode == 1 || job.bitrateMode == 2 ? job.bitrateMode : 0;
        write.vbrQuality = job.quality / 100.0;
        WriteAudioFile(job.outputPath, out, write);

        result->success = true;
        result->audio = std::move(processed.audio);
        result->outputPath = job.outputPath;
    }
    catch (const std::exception& error)
    {
        result = std::make_unique<ExportResult>();
        result->cancelled = std::strcmp(error.what(), kProcessingCancelledText) == 0;
        if (!result->cancelled)
        {
            result->errorText = L"Processing failed:\n" + Utf8ToWide(error.what());
        }
    }
    PostRecord(window, WMU_EXPORT_FINISHED, std::move(result));
}

void RegisterExportPayloadDeleters()
{
    RegisterPostedPayloadDeleter(WMU_EXPORT_PROGRESS, &FreeRecord<ExportProgress>);
    RegisterPostedPayloadDeleter(WMU_EXPORT_FINISHED, &FreeRecord<ExportResult>);
}
