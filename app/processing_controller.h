#pragma once

#include "app/export_job.h"
#include "engine/audio_buffer.h"
#include "engine/settings/mastering_settings.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class CBrimvaleDoc;
class CProcessingViewportWnd;
class CTransportSurfaceViewportWnd;
class CWaveformStripWnd;
class LayoutTree;
class MonitorController;

// The view's renderer: "Process and Save" on a worker thread (the export) and
// the preview renders. While an export runs the processing page takes the
// transport page's slot and offers Cancel. The view wires the pointers when it
// builds its pages. Interface thread only, except the worker's body.
class ProcessingController
{
public:
    ProcessingController();
    ~ProcessingController();
    ProcessingController(const ProcessingController&) = delete;
    ProcessingController& operator=(const ProcessingController&) = delete;

    // The whole start: checks, the export dialog, the worker. Callers call it
    // only while no export runs, after stopping monitoring playback.
    void StartExport();
    // Asks a running export to stop at its next progress point.
    void CancelExport();
    // The view's handlers of the two posted messages hand the records here;
    // each call frees its record (which may be null).
    void OnExportProgress(ExportProgress* progress);
    void OnExportFinished(ExportResult* result, CBrimvaleDoc* doc);
    // From the view's destruction: stops and joins both workers.
    void Shutdown();

    void ShowBusyState();
    void ShowIdleState();

    bool IsBusy() const { return busy.load(); }

    CBrimvaleDoc* document = nullptr;
    CProcessingViewportWnd* processingPage = nullptr;
    CTransportSurfaceViewportWnd* transportPage = nullptr;
    CWaveformStripWnd* waveformStrip = nullptr;
    LayoutTree* layout = nullptr;
    int transportSlot = 3;
    HWND viewWindow = nullptr;
    MonitorController* monitor = nullptr;

    std::thread exportWorker;
    std::atomic<bool> busy{false};
    std::atomic<bool> cancel{false};

    // The preview half's state; rendered by the preview worker.
    std::thread previewWorker;
    std::atomic<bool> previewRunning{false};
    AudioBuffer previewBuffer;
    MasteringSettings previewSettings;
    bool previewValid = false;
    std::uint64_t previewProfileRevision = 0;
    double previewRangeStart = 0.0;
    double previewRangeEnd = 0.0;

    // Starts a worker thread; tests replace it to make the start fail.
    std::function<std::thread(std::function<void()>)> startThread;

private:
    // The checks and the dialog; false when the export must not start (the
    // user was told why, or cancelled).
    bool PrepareExport(ExportJob& job);
    void ResetProcessingPage();
    // Back to idle after a start that got past ShowBusyState but not further.
    void AbandonStart(const std::wstring& errorText);

    // The document's load count when the running export started: a track
    // imported meanwhile must not receive the old track's result.
    std::uint64_t m_exportTrackLoad = 0;
};
