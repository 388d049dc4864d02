#include "pages/codex_viewport_wnd.h"

#include "controls/base/control_messages.h"
#include "pages/page_window.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CCodexViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CCodexViewportWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_MESSAGE(WMU_CONTROL_CHANGED, &CCodexViewportWnd::OnTabChanged)
END_MESSAGE_MAP()

namespace
{

constexpr COLORREF kTabAccent = 0x459AC8;
constexpr int kInset = 10;
constexpr int kRowGap = 10;
// What each graph shows around the cursor, in seconds.
constexpr double kPreviewWindowSec = 0.055;
constexpr double kEnergyWindowSec = 0.12;
constexpr double kToneWindowSec = 0.12;
constexpr double kStereoWindowSec = 0.055;

bool HasWindow(const CWnd& window)
{
    return ::IsWindow(window.GetSafeHwnd()) != FALSE;
}

// The cursor the time-based graphs take: never before the start, and a time
// that is not a number is the start.
double GraphCursor(double seconds)
{
    return std::isnan(seconds) ? 0.0 : std::max(0.0, seconds);
}

} // namespace

double CodexCursorFraction(double seconds, const AudioBuffer& processed)
{
    const size_t frames = processed.FrameCount();
    if (processed.sampleRate <= 0 || frames == 0)
    {
        return 0.0;
    }
    const double fraction = seconds / (double(frames) / double(processed.sampleRate));
    if (std::isnan(fraction) || fraction < 0.0)
    {
        return 0.0;
    }
    return std::min(fraction, 1.0);
}

BOOL CCodexViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleCodexViewportWnd");
}

int CCodexViewportWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
    {
        return -1;
    }
    CreateChildren();
    return 0;
}

void CCodexViewportWnd::CreateChildren()
{
    CreateTabSwitch();
    CreateGraphs();
    ApplyAll();
    SetupLayout();
    ShowCurrentGraph();
}

void CCodexViewportWnd::CreateTabSwitch()
{
    if (HasWindow(tabSwitch))
    {
        return;
    }
    if (!tabSwitch.Create(CRect(0, 0, 480, 44), this, kTabSwitchId) || !HasWindow(tabSwitch))
    {
        return;
    }
    tabSwitch.SetAccentColor(kTabAccent);
    tabSwitch.SetBackgroundColor(backgroundColor);
    tabSwitch.SetLabel(CString());
    tabSwitch.SetLabels({L"Reference", L"Energy", L"Spectrum", L"Stereo", L"Activity"});
    tabSwitch.SetSelectedIndex(mode);
}

void CCodexViewportWnd::CreateGraphs()
{
    // Created visible: the layout hides all but the first of the slot, and
    // the first, marked visible as it stands, would otherwise stay hidden.
    const CRect rect(0, 0, 100, 100);
    if (!HasWindow(previewGraph))
    {
        CreatePageWindow(previewGraph, this, rect, kPreviewGraphId, L"BrimvalePreviewGraphWnd");
    }
    if (!HasWindow(energyGraph))
    {
        CreatePageWindow(energyGraph, this, rect, kEnergyGraphId, L"BrimvaleEnergyDeltaGraphWnd");
    }
    if (!HasWindow(toneGraph))
    {
        CreatePageWindow(toneGraph, this, rect, kToneGraphId, L"BrimvaleToneGraphWnd");
    }
    if (!HasWindow(stereoGraph))
    {
        stereoGraph.Create(this, rect, kStereoGraphId);
    }
    if (!HasWindow(activityGraph))
    {
        CreatePageWindow(activityGraph, this, rect, kActivityGraphId, L"BrimvaleActivityGraphWnd");
    }
}

void CCodexViewportWnd::ApplyAll()
{
    SetSourceData(sourceAudio);
    SetProcessedData(processedAudio);
    SetCursor(cursorSeconds);
    SetPlaying(playing);
    // Each setter repaints only when its value changes; the tone graph's
    // scale is always adaptive.
    if (HasWindow(previewGraph))
    {
        previewGraph.SetWindowSeconds(kPreviewWindowSec);
        previewGraph.SetShowRms(true);
    }
    if (HasWindow(energyGraph))
    {
        energyGraph.SetWindowSeconds(kEnergyWindowSec);
    }
    if (HasWindow(toneGraph))
    {
        toneGraph.SetWindowSeconds(kToneWindowSec);
    }
    if (HasWindow(stereoGraph))
    {
        stereoGraph.SetWindowSeconds(kStereoWindowSec);
    }
}

