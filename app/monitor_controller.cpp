#include "app/monitor_controller.h"

#include "app/brimvale_doc.h"
#include "controls/waveform/waveform_strip_wnd.h"
#include "pages/transport_surface_viewport_wnd.h"
#include "platform/mfc/afx_message_box.h"

#include <algorithm>
#include <string>

namespace
{

// The view a newly loaded track opens with: its middle five seconds.
constexpr double kDefaultViewSeconds = 5.0;

bool HasAudio(const AudioBuffer& audio)
{
    return audio.sampleRate >= 1 && !audio.samples.empty();
}

} // namespace

bool MonitorController::HasPreview() const
{
    return processedBuffer.sampleRate >= 1 && processedBuffer.samples.size() >= 2;
}

void MonitorController::Play(bool restart)
{
    if (document == nullptr || !HasAudio(document->track) || (!restart && player.IsPlaying()) ||
        waveformStrip == nullptr || !::IsWindow(waveformStrip->m_hWnd))
    {
        return;
    }
    const double viewStart = waveformStrip->viewStart;
    const double viewEnd = waveformStrip->viewEnd;
    const double viewLength = viewStart < viewEnd ? viewEnd - viewStart : 0.0;
    const double playhead = waveformStrip->playhead;

    const AudioBuffer* source = &document->track;
    double loopStart = viewStart;
    double loopEnd = viewEnd;
    double cursor = playhead;
    startOffset = 0.0;
    if (!monitorUnprocessed)
    {
        if (!HasPreview())
        {
            return;
        }
        const double duration =
            static_cast<double>(processedBuffer.FrameCount()) / processedBuffer.sampleRate;
        const double loopLength = viewLength > 0.0 ? viewLength : duration;
        startOffset = viewStart;
        source = &processedBuffer;
        loopStart = 0.0;
        loopEnd = duration;
        cursor = playhead - viewStart < 0.0 ? 0.0 : std::min(loopLength, playhead - viewStart);
    }

    std::wstring errorText;
    if (player.Start(*source, loopStart, loopEnd, cursor, source->samples.data(), errorText,
                     restart))
    {
        waveformStrip->SetPlaybackState(true, true);
        if (transportPage != nullptr)
        {
            transportPage->SetPlaying(true);
        }
        return;
    }
    // A restart that failed after stopping what played before must not leave
    // the indicators showing it; a region refused up front stopped nothing.
    if (!player.IsPlaying())
    {
        ShowStopped();
    }
    if (!errorText.empty())
    {
        AfxMessageBox(errorText.c_str(), MB_ICONERROR);
    }
}

void MonitorController::Stop()
{
    player.Stop();
    ShowStopped();
}

void MonitorController::ShowStopped()
{
    if (waveformStrip != nullptr)
    {
        waveformStrip->SetPlaybackState(false, true);
    }
    if (transportPage != nullptr)
    {
        transportPage->SetPlaying(false);
    }
}

bool MonitorController::StopIfPlaybackEnded()
{
    const bool shown = (waveformStrip != nullptr && waveformStrip->playing) ||
                       (transportPage != nullptr && transportPage->playing);
    if (!shown || player.IsPlaying())
    {
        return false;
    }
    Stop();
    return true;
}

void MonitorController::SetMonitorOriginal(bool unprocessed)
{
    if (unprocessed == monitorUnprocessed)
    {
        return;
    }
    const bool hasPreview = HasPreview();
    const bool wasUnprocessed = monitorUnprocessed || !hasPreview;
    const bool isUnprocessed = unprocessed || !hasPreview;
    monitorUnprocessed = unprocessed;
    if (transportPage != nullptr)
    {
        transportPage->SetMonitorSource(unprocessed);
    }
    if (!player.IsPlaying())
    {
        return;
    }
    if (!unprocessed && !hasPreview)
    {
        Stop();
    }
    else if (wasUnprocessed != isUnprocessed)
    {
        Play(true);
    }
}

void MonitorController::SyncLoadedTrack()
{
    if (document == nullptr || !HasAudio(document->track) || waveformStrip == nullptr ||
        !::IsWindow(waveformStrip->m_hWnd))
    {
        return;
    }
    const AudioBuffer& track = document->track;
    const auto frames = static_cast<std::int64_t>(track.FrameCount());
    const bool same = lastTrackFrames > 0 && document->trackLoadCount == lastTrackLoad &&
                      frames == lastTrackFrames && track.sampleRate == lastTrackRate;

    waveformStrip->SetPeaks(track);
    const double duration = static_cast<double>(frames) / track.sampleRate;
    if (transportPage != nullptr)
    {
        // The page shows no duration; only its time text follows the track.
        transportPage->UpdateTimeText();
    }
    if (!same)
    {
        const double window = std::min(duration, kDefaultViewSeconds);
        const double start = std::max(0.0, (duration - window) * 0.5);
        const double end = std::max(start, std::min(duration, start + window));
        const double centre = start + (end - start) * 0.5;
        waveformStrip->SetViewRange(start, end, false);
        waveformStrip->SetPlayhead(centre);
        playPosition = centre;
        if (transportPage != nullptr)
        {
            transportPage->SetPosition(std::max(0.0, centre));
        }
    }
    lastTrackLoad = document->trackLoadCount;
    lastTrackFrames = frames;
    lastTrackRate = track.sampleRate;
}
