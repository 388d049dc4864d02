#pragma once

#include "controls/layout_tree.h"
#include "engine/audio_buffer.h"
#include "grid/control_grid_viewport_wnd.h"
#include "pages/addon_browser_wnd.h"
#include "pages/chain_strip_wnd.h"
#include "pages/stage_meter_binding.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The expert mode of the main window: the whole processing chain on the chain
// strip at the top and, below it in one pane, either the stage panel (the
// parameter page of the selected stage or add-on) or the add-on browser of one
// chain position. The page turns the strip's gestures and the browser's picks
// into chain requests to its parent (the main view), which answers with
// SetChain; it never changes the chain model itself except for the selection.

// The page asks its parent to change the chain: lParam an AddonChainRequest on
// the page's stack, valid during the call only; wParam 0.
constexpr UINT WMU_ADDON_CHAIN_REQUEST = WM_APP + 268; // 0x810C
// The stage panel was rebuilt for a known stage or add-on; wParam and lParam 0.
constexpr UINT WMU_STAGE_PANEL_CHANGED = WM_APP + 267; // 0x810B

constexpr UINT kMaesterPageId = 8726;
constexpr UINT kMaesterStripViewportId = 8832;
constexpr UINT kMaesterStagePanelId = 8833;

// Toggle {id, false, true}, add {id, true, false}, remove {id, false, false}.
struct AddonChainRequest
{
    std::string addonId;
    bool add = false;
    bool toggleEnabled = false;
};

// The stage metric keys the stage pages may show as readouts, in order.
inline constexpr std::array<std::string_view, 19> kStageMetricReadoutKeys = {
    "stage1.target_match_rms",       "stage1.reference_match_rms",
    "stage1.match_delta_db",         "stage2.spectral_distance_db",
    "stage2.adaptive_confidence",    "stage2.applied_strength",
    "stage3.mid_band_gain",          "stage3.min_macro_gain_db",
    "stage3.mean_macro_gain_db",     "stage3.max_macro_gain_db",
    "stage3.current_loudness_range", "stage3.reference_loudness_range",
    "stage4.effective_ceiling",      "stage4.loudness_gain_db",
    "stage4.peak_reduction_db",      "stage4.final_peak",
    "stage4.normalize_strength",     "stage4.normalize_gain_db",
    "stage4.normalize_peak_after",
};

// A metric's readout text: the fit for the adaptive confidence, a percentage
// for a strength, one decimal for decibels and loudness ranges, two for the
// rest; always "." as the decimal point, however long the number.
std::string FormatStageMetric(const std::string& key, double value);

// The fit readout's text and accent.
struct FitReadout
{
    std::string text;
    COLORREF accent = 0;
};

// `confidence` null when the preview holds no confidence metric. A NaN
// confidence reads as a low fit, as its text says.
FitReadout FitReadoutFor(bool adaptiveEnabled, const double* confidence);

class CMaesterViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CMaesterViewportWnd)

public:
    ~CMaesterViewportWnd() override;

    // What a paint shows: the page's own window is only background.
    struct State
    {
        CSize size;
        COLORREF backgroundColor = 0x100E0C;
    };

    CChainStripViewportWnd chainStrip;
    CControlGridViewportWnd stagePanel;
    CAddonBrowserWnd addonBrowser;
    LayoutTree layout;
    COLORREF backgroundColor = 0x100E0C;
    bool browserShown = false;
    std::string browserFilter;
    AudioBuffer previewResult;    // written by the owner, then RefreshStageMetrics
    bool adaptiveEnabled = false; // written by the owner, then RefreshStageMetrics
    std::unordered_map<std::string, StageMeterBinding> meterBindings;

    // Creates the page's window and children, shows the default chain with its
    // first stage and fills the stage panel.
    BOOL Create(CWnd* parent, const RECT& rect = RECT{0, 0, 960, 640}, UINT id = kMaesterPageId);

    void SetBackgroundColor(COLORREF color);
    void EnsureChildren();
    void SetupLayout();
    void LayoutPanes();
    void BuildDefaultChain();
    // Shows the given chain; a repeat of the shown model and selection does nothing.
    void SetChain(const std::vector<ChainStripGroup>& groups);
    void ShowSelectedStage();
    void ShowStagePanel(std::string id);
    void ShowAddonBrowser(const std::string& groupKey);
    void CloseAddonBrowser();
    void RefreshStageMetrics();
    // Sets every bound control of the stage panel to its binding's value at
    // `t`; true when at least one binding found its control. Sends nothing.
    bool UpdateMeterBindings(const AudioBuffer& buffer, double t);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnChainStripAction(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAddonPicked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelControlChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelControlCommit(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // SendMessage to the parent, only when it has a window.
    void SendToParentWindow(UINT message, WPARAM wParam, LPARAM lParam) const;
    void RequestChainChange(const std::string& id, bool add, bool toggleEnabled) const;
    // Makes `window` the visible one of pane 101 and lays the panes out.
    void ShowInLowerPane(const CWnd& window);
};

// The expert page's chain before any add-on is placed, "stage2" selected.
std::vector<ChainStripGroup> DefaultMaesterChain();