void CCodexViewportWnd::SetupLayout()
{
    layout.Reset();
    LayoutNode& root = layout.Root();
    root.orientation = LayoutNode::kVertical;
    root.gap = kRowGap;
    root.AddChild(kTabSlot, 0, LayoutNode::kHorizontal);
    root.AddChild(kGraphSlot, 1, LayoutNode::kHorizontal);
    const int tabHeight = tabSwitch.GetPreferredSize().cy;
    layout.SetExtentLimits(kTabSlot, tabHeight, tabHeight);
    layout.AddWindowToSlot(kTabSlot, tabSwitch.GetSafeHwnd());
    ForEachGraph([this](CWnd& graph) { layout.AddWindowToSlot(kGraphSlot, graph.GetSafeHwnd()); });
}

CWnd* CCodexViewportWnd::GraphOf(int graphMode)
{
    switch (graphMode)
    {
    case kCodexReference:
        return &previewGraph;
    case kCodexEnergy:
        return &energyGraph;
    case kCodexSpectrum:
        return &toneGraph;
    case kCodexStereo:
        return &stereoGraph;
    case kCodexActivity:
        return &activityGraph;
    default:
        return nullptr;
    }
}

void CCodexViewportWnd::ShowCurrentGraph()
{
    CWnd* graph = GraphOf(mode);
    if (graph != nullptr && HasWindow(*graph))
    {
        layout.ShowWindowInSlot(kGraphSlot, graph->GetSafeHwnd());
    }
}

void CCodexViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (!HasWindow(*this) || !layout.Contains(kGraphSlot))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    // A page too small for the inset gets a rectangle of no size at (10, 10).
    layout.SetBounds(CRect(kInset, kInset, std::max<int>(client.right - kInset, kInset),
                           std::max<int>(client.bottom - kInset, kInset)));
}

BOOL CCodexViewportWnd::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, backgroundColor);
    return TRUE;
}

LRESULT CCodexViewportWnd::OnTabChanged(WPARAM, LPARAM lParam)
{
    // The sender is named by a pointer; one that is not our tab switch is
    // never followed, so a foreign or stale one cannot hurt.
    const auto* sender = reinterpret_cast<const CWnd*>(lParam);
    if (sender != &tabSwitch || !HasWindow(tabSwitch))
    {
        return 0;
    }
    const int selected = tabSwitch.GetSelectedIndex();
    mode = selected >= kCodexEnergy && selected <= kCodexActivity ? selected : kCodexReference;
    ShowCurrentGraph();
    return 0;
}

void CCodexViewportWnd::SetSourceData(const AudioBuffer& audio)
{
    if (&audio != &sourceAudio)
    {
        sourceAudio = audio;
    }
    ForEachGraph([this](auto& graph) { graph.SetSourceAudio(sourceAudio); });
}

void CCodexViewportWnd::SetProcessedData(const AudioBuffer& audio)
{
    if (&audio != &processedAudio)
    {
        processedAudio = audio;
    }
    ForEachGraph([this](auto& graph) { graph.SetProcessedAudio(processedAudio); });
}

void CCodexViewportWnd::SetCursor(double seconds)
{
    cursorSeconds = seconds;
    switch (mode)
    {
    case kCodexReference:
        if (HasWindow(previewGraph))
        {
            previewGraph.SetCursor(GraphCursor(seconds));
        }
        break;
    case kCodexEnergy:
        if (HasWindow(energyGraph))
        {
            energyGraph.SetCursor(GraphCursor(seconds));
        }
        break;
    case kCodexSpectrum:
        if (HasWindow(toneGraph))
        {
            toneGraph.SetCursor(GraphCursor(seconds));
        }
        break;
    case kCodexStereo:
        if (HasWindow(stereoGraph))
        {
            stereoGraph.SetCursor(GraphCursor(seconds));
        }
        break;
    case kCodexActivity:
        if (HasWindow(activityGraph))
        {
            activityGraph.SetCursorFraction(CodexCursorFraction(seconds, processedAudio));
        }
        break;
    default:
        break;
    }
}

void CCodexViewportWnd::SetPlaying(bool play)
{
    playing = play;
    ForEachGraph(
        [play](auto& graph)
        {
            if (graph.playing != play)
            {
                graph.SetPlaying(play);
            }
        });
}
