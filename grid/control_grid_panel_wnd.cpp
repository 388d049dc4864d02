#include "grid/control_grid_panel_wnd.h"

#include "base/unicode_text.h"
#include "grid/control_factory.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <set>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CControlGridPanelWnd, CWnd)

BEGIN_MESSAGE_MAP(CControlGridPanelWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_MESSAGE(WMU_CONTROL_CHANGED, &CControlGridPanelWnd::OnControlChanged)
ON_MESSAGE(WMU_CONTROL_COMMIT, &CControlGridPanelWnd::OnControlCommit)
ON_MESSAGE(WMU_SET_CONTROL_VALUE, &CControlGridPanelWnd::OnSetControlValue)
ON_MESSAGE(WMU_SET_CONTROL_TEXT, &CControlGridPanelWnd::OnSetControlText)
ON_MESSAGE(WMU_SET_CONTROL_ACCENT, &CControlGridPanelWnd::OnSetControlAccent)
END_MESSAGE_MAP()

namespace
{

constexpr UINT kFirstControlId = 0x3000;
constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE;

template <typename Record> void FreePostedRecord(WPARAM, LPARAM lParam)
{
    delete reinterpret_cast<Record*>(lParam);
}

// Updates still queued when a panel's window dies are freed by the queue.
// WMU_CONTROL_COMMIT is not among them: a bar posts it with a number.
void RegisterUpdateDeleters()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       RegisterPostedPayloadDeleter(WMU_SET_CONTROL_VALUE,
                                                    &FreePostedRecord<ControlValueUpdate>);
                       RegisterPostedPayloadDeleter(WMU_SET_CONTROL_TEXT,
                                                    &FreePostedRecord<ControlTextUpdate>);
                       RegisterPostedPayloadDeleter(WMU_SET_CONTROL_ACCENT,
                                                    &FreePostedRecord<ControlAccentUpdate>);
                   });
}

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool IsLive(const CBaseControlWnd* control)
{
    return control != nullptr && ::IsWindow(control->GetSafeHwnd());
}

// The item's own span when it is placed explicitly with a whole span, else the
// control's.
CSize SpanOf(const ControlItem& item, const CBaseControlWnd& control)
{
    if (item.explicitPlacement && item.spanX >= 1 && item.spanY >= 1)
    {
        return CSize(item.spanX, item.spanY);
    }
    return control.GetGridSpan();
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

// Where the content starts on one axis: at the margin, or centred in what the
// margins leave when centring is on and there is room.
int CentredOrigin(int centre, std::int64_t clientLength, int margin, std::int64_t used)
{
    const std::int64_t available = clientLength - 2 * std::int64_t{margin};
    if (centre != 1 || available <= used)
    {
        return margin;
    }
    return ClampToInt(margin + (available - used) / 2);
}

// The scroll offset held to what the content reaches past the client.
int ClampedScroll(int scroll, std::int64_t extent, std::int64_t clientLength)
{
    const std::int64_t limit = extent > clientLength ? extent - clientLength : 0;
    return ClampToInt(std::max<std::int64_t>(std::min<std::int64_t>(scroll, limit), 0));
}

} // namespace

CControlGridPanelWnd::CControlGridPanelWnd()
{
    RegisterUpdateDeleters();
}

CControlGridPanelWnd::~CControlGridPanelWnd()
{
    DestroyControls();
    if (::IsWindow(m_hWnd))
    {
        DestroyWindow();
    }
}

BOOL CControlGridPanelWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, windowClass, L"BrimvaleControlGridPanelWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, parent, id);
}

