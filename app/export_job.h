#pragma once

#include "app/export_options.h"
#include "engine/audio_buffer.h"
#include "engine/chain/processor_chain.h"
#include "engine/engine_request.h"
#include "engine/profiles/reference_profile.h"
#include "platform/win32/win_messages.h"
#include "platform/win32/win_types.h"

#include <atomic>
#include <string>

// Posted by the export worker to the view: lParam an ExportProgress or an
// ExportResult on the heap, freed by the receiver.
constexpr UINT WMU_EXPORT_PROGRESS = WM_APP + 864; // 0x8360
constexpr UINT WMU_EXPORT_FINISHED = WM_APP + 865; // 0x8361

struct ExportProgress
{
    std::wstring stageText;
    std::wstring percentText; // "%d%%"
};

struct ExportResult
{
    bool success = false;
    bool cancelled = false;
    AudioBuffer audio; // the engine output at the internal rate
    std::wstring outputPath;
    std::wstring errorText;
};

// Everything one export run needs, copied on the interface thread; the worker
// owns it and shares nothing else but the cancel flag and the window handle.
struct ExportJob
{
    EngineRequest request;
    AudioBuffer audio;
    ReferenceProfile profile;
    std::wstring outputPath;
    ProcessorChain chain;
    int sampleRate = 0; // resolved output rate; 0 or less keeps the run's rate
    int bitDepth = 24;
    int format = ExportWav; // the dialog's order
    int bitrateKbps = 192;
    int bitrateMode = 0;
    int quality = 80;
    int loudnessPreset = 0;
    int loudnessMode = 1;
    double targetLufs = -14.0;
    double ceilingDbtp = -1.0;
    HWND viewWindow = nullptr;
    const std::atomic<bool>* cancel = nullptr; // the controller's flag
};

// "%d%%" of the fraction, rounded half up: 0.999 reads "100%", 0.004 "0%".
std::wstring ExportPercentText(double fraction);

// A copy at the new rate with the meter series and stage metrics kept; a copy
// as it is when either rate is below 1 or both are equal.
AudioBuffer ResampleForExport(const AudioBuffer& buffer, int sampleRate);

// The body of the export thread: runs, resamples, normalises and writes, then
// posts the outcome. Progress is posted only when its text changes; a record
// whose post fails (the window is gone) is freed here.
void RunExportJob(ExportJob& job);

// Frees the records of the two messages when the queue drops them. Call once
// on the interface thread before the first export.
void RegisterExportPayloadDeleters();
