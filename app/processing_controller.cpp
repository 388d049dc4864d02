#include "app/processing_controller.h"

#include "app/brimvale_doc.h"
#include "app/export_dialog.h"
#include "app/monitor_controller.h"
#include "app/profile_folders.h"
#include "base/unicode_text.h"
#include "controls/layout_tree.h"
#include "pages/processing_viewport_wnd.h"
#include "pages/transport_surface_viewport_wnd.h"
#include "platform/win32/posted_payload.h"
#include "registry/addon_registry.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace
{

constexpr const wchar_t* kExportSection = L"Export";
constexpr const wchar_t* kFormatEntry = L"Format";
constexpr const wchar_t* kOverwriteEntry = L"Overwrite";
constexpr const wchar_t* kCancellingText = L"Cancelling...";

bool IsLiveWindow(const CWnd* window)
{
    return window != nullptr && ::IsWindow(window->GetSafeHwnd());
}

void ShowBox(const std::wstring& text, UINT icon = 0)
{
    AfxMessageBox(text.c_str(), MB_OK | icon);
}

void ReadRememberedFromSettingsFile(LastExportSettings& last)
{
    last.registryRead = true;
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
    {
        return;
    }
    last.options.format =
        int(app->GetProfileInt(kExportSection, kFormatEntry, last.options.format));
    last.overwrite =
        app->GetProfileInt(kExportSection, kOverwriteEntry, last.overwrite ? 1 : 0) != 0;
}

void WriteRememberedToSettingsFile(const LastExportSettings& last)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
    {
        return;
    }
    app->WriteProfileInt(kExportSection, kFormatEntry, last.options.format);
    app->WriteProfileInt(kExportSection, kOverwriteEntry, last.overwrite ? 1 : 0);
}

// The leading decimal digits of "%d%%"; 0 for none.
int LeadingPercent(const std::wstring& text)
{
    int percent = 0;
    for (wchar_t c : text)
    {
        if (c < L'0' || c > L'9' || percent > 1000)
        {
            break;
        }
        percent = percent * 10 + int(c - L'0');
    }
    return percent;
}

} // namespace

ProcessingController::ProcessingController()
    : startThread([](std::function<void()> body) { return std::thread(std::move(body)); })
{
    RegisterExportPayloadDeleters();
}

ProcessingController::~ProcessingController()
{
    Shutdown();
}

