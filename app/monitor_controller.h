#pragma once

#include "app/preview_player.h"
#include "engine/audio_buffer.h"

#include <cstdint>

class CBrimvaleDoc;
class CTransportSurfaceViewportWnd;
class CWaveformStripWnd;

// What is heard: the unprocessed track or the processed preview of the
// waveform strip's view range, from the play-head, looping. Keeps the strip's
// and the transport page's playing indicators in step with the player. The
// view wires the pointers when it builds its pages. Interface thread only.
class MonitorController
{
public:
    // Starts playback of the current source from the play-head; with
    // `restart` false it does nothing while already playing.
    void Play(bool restart);
    void Stop();
    // The A/B switch; restarts playback on the other source when needed.
    void SetMonitorOriginal(bool unprocessed);
    // After a track was loaded or the document changed: new strip peaks, and
    // for a new track a default view and play-head.
    void SyncLoadedTrack();
    // For the view's timer: a playback that the player ended by itself (the
    // device refused a buffer) still shows as playing until this clears the
    // indicators. True when it did.
    bool StopIfPlaybackEnded();

    CBrimvaleDoc* document = nullptr;
    CWaveformStripWnd* waveformStrip = nullptr;
    CTransportSurfaceViewportWnd* transportPage = nullptr;
    PreviewPlayer player;
    bool monitorUnprocessed = false;
    double playPosition = 0.0; // seconds of track time
    double startOffset = 0.0;  // track time at which the played buffer begins
    AudioBuffer processedBuffer;
    // The track SyncLoadedTrack last saw: the document's load count, frames, rate.
    std::uint64_t lastTrackLoad = 0;
    std::int64_t lastTrackFrames = 0;
    int lastTrackRate = 0;

private:
    bool HasPreview() const;
    void ShowStopped();
};
