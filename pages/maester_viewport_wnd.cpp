#include "pages/maester_viewport_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/double_buffered_paint.h"
#include "engine/chain/audio_processor.h"
#include "engine/settings/parameter_catalog.h"
#include "grid/control_grid_messages.h"
#include "grid/parameter_page.h"
#include "pages/chain_position_color.h"
#include "pages/page_window.h"
#include "platform/gdiplus/gdiplus.h"
#include "registry/addon_registry.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace
{

constexpr int kStripPane = 100;
constexpr int kLowerPane = 101;
constexpr int kStripPaneHeight = 132;
constexpr int kPaneGap = 12;
constexpr int kPageInset = 12;
constexpr COLORREF kBrowserAccent = 0xDCA050;
constexpr const char* kConfidenceKey = "stage2.adaptive_confidence";
constexpr const char* kDistanceKey = "stage2.spectral_distance_db";

// Fixed notation with `decimals` digits after ".", whatever the locale, as long
// as the number needs (the largest double has 309 digits before the point).
std::string FixedNotation(double value, int decimals)
{
    std::string text(400, '\0');
    const std::to_chars_result result = std::to_chars(text.data(), text.data() + text.size(), value,
                                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
    {
        return {};
    }
    text.resize(size_t(result.ptr - text.data()));
    return text;
}

ChainStripEntry DefaultCard(const std::string& id, const std::string& title, bool selected)
{
    ChainStripEntry entry;
    entry.id = id;
    entry.title = title;
    entry.color = 0x767676;
    entry.selected = selected;
    entry.enabled = true;
    entry.glyph = AddonGlyphForId(id);
    return entry;
}

ChainStripGroup DefaultGroup(const std::string& key, const std::string& shortCode,
                             const std::string& title, bool editable,
                             std::vector<ChainStripEntry> entries = {})
{
    ChainStripGroup group;
    group.key = key;
    group.shortCode = shortCode;
    group.title = title;
    group.color = ChainPositionColor(key);
    group.editable = editable;
    group.entries = std::move(entries);
    return group;
}

// The chain position an editable group's key stands for; -1 for any other key.
int ChainPositionOfKey(const std::string& key)
{
    static const struct
    {
        const char* key;
        int position;
    } kPositions[] = {
        {"PREMATCH", ChainPreMatch},
        {"POSTMATCHTONE", ChainPostMatchTone},
        {"POSTMATCHDYNAMICS", ChainPostMatchDynamics},
        {"STEREOIMAGE", ChainStereoImage},
        {"PRELIMITER", ChainPreLimiter},
    };
    for (const auto& entry : kPositions)
    {
        if (key == entry.key)
        {
            return entry.position;
        }
    }
    return -1;
}

// The first card, in group and card order, that is selected; null for none.
const ChainStripEntry* FirstSelectedCard(const std::vector<ChainStripGroup>& groups)
{
    for (const ChainStripGroup& group : groups)
    {
        for (const ChainStripEntry& entry : group.entries)
        {
            if (entry.selected)
            {
                return &entry;
            }
        }
    }
    return nullptr;
}

std::string SelectedId(const std::vector<ChainStripGroup>& groups)
{
    const ChainStripEntry* card = FirstSelectedCard(groups);
    return card != nullptr ? card->id : std::string();
}

const ChainStripEntry* FirstCardWithId(const std::vector<ChainStripGroup>& groups,
                                       const std::string& id)
{
    for (const ChainStripGroup& group : groups)
    {
        for (const ChainStripEntry& entry : group.entries)
        {
            if (entry.id == id)
            {
                return &entry;
            }
        }
    }
    return nullptr;
}

// The one item a bypassed add-on's panel shows.
ControlItem DisabledAddonTitle(const ProcessorDescriptor& descriptor)
{
    ControlItem item;
    item.kind = ControlKind::TextTitle;
    item.parameterId = "addon_disabled_title";
    item.label = descriptor.displayName + " (Disabled)";
    item.accentColor = 0x5284E5;
    item.value = 0.0;
    item.visible = true;
    item.drawBorder = false;
    item.drawBackground = false;
    item.spanOverrideX = 12;
    item.group = 1;
    return item;
}

} // namespace

std::string FormatStageMetric(const std::string& key, double value)
{
    if (key == kConfidenceKey)
    {
        if (value >= 0.85)
        {
            return "Fit: High";
        }
        return value >= 0.6 ? "Fit: Medium" : "Fit: Low";
    }
    if (key.find("_strength") != std::string::npos)
    {
        return FixedNotation(value * 100.0, 0) + "%";
    }
    if (key.find("_db") != std::string::npos || key.find("loudness_range") != std::string::npos)
    {
        return FixedNotation(value, 1);
    }
    return FixedNotation(value, 2);
}

FitReadout FitReadoutFor(bool adaptiveEnabled, const double* confidence)
{
    if (!adaptiveEnabled)
    {
        return {"Off", 0x101010};
    }
    if (confidence == nullptr)
    {
        return {"Fit: --", 0xD0964A};
    }
    if (*confidence >= 0.85)
    {
        return {"Fit: High", 0x80BE48};
    }
    if (*confidence >= 0.6)
    {
        return {"Fit: Medium", 0xD0964A};
    }
    // Below 0.6, and NaN, which compares with nothing and reads "Fit: Low".
    return {"Fit: Low", 0x4E4EC4};
}

std::vector<ChainStripGroup> DefaultMaesterChain()
{
    return {
        DefaultGroup("PREMATCH", "pre", "PREPARATION", true),
        DefaultGroup(
            "match", "ref", "REFERENCE", false,
            {DefaultCard("stage2", "Spectral", true), DefaultCard("stage3", "Dynamics", false)}),
        DefaultGroup("POSTMATCHTONE", "ton", "TONE", true),
        DefaultGroup("POSTMATCHDYNAMICS", "dyn", "DYNAMICS", true),
        DefaultGroup("STEREOIMAGE", "img", "IMAGE", true),
        DefaultGroup("PRELIMITER", "plm", "PRELIMITER", true),
        DefaultGroup("stage4", "FIN", "FINAL", false, {DefaultCard("stage4", "Limiter", false)})};
}

IMPLEMENT_DYNAMIC(CMaesterViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CMaesterViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WMU_CHAIN_STRIP_ACTION, &CMaesterViewportWnd::OnChainStripAction)
ON_MESSAGE(WMU_ADDON_PICKED, &CMaesterViewportWnd::OnAddonPicked)
ON_MESSAGE(WMU_PANEL_CONTROL_CHANGED, &CMaesterViewportWnd::OnPanelControlChanged)
ON_MESSAGE(WMU_PANEL_CONTROL_COMMIT, &CMaesterViewportWnd::OnPanelControlCommit)
END_MESSAGE_MAP()

CMaesterViewportWnd::~CMaesterViewportWnd() = default;

BOOL CMaesterViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    if (!CreatePageWindow(*this, parent, rect, id, L"BrimvaleMaesterViewportWnd"))
    {
        return FALSE;
    }
    EnsureChildren();
    SetupLayout();
    BuildDefaultChain();
    ShowSelectedStage();
    CloseAddonBrowser();
    SetBackgroundColor(0x100E0C);
    return TRUE;
}