void CControlGridPanelWnd::RebuildControls(const std::vector<ControlItem>& items)
{
    DestroyControls();
    rebuilding = true;
    struct EndRebuild
    {
        bool& flag;
        ~EndRebuild() { flag = false; }
    } endRebuild{rebuilding};

    UINT nextId = kFirstControlId;
    std::set<std::string> seenIds;
    for (const ControlItem& item : items)
    {
        if (!seenIds.insert(item.parameterId).second && !item.parameterId.empty())
        {
            continue;
        }
        std::unique_ptr<CBaseControlWnd> control = CreateControlForKind(item);
        if (!control)
        {
            continue;
        }
        const CSize span = SpanOf(item, *control);
        control->SetGridSpan(span);
        // Spans and cell sizes come from files unchecked.
        const RECT rect{0, 0, ClampToWindowRange(std::int64_t{cellSize} * span.cx),
                        ClampToWindowRange(std::int64_t{cellSize} * span.cy)};
        if (!control->Create(rect, this, nextId++))
        {
            continue;
        }
        control->SetBackgroundColor(background);
        control->ApplyItem(item);
        entries.push_back(ControlGridEntry{item, std::move(control)});
    }
    rebuilding = false;
    LayoutControls();
}

void CControlGridPanelWnd::DestroyControls()
{
    for (ControlGridEntry& entry : entries)
    {
        if (IsLive(entry.control.get()))
        {
            entry.control->DestroyWindow();
        }
    }
    entries.clear();
}

GridPackParams CControlGridPanelWnd::PackParamsFor(const RECT& client) const
{
    GridPackParams params = packParams;
    if (params.mode == GridPackMode::FitColumns || params.mode == GridPackMode::FitColumnsDense)
    {
        params.width =
            ClampToInt(std::int64_t{client.right} - client.left - 2 * std::int64_t{marginX});
    }
    return params;
}

void CControlGridPanelWnd::FillPacker(GridPacker& packer, int originX, int originY) const
{
    packer.cellSize = cellSize;
    packer.gap = gap;
    packer.originX = originX;
    packer.originY = originY;
    packer.flowGroups.emplace_back();
    bool haveGroup = false;
    int currentGroup = 0;
    for (const ControlGridEntry& entry : entries)
    {
        AddEntryToPacker(packer, entry, haveGroup, currentGroup);
    }
}

void CControlGridPanelWnd::LayoutControls()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const GridPackParams params = PackParamsFor(client);

    // Measure.
    for (const ControlGridEntry& entry : entries)
    {
        if (IsLive(entry.control.get()))
        {
            entry.control->ShowWindow(entry.item.visible ? SW_SHOW : SW_HIDE);
        }
    }
    std::vector<GridPlacement> placements;
    RECT used{0, 0, 0, 0};
    {
        GridPacker measure;
        FillPacker(measure, marginX, marginY);
        measure.Pack(params, placements, &used);
    }
    const RECT measured = IsEmpty(used) ? RECT{marginX, marginY, marginX, marginY}
                                        : RECT{marginX, marginY, used.right, used.bottom};

    // Centre, then hold the scroll offsets to what lies past the client.
    const std::int64_t usedWidth =
        std::max<std::int64_t>(0, std::int64_t{measured.right} - measured.left);
    const std::int64_t usedHeight =
        std::max<std::int64_t>(0, std::int64_t{measured.bottom} - measured.top);
    const int originX = CentredOrigin(centreH, client.Width(), marginX, usedWidth);
    const int originY = CentredOrigin(centreV, client.Height(), marginY, usedHeight);
    const std::int64_t shiftX = std::int64_t{originX} - marginX;
    const std::int64_t shiftY = std::int64_t{originY} - marginY;
    content = RECT{ClampToInt(measured.left + shiftX), ClampToInt(measured.top + shiftY),
                   ClampToInt(measured.right + shiftX), ClampToInt(measured.bottom + shiftY)};
    scrollX = ClampedScroll(
        scrollX, std::max<std::int64_t>(0, std::int64_t{content.right} - originX), client.Width());
    scrollY =
        ClampedScroll(scrollY, std::max<std::int64_t>(0, std::int64_t{content.bottom} - originY),
                      client.Height());

    // Place.
    GridPacker place;
    FillPacker(place, ClampToInt(std::int64_t{originX} - scrollX),
               ClampToInt(std::int64_t{originY} - scrollY));
    place.Pack(params, placements);
    MoveControls(placements);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CControlGridPanelWnd::MoveControls(const std::vector<GridPlacement>& placements)
{
    std::vector<const GridPlacement*> live;
    for (const GridPlacement& placement : placements)
    {
        if (IsLive(placement.control))
        {
            live.push_back(&placement);
        }
    }
    if (live.empty())
    {
        return;
    }
    const auto moveNow = [](const GridPlacement& p)
    {
        ::SetWindowPos(p.control->GetSafeHwnd(), nullptr, p.rect.left, p.rect.top,
                       p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, kMoveFlags);
    };
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(live.size()));
    for (size_t i = 0; i < live.size(); ++i)
    {
        const GridPlacement& p = *live[i];
        if (batch == nullptr)
        {
            moveNow(p);
            continue;
        }
        batch =
            ::DeferWindowPos(batch, p.control->GetSafeHwnd(), nullptr, p.rect.left, p.rect.top,
                             p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, kMoveFlags);
        if (batch == nullptr)
        {
            // The failed batch took the moves queued so far with it.
            for (size_t j = 0; j <= i; ++j)
            {
                moveNow(*live[j]);
            }
        }
    }
    if (batch != nullptr)
    {
        ::EndDeferWindowPos(batch);
    }
}