bool ProcessingController::PrepareExport(ExportJob& job)
{
    LastExportSettings& last = LastExportSettings::Current();
    if (!last.registryRead)
    {
        ReadRememberedFromSettingsFile(last);
    }
    if (document == nullptr || document->track.sampleRate <= 0 || document->track.samples.empty())
    {
        ShowBox(L"Import a WAV file before processing.");
        return false;
    }
    job.request = document->request;

    const std::wstring profilePath = ResolveProfilePath(
        document->settings.referenceProfileFileName, document->settings.referenceProfileIsFactory);
    if (profilePath.empty() || !fs::exists(WidePathToFs(profilePath)))
    {
        ShowBox(L"Reference profile is not configured or could not be found.");
        return false;
    }
    CString error;
    if (!document->PrepareReferenceProfile(error))
    {
        ShowBox(error.GetString(), MB_ICONERROR);
        return false;
    }
    if (!document->profileLoaded)
    {
        ShowBox(L"Reference profile could not be prepared.", MB_ICONERROR);
        return false;
    }
    if (exportWorker.joinable())
    {
        exportWorker.join();
    }
    job.audio = document->track;
    const std::wstring trackPath = document->trackPath;

    CExportDialog dialog(AfxGetMainWnd());
    if (!last.outputPath.empty())
    {
        dialog.outputPath = CString(last.outputPath.c_str());
        dialog.options = last.options;
    }
    else
    {
        dialog.outputPath = CString(DefaultExportPath(trackPath).c_str());
        dialog.options = last.options;
        dialog.options.format = ExportFormatForPath(trackPath);
    }
    dialog.internalRate = job.request.settings.internalSampleRate;
    dialog.sourceRate = job.audio.sampleRate;
    dialog.overwrite = last.overwrite ? 1 : 0;
    if (dialog.DoModal() != IDOK)
    {
        return false;
    }

    const std::wstring path =
        EnsureExportExtension(dialog.outputPath.GetString(), dialog.options.format);
    if (path.empty())
    {
        ShowBox(L"Choose an output file.");
        return false;
    }
    // Replacing the imported track would destroy the only copy of the source.
    if (IsSameAbsolutePath(path, trackPath))
    {
        ShowBox(L"Choose an output file other than the imported track.");
        return false;
    }
    if (dialog.overwrite == 0 && fs::exists(WidePathToFs(path)) &&
        AfxMessageBox(L"That file already exists.\n\nOverwrite it?",
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    {
        return false;
    }

    last.outputPath = path;
    last.options = dialog.options;
    last.overwrite = dialog.overwrite != 0;
    WriteRememberedToSettingsFile(last);

    const ExportOptions& options = dialog.options;
    job.outputPath = path;
    job.sampleRate =
        ResolveExportSampleRate(options.sampleRateChoice, job.audio.sampleRate,
                                job.request.settings.internalSampleRate, options.format);
    job.bitDepth = options.bitDepth;
    job.format = options.format;
    job.bitrateKbps = options.bitrateKbps;
    job.bitrateMode = options.bitrateMode;
    job.quality = options.quality;
    job.loudnessPreset = options.loudnessPreset;
    job.loudnessMode = options.loudnessMode;
    job.targetLufs = options.targetLufs;
    job.ceilingDbtp = options.ceilingDbtp;
    return true;
}

void ProcessingController::StartExport()
{
    auto job = std::make_shared<ExportJob>();
    try
    {
        if (!PrepareExport(*job))
        {
            return;
        }
    }
    catch (const std::exception& error)
    {
        // An existence test that could not answer (a loop of links, a name
        // too long): nothing has started yet.
        ShowBox(Utf8ToWide(error.what()), MB_ICONERROR);
        return;
    }

    if (monitor != nullptr)
    {
        monitor->Stop();
    }
    cancel.exchange(false);
    busy.exchange(true);
    ShowBusyState();

    try
    {
        job->profile = document->referenceProfile;
        job->chain = BuildProcessorChain(document->settings);
        job->viewWindow = viewWindow;
        job->cancel = &cancel;
        m_exportTrackLoad = document->trackLoadCount;
        // The thread holds the only reference once this one goes.
        exportWorker = startThread([job]() mutable { RunExportJob(*job); });
    }
    catch (const std::exception& error)
    {
        job.reset();
        AbandonStart(Utf8ToWide(error.what()));
    }
}

void ProcessingController::AbandonStart(const std::wstring& errorText)
{
    busy.exchange(false);
    ShowIdleState();
    ShowBox(errorText, MB_ICONERROR);
}

void ProcessingController::CancelExport()
{
    if (!busy.load())
    {
        return;
    }
    cancel.exchange(true);
    if (IsLiveWindow(processingPage))
    {
        processingPage->SetCancelText(kCancellingText);
    }
    if (IsLiveWindow(transportPage))
    {
        transportPage->SetProcessLabel(kCancellingText);
    }
}

void ProcessingController::OnExportProgress(ExportProgress* progress)
{
    const std::unique_ptr<ExportProgress> owned(progress);
    if (owned == nullptr || !IsLiveWindow(processingPage))
    {
        return;
    }
    processingPage->SetProgress(std::clamp(LeadingPercent(owned->percentText) / 100.0, 0.0, 1.0));
    processingPage->SetStatusText(owned->stageText);
}

void ProcessingController::OnExportFinished(ExportResult* result, CBrimvaleDoc* doc)
{
    const std::unique_ptr<ExportResult> owned(result);
    busy.exchange(false);
    if (exportWorker.joinable())
    {
        exportWorker.join();
    }
    ShowIdleState();
    if (owned == nullptr)
    {
        return;
    }
    if (owned->success)
    {
        // A track imported while the export ran is not the one this result
        // masters: the file stands, but the document and monitor keep the new track.
        const bool sameTrack = doc == nullptr || doc->trackLoadCount == m_exportTrackLoad;
        if (doc != nullptr && sameTrack)
        {
            doc->output = AudioBuffer{};
            doc->output.sampleRate = owned->audio.sampleRate;
            doc->output.samples = std::move(owned->audio.samples);
            doc->output.meterSeries = std::move(owned->audio.meterSeries);
            doc->output.stageMetrics = std::move(owned->audio.stageMetrics);
            // An export stores no preview checkpoint: what changed since the
            // last preview still has to be computed, so the scope only ever rises.
            doc->RaisePreviewScope(PreviewClean);
            doc->SetModifiedFlag(FALSE);
            doc->UpdateAllViews(nullptr);
        }
        if (monitor != nullptr && sameTrack)
        {
            monitor->SetMonitorOriginal(false);
            monitor->SyncLoadedTrack();
        }
        ShowBox(L"Processed audio written to:\n" + owned->outputPath, MB_ICONINFORMATION);
        return;
    }
    if (!owned->cancelled && !owned->errorText.empty())
    {
        ShowBox(owned->errorText, MB_ICONERROR);
    }
}

void ProcessingController::Shutdown()
{
    cancel.exchange(true);
    if (exportWorker.joinable())
    {
        exportWorker.join();
    }
    if (previewWorker.joinable())
    {
        previewWorker.join();
    }
}

void ProcessingController::ResetProcessingPage()
{
    if (!IsLiveWindow(processingPage))
    {
        return;
    }
    processingPage->SetTitle(L"Processing");
    if (!processingPage->cancelShown)
    {
        processingPage->hoverButton = false;
        processingPage->ShowCancel();
    }
    processingPage->SetCancelText(L"Cancel");
    processingPage->SetProgress(0.0);
    processingPage->SetStatusText(L"Preparing");
}

void ProcessingController::ShowBusyState()
{
    if (!IsLiveWindow(processingPage))
    {
        return;
    }
    ResetProcessingPage();
    if (layout != nullptr)
    {
        layout->ShowWindowInSlot(transportSlot, processingPage->GetSafeHwnd());
    }
    processingPage->UpdateWindow();
}

void ProcessingController::ShowIdleState()
{
    if (IsLiveWindow(transportPage) && layout != nullptr)
    {
        layout->ShowWindowInSlot(transportSlot, transportPage->GetSafeHwnd());
    }
    ResetProcessingPage();
    if (IsLiveWindow(transportPage))
    {
        transportPage->SetProcessLabel(L"Process");
    }
}