void CMaesterViewportWnd::SetBackgroundColor(COLORREF color)
{
    if (color == backgroundColor)
    {
        return;
    }
    backgroundColor = color;
    chainStrip.SetBackgroundColor(color);
    stagePanel.SetBackgroundColor(color);
    addonBrowser.SetBackgroundColor(color);
    RepaintWhole(*this);
}

void CMaesterViewportWnd::EnsureChildren()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    if (!::IsWindow(chainStrip.GetSafeHwnd()) &&
        chainStrip.Create(this, CRect(0, 0, 0, 0), kMaesterStripViewportId))
    {
        chainStrip.EnsureChildren();
        chainStrip.SetBackgroundColor(backgroundColor);
    }
    if (!::IsWindow(stagePanel.GetSafeHwnd()) &&
        stagePanel.Create(CRect(0, 0, 0, 0), this, kMaesterStagePanelId) &&
        ::IsWindow(stagePanel.GetSafeHwnd()))
    {
        stagePanel.SetBackgroundColor(backgroundColor);
    }
    if (!::IsWindow(addonBrowser.GetSafeHwnd()) &&
        addonBrowser.Create(this, CRect(0, 0, 0, 0), kAddonBrowserId))
    {
        addonBrowser.SetBackgroundColor(backgroundColor);
        addonBrowser.SetAccentColor(kBrowserAccent);
    }
}