void CControlGridPanelWnd::AddEntryToPacker(GridPacker& packer, const ControlGridEntry& entry,
                                            bool& haveGroup, int& currentGroup) const
{
    const ControlItem& item = entry.item;
    if (!IsLive(entry.control.get()) || !item.visible)
    {
        return;
    }
    const CSize span = SpanOf(item, *entry.control);
    if (item.explicitPlacement)
    {
        packer.explicitEntries.push_back(GridExplicitEntry{entry.control.get(), item.gridX,
                                                           item.gridY, static_cast<int>(span.cx),
                                                           static_cast<int>(span.cy)});
        return;
    }
    if (!haveGroup)
    {
        haveGroup = true;
        currentGroup = item.group;
    }
    else if (item.group != currentGroup)
    {
        if (packer.flowGroups.empty() || !packer.flowGroups.back().empty())
        {
            packer.flowGroups.emplace_back();
        }
        currentGroup = item.group;
    }
    if (packer.flowGroups.empty())
    {
        packer.flowGroups.emplace_back();
    }
    packer.flowGroups.back().push_back(GridFlowEntry{entry.control.get(),
                                                     std::max(static_cast<int>(span.cx), 1),
                                                     std::max(static_cast<int>(span.cy), 1)});
}

DesignerLayout CControlGridPanelWnd::ExportLayout() const
{
    DesignerLayout layout;
    layout.pluginId = name;
    layout.cellSize = cellSize;
    layout.padding = gap;
    layout.nextItemCounter = 1;
    if (!::IsWindow(m_hWnd))
    {
        return layout;
    }
    CRect client;
    GetClientRect(&client);
    GridPacker packer;
    FillPacker(packer, 0, 0);
    std::vector<GridPlacement> placements;
    packer.Pack(PackParamsFor(client), placements);

    std::unordered_map<const CBaseControlWnd*, const ControlGridEntry*> entryOf;
    for (const ControlGridEntry& entry : entries)
    {
        entryOf.emplace(entry.control.get(), &entry);
    }
    for (const GridPlacement& placement : placements)
    {
        const auto found = entryOf.find(placement.control);
        if (found == entryOf.end())
        {
            continue;
        }
        const ControlItem& item = found->second->item;
        const CBaseControlWnd& control = *found->second->control;
        DesignerItem out;
        out.instanceId = static_cast<int>(layout.items.size()) + 1;
        out.kind = item.kind;
        out.internalName = control.GetKindName();
        out.gridX = placement.col;
        out.gridY = placement.row;
        out.spanX = placement.spanX;
        out.spanY = placement.spanY;
        out.drawBorder = control.GetDrawBorder();
        out.drawBackground = control.GetDrawBackground();
        out.accentColor = control.GetAccentColor();
        out.value = control.GetValue();
        out.secondaryValue = control.GetSecondaryValue();
        out.textValue = WideToUtf8(control.GetTextValue().GetString());
        CString suffix;
        control.GetDisplayRange(out.displayMin, out.displayMax, out.displayDecimals, suffix);
        out.displaySuffix = WideToUtf8(suffix.GetString());
        out.label = item.label;
        out.secondaryText = item.secondaryText;
        out.toolTip = item.toolTip;
        out.parameterId = item.parameterId;
        out.hasSecondaryValue = item.hasSecondaryValue;
        out.valueMode = item.valueMode;
        out.stepCount = item.stepCount;
        out.selectedIndex = item.selectedIndex;
        out.stepLabels = item.stepLabels;
        out.toggleValue = item.toggleValue;
        layout.items.push_back(std::move(out));
    }
    layout.nextItemCounter = static_cast<int>(layout.items.size()) + 1;
    return layout;
}

