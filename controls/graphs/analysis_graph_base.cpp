#include "controls/graphs/analysis_graph_base.h"

#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_window.h"

#include <algorithm>
#include <cmath>

void CAnalysisGraphBase::SetAudio(const AudioBuffer& source)
{
    if (SameAudio(audio, source))
    {
        return;
    }
    audio = source;
    FeedChanged();
    Repaint();
}

void CAnalysisGraphBase::SetCursor(double seconds)
{
    if (std::isnan(seconds))
    {
        return;
    }
    cursorSec = std::max(0.0, seconds);
    FeedChanged();
    Repaint();
}

void CAnalysisGraphBase::SetWindowSeconds(double seconds)
{
    if (!TakeWindowSeconds(windowSec, seconds))
    {
        return;
    }
    FeedChanged();
    Repaint();
}

void CAnalysisGraphBase::SetPlaying(bool play)
{
    if (play != playing)
    {
        playing = play;
        Repaint();
    }
}

void CAnalysisGraphBase::Repaint()
{
    RepaintGraph(*this);
}
