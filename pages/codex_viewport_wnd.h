#pragma once

#include "controls/graphs/activity_graph_wnd.h"
#include "controls/graphs/energy_delta_graph_wnd.h"
#include "controls/graphs/stereo_field_graph_wnd.h"
#include "controls/graphs/tone_graph_wnd.h"
#include "controls/layout_tree.h"
#include "controls/switches/segment_switch_wnd.h"
#include "engine/audio_buffer.h"
#include "pages/preview_graph_wnd.h"
#include "platform/mfc/afxwin.h"

// Which tab, and so which graph, the Codex page shows.
enum CodexMode : int
{
    kCodexReference = 0,
    kCodexEnergy = 1,
    kCodexSpectrum = 2,
    kCodexStereo = 3,
    kCodexActivity = 4,
};

// The activity graph's cursor: `seconds` as a fraction of the processed
// track's length, at most 1; 0 without a rate or frames, for a negative
// quotient and for a time that is not a number.
double CodexCursorFraction(double seconds, const AudioBuffer& processed);

// The page of the "Codex" mode: a row of five tabs over one of five analysis
// graphs that compare the unprocessed sound with the processed preview at the
// play-head. It analyses nothing itself: it keeps what the main view gives it,
// hands it to the graphs and switches the graph shown.
class CCodexViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CCodexViewportWnd)

public:
    static constexpr UINT kPageId = 8727;
    static constexpr UINT kTabSwitchId = 12960;
    static constexpr UINT kPreviewGraphId = 12961;
    static constexpr UINT kEnergyGraphId = 12962;
    static constexpr UINT kToneGraphId = 12963;
    static constexpr UINT kStereoGraphId = 12964;
    static constexpr UINT kActivityGraphId = 12965;
    static constexpr int kTabSlot = 1;
    static constexpr int kGraphSlot = 2;

    // The page's window as the main view makes it; WM_CREATE builds the tabs
    // and graphs.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kPageId);

    // Each keeps a copy and hands it to every graph that has a window, also
    // while another tab is shown.
    void SetSourceData(const AudioBuffer& audio);
    void SetProcessedData(const AudioBuffer& audio);
    // Keeps the time as given and passes it to the graph shown only.
    void SetCursor(double seconds);
    void SetPlaying(bool play);

    COLORREF backgroundColor = 0x100E0C;
    LayoutTree layout;
    CSegmentSwitchWnd tabSwitch;
    CPreviewGraphWnd previewGraph;
    CEnergyDeltaGraphWnd energyGraph;
    CToneGraphWnd toneGraph;
    CStereoFieldGraphWnd stereoGraph;
    CActivityGraphWnd activityGraph;
    int mode = kCodexReference;
    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    double cursorSeconds = 0.0; // as given, not clamped
    bool playing = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnTabChanged(WPARAM, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void CreateChildren();
    void CreateTabSwitch();
    void CreateGraphs();
    void ApplyAll();
    void SetupLayout();
    void ShowCurrentGraph();
    // The graph window of a mode; null for a mode without one.
    CWnd* GraphOf(int graphMode);
    // Calls `call` with each graph that has a window, in mode order.
    template <typename Call> void ForEachGraph(Call call)
    {
        VisitIfAlive(previewGraph, call);
        VisitIfAlive(energyGraph, call);
        VisitIfAlive(toneGraph, call);
        VisitIfAlive(stereoGraph, call);
        VisitIfAlive(activityGraph, call);
    }
    template <typename Graph, typename Call> static void VisitIfAlive(Graph& graph, Call& call)
    {
        if (::IsWindow(graph.GetSafeHwnd()))
        {
            call(graph);
        }
    }
};