CBaseControlWnd* CControlGridPanelWnd::FindControl(const std::string& parameterId) const
{
    for (const ControlGridEntry& entry : entries)
    {
        if (entry.control && entry.item.parameterId == parameterId)
        {
            return entry.control.get();
        }
    }
    return nullptr;
}

bool CControlGridPanelWnd::SetControlValueById(const std::string& parameterId, double value)
{
    if (!::IsWindow(m_hWnd) || !alive)
    {
        return false;
    }
    CBaseControlWnd* control = FindControl(parameterId);
    if (control == nullptr)
    {
        return false;
    }
    control->SetValueSilently(value);
    return true;
}

bool CControlGridPanelWnd::SetControlTextById(const std::string& parameterId,
                                              const std::string& utf8Text)
{
    if (!::IsWindow(m_hWnd) || !alive)
    {
        return false;
    }
    CBaseControlWnd* control = FindControl(parameterId);
    if (control == nullptr)
    {
        return false;
    }
    control->SetTextValue(CString(Utf8ToWide(utf8Text).c_str()));
    return true;
}

void CControlGridPanelWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, background);
}

void CControlGridPanelWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutControls();
}

void CControlGridPanelWnd::OnDestroy()
{
    alive = false;
    CWnd::OnDestroy();
}

void CControlGridPanelWnd::TellParent(UINT message, LPARAM control)
{
    if (rebuilding || control == 0)
    {
        return;
    }
    const HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr)
    {
        return;
    }
    auto* sender = reinterpret_cast<CBaseControlWnd*>(control);
    ControlEvent event{name, sender->GetParameterId(), sender->GetValue(), sender};
    ::SendMessage(parent, message, 0, reinterpret_cast<LPARAM>(&event));
}

LRESULT CControlGridPanelWnd::OnControlChanged(WPARAM, LPARAM lParam)
{
    TellParent(WMU_PANEL_CONTROL_CHANGED, lParam);
    return 0;
}

LRESULT CControlGridPanelWnd::OnControlCommit(WPARAM, LPARAM lParam)
{
    TellParent(WMU_PANEL_CONTROL_COMMIT, lParam);
    return 0;
}

LRESULT CControlGridPanelWnd::OnSetControlValue(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<ControlValueUpdate> update(reinterpret_cast<ControlValueUpdate*>(lParam));
    if (!update || !alive || !::IsWindow(m_hWnd))
    {
        return 0;
    }
    if (CBaseControlWnd* control = FindControl(update->parameterId))
    {
        control->SetValueSilently(update->value);
        if (update->hasSecondary)
        {
            control->SetSecondaryValueSilently(update->secondaryValue);
        }
    }
    return 0;
}

LRESULT CControlGridPanelWnd::OnSetControlText(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<ControlTextUpdate> update(reinterpret_cast<ControlTextUpdate*>(lParam));
    if (update && alive)
    {
        SetControlTextById(update->parameterId, update->text);
    }
    return 0;
}

LRESULT CControlGridPanelWnd::OnSetControlAccent(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<ControlAccentUpdate> update(
        reinterpret_cast<ControlAccentUpdate*>(lParam));
    if (!update || !alive || !::IsWindow(m_hWnd))
    {
        return 0;
    }
    if (CBaseControlWnd* control = FindControl(update->parameterId))
    {
        control->SetAccentColor(update->colour);
    }
    return 0;
}
