#include "controls/graphs/paired_audio_graph_base.h"

#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_window.h"

#include <algorithm>
#include <cmath>

void CPairedAudioGraphBase::SetSourceAudio(const AudioBuffer& audio)
{
    sourceAudio = audio;
    RepaintGraph(*this);
}

void CPairedAudioGraphBase::SetProcessedAudio(const AudioBuffer& audio)
{
    processedAudio = audio;
    RepaintGraph(*this);
}

void CPairedAudioGraphBase::SetCursor(double seconds)
{
    if (std::isnan(seconds))
    {
        return;
    }
    const double held = std::max(0.0, seconds);
    if (std::fabs(held - cursorSec) >= 1e-4)
    {
        cursorSec = held;
        RepaintGraph(*this);
    }
}

void CPairedAudioGraphBase::SetWindowSeconds(double seconds)
{
    if (TakeWindowSeconds(windowSec, seconds))
    {
        RepaintGraph(*this);
    }
}

void CPairedAudioGraphBase::SetPlaying(bool play)
{
    if (play != playing)
    {
        playing = play;
        RepaintGraph(*this);
    }
}