void CMaesterViewportWnd::SetupLayout()
{
    layout.Reset();
    LayoutNode& root = layout.Root();
    root.orientation = LayoutNode::kVertical;
    root.AddChild(kStripPane, 0, LayoutNode::kVertical);
    layout.SetExtentLimits(kStripPane, kStripPaneHeight, kStripPaneHeight);
    root.AddChild(kLowerPane, 1, LayoutNode::kVertical);
    root.gap = kPaneGap;
    if (::IsWindow(chainStrip.GetSafeHwnd()))
    {
        layout.AddWindowToSlot(kStripPane, chainStrip.GetSafeHwnd());
    }
    if (::IsWindow(stagePanel.GetSafeHwnd()))
    {
        layout.AddWindowToSlot(kLowerPane, stagePanel.GetSafeHwnd());
    }
    if (::IsWindow(addonBrowser.GetSafeHwnd()))
    {
        layout.AddWindowToSlot(kLowerPane, addonBrowser.GetSafeHwnd());
    }
    layout.ShowWindowInSlot(kLowerPane, stagePanel.GetSafeHwnd());
    // The page may already have its size: nothing else would place the panes
    // before the next WM_SIZE.
    LayoutPanes();
}

void CMaesterViewportWnd::LayoutPanes()
{
    if (!::IsWindow(m_hWnd) || !layout.Contains(kLowerPane))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    client.DeflateRect(kPageInset, kPageInset);
    if (client.IsRectEmpty())
    {
        return;
    }
    layout.SetBounds(client);
}

void CMaesterViewportWnd::BuildDefaultChain()
{
    chainStrip.SetGroups(DefaultMaesterChain());
}

void CMaesterViewportWnd::SetChain(const std::vector<ChainStripGroup>& groups)
{
    const std::vector<ChainStripGroup>& present = chainStrip.GetGroups();
    if (ChainStripGroupsEqual(present, groups) && SelectedId(present) == SelectedId(groups))
    {
        return;
    }
    chainStrip.SetGroups(groups);
    ShowSelectedStage();
}

void CMaesterViewportWnd::ShowSelectedStage()
{
    const ChainStripEntry* selected = FirstSelectedCard(chainStrip.GetGroups());
    ShowStagePanel(selected != nullptr ? selected->id : std::string("stage2"));
}

void CMaesterViewportWnd::ShowStagePanel(std::string id)
{
    if (!::IsWindow(stagePanel.GetSafeHwnd()))
    {
        return;
    }
    CControlGridPanelWnd& panel = stagePanel.panel;
    GridPackParams params;
    params.mode = GridPackMode::FitColumns;
    params.columns = 1;
    params.width = 0;
    params.minColumns = 8;
    params.maxColumns = 12;

    panel.name = id;
    if (panel.centreH != 1)
    {
        panel.centreH = 1;
        panel.LayoutControls();
    }
    stagePanel.LayoutChildren();
    panel.packParams = params;
    panel.LayoutControls();
    stagePanel.LayoutChildren();

    const auto applyPage = [&](const ParameterPage& page)
    {
        panel.packParams = page.params;
        panel.LayoutControls();
        stagePanel.LayoutChildren();
        panel.RebuildControls(page.items);
        stagePanel.LayoutChildren();
    };

    if (const ModeParameterGroup* group = FindModeParameterGroup(id))
    {
        applyPage(BuildParameterPage(*group, id, params));
    }
    else if (const ProcessorDescriptor* descriptor = FindProcessorDescriptor(id))
    {
        const ChainStripEntry* card = FirstCardWithId(chainStrip.GetGroups(), id);
        if (card != nullptr && !card->enabled)
        {
            panel.RebuildControls({DisabledAddonTitle(*descriptor)});
            stagePanel.LayoutChildren();
        }
        else
        {
            applyPage(BuildAddonInfoPage(*descriptor, id, params));
        }
    }
    else
    {
        meterBindings.clear();
        panel.RebuildControls({});
        stagePanel.LayoutChildren();
        return;
    }

    SendToParentWindow(WMU_STAGE_PANEL_CHANGED, 0, 0);

    meterBindings.clear();
    if (id == "stage4")
    {
        StageMeterBinding led;
        led.meterKey = "stage4.gain_reduction_db";
        led.mode = kMeterBindingThreshold;
        led.minimum = 0.0;
        led.maximum = 1.0;
        led.threshold = 1.0;
        meterBindings["stage4.led"] = led;
    }
    RefreshStageMetrics();
}

