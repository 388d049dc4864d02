#include "controls/graphs/analysis_graph_base.h"

#include "controls/graphs/graph_feed.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kWindowResolution = 1e-4;

} // namespace

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
    if (std::isnan(seconds))
    {
        return;
    }
    const double held = std::clamp(seconds, kShortestWindowSec, kLongestWindowSec);
    if (std::fabs(held - windowSec) < kWindowResolution)
    {
        return;
    }
    windowSec = held;
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
    if (::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}
