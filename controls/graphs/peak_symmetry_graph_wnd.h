#pragma once

#include "controls/graphs/analysis_graph_base.h"

#include <vector>

namespace Gdiplus
{
class Graphics;
}

// Positive against negative peaks of the mid signal, column by column over
// the window around the cursor, with their asymmetry from -1 to +1. It takes
// no input.
class CPeakSymmetryGraphWnd : public CAnalysisGraphBase
{
    DECLARE_DYNAMIC(CPeakSymmetryGraphWnd)

public:
    struct State
    {
        CSize size;
        double windowSec = kDefaultWindowSec;
        bool hasAudio = false;
        std::vector<double> posPeak; // per column, in the signal's own scale
        std::vector<double> negPeak;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

struct PeakColumns
{
    std::vector<double> posPeak;
    std::vector<double> negPeak;
};

// The largest positive and negative mid excursions per column, for a plot
// `plotWidth` pixels wide (a column per 4 pixels, at least 24, at most one
// per frame of the window).
PeakColumns PeakSymmetryColumns(const AudioBuffer& audio, double cursorSec, double windowSec,
                                int plotWidth);

// (P - N) / (P + N) of the largest positive and negative peaks; 0 for silence.
double PeakAsymmetry(const PeakColumns& columns);