void CMaesterViewportWnd::ShowAddonBrowser(const std::string& groupKey)
{
    // The key may live in a record the strip is about to replace.
    const std::string key = groupKey;
    browserFilter = key;
    addonBrowser.SetAccentColor(ChainPositionColor(key));

    std::vector<std::string> usedIds;
    for (const ChainStripGroup& group : chainStrip.GetGroups())
    {
        if (group.key == key)
        {
            for (const ChainStripEntry& entry : group.entries)
            {
                usedIds.push_back(entry.id);
            }
            break;
        }
    }

    std::vector<AddonCard> cards;
    const int position = ChainPositionOfKey(key);
    if (position >= 0)
    {
        for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
        {
            if (descriptor.chainPosition == position)
            {
                AddonCard card;
                card.id = descriptor.id;
                card.displayName = descriptor.displayName;
                card.description = descriptor.description;
                cards.push_back(std::move(card));
            }
        }
        // std::string's order is the bytes' order, case and all.
        std::sort(cards.begin(), cards.end(),
                  [](const AddonCard& a, const AddonCard& b)
                  { return a.displayName < b.displayName; });
        for (AddonCard& card : cards)
        {
            card.used = std::find(usedIds.begin(), usedIds.end(), card.id) != usedIds.end();
        }
    }
    addonBrowser.SetCards(cards);

    if (!browserShown)
    {
        browserShown = true;
        ShowInLowerPane(addonBrowser);
    }
}

void CMaesterViewportWnd::CloseAddonBrowser()
{
    browserFilter.clear();
    if (browserShown)
    {
        browserShown = false;
        ShowInLowerPane(stagePanel);
    }
}

void CMaesterViewportWnd::ShowInLowerPane(const CWnd& window)
{
    if (layout.Contains(kLowerPane) && ::IsWindow(window.GetSafeHwnd()))
    {
        layout.ShowWindowInSlot(kLowerPane, window.GetSafeHwnd());
    }
    LayoutPanes();
}

void CMaesterViewportWnd::RefreshStageMetrics()
{
    if (!::IsWindow(stagePanel.GetSafeHwnd()) || stagePanel.panel.name.empty())
    {
        return;
    }
    for (const std::string_view key : kStageMetricReadoutKeys)
    {
        stagePanel.PostControlText(std::string(key), "--");
    }
    const double* confidence = nullptr;
    for (const StageMetric& metric : previewResult.stageMetrics)
    {
        const bool adaptiveMetric = metric.key == kDistanceKey || metric.key == kConfidenceKey;
        if (adaptiveMetric && !adaptiveEnabled)
        {
            continue;
        }
        if (metric.key == kConfidenceKey && confidence == nullptr)
        {
            confidence = &metric.value;
        }
        stagePanel.PostControlText(metric.key, FormatStageMetric(metric.key, metric.value));
    }
    const FitReadout fit = FitReadoutFor(adaptiveEnabled, confidence);
    stagePanel.PostControlText(kConfidenceKey, fit.text);
    stagePanel.PostControlAccent(kConfidenceKey, fit.accent);
}

bool CMaesterViewportWnd::UpdateMeterBindings(const AudioBuffer& buffer, double t)
{
    return ApplyMeterBindings(stagePanel.panel, meterBindings, buffer, t);
}

CMaesterViewportWnd::State CMaesterViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.backgroundColor = backgroundColor;
    return state;
}

void CMaesterViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const Gdiplus::SolidBrush fill(Gdiplus::ColorFromRef(state.backgroundColor));
    graphics.FillRectangle(&fill, 0, 0, int(state.size.cx), int(state.size.cy));
}

void CMaesterViewportWnd::OnPaint()
{
    PaintDoubleBuffered(*this, [this](Gdiplus::Graphics& graphics, const RECT&)
                        { Draw(graphics, GetState()); });
}

void CMaesterViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutPanes();
}

void CMaesterViewportWnd::OnDestroy()
{
    for (CWnd* child : {static_cast<CWnd*>(&addonBrowser), static_cast<CWnd*>(&stagePanel),
                        static_cast<CWnd*>(&chainStrip)})
    {
        if (::IsWindow(child->GetSafeHwnd()))
        {
            child->DestroyWindow();
        }
    }
    CWnd::OnDestroy();
}

LRESULT CMaesterViewportWnd::OnChainStripAction(WPARAM, LPARAM lParam)
{
    const auto* record = reinterpret_cast<const ChainStripAction*>(lParam);
    if (record == nullptr)
    {
        return 0;
    }
    // The record lives on the strip's stack and the parent may replace the
    // chain while a request is out: keep copies.
    const int action = record->action;
    const std::string groupKey = record->groupKey;
    const std::string entryId = record->entryId;
    switch (action)
    {
    case kChainStripSelect:
    {
        CloseAddonBrowser();
        std::vector<ChainStripGroup> groups = chainStrip.GetGroups();
        for (ChainStripGroup& group : groups)
        {
            for (ChainStripEntry& entry : group.entries)
            {
                entry.selected = group.key == groupKey && entry.id == entryId;
            }
        }
        chainStrip.SetGroups(groups);
        ShowSelectedStage();
        break;
    }
    case kChainStripToggleEnabled:
        if (groupKey != "match" && !entryId.empty())
        {
            RequestChainChange(entryId, false, true);
        }
        break;
    case kChainStripAdd:
        ShowAddonBrowser(groupKey);
        break;
    case kChainStripRemove:
        CloseAddonBrowser();
        RequestChainChange(entryId, false, false);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CMaesterViewportWnd::OnAddonPicked(WPARAM, LPARAM lParam)
{
    const auto* pick = reinterpret_cast<const AddonPick*>(lParam);
    if (pick == nullptr || pick->index < 0 || browserFilter.empty() ||
        size_t(pick->index) >= addonBrowser.cards.size())
    {
        return 0;
    }
    const std::string id = addonBrowser.cards[size_t(pick->index)].id;
    CloseAddonBrowser();
    RequestChainChange(id, true, false);
    return 0;
}

LRESULT CMaesterViewportWnd::OnPanelControlChanged(WPARAM wParam, LPARAM lParam)
{
    SendToParentWindow(WMU_PANEL_CONTROL_CHANGED, wParam, lParam);
    return 0;
}

LRESULT CMaesterViewportWnd::OnPanelControlCommit(WPARAM wParam, LPARAM lParam)
{
    SendToParentWindow(WMU_PANEL_CONTROL_COMMIT, wParam, lParam);
    return 0;
}

void CMaesterViewportWnd::SendToParentWindow(UINT message, WPARAM wParam, LPARAM lParam) const
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent != nullptr && ::IsWindow(parent))
    {
        ::SendMessageW(parent, message, wParam, lParam);
    }
}

void CMaesterViewportWnd::RequestChainChange(const std::string& id, bool add,
                                             bool toggleEnabled) const
{
    AddonChainRequest request;
    request.addonId = id;
    request.add = add;
    request.toggleEnabled = toggleEnabled;
    SendToParentWindow(WMU_ADDON_CHAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&request));
}
