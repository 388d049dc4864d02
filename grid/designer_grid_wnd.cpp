#include "grid/designer_grid_wnd.h"

#include "controls/base/double_buffered_paint.h"
#include "grid/designer_previews.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

IMPLEMENT_DYNAMIC(CDesignerGridWnd, CWnd)

BEGIN_MESSAGE_MAP(CDesignerGridWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace
{

constexpr Gdiplus::ARGB kBackground = 0xFF0C0E10;
constexpr Gdiplus::ARGB kGridLine = 0xFF22262C;
constexpr Gdiplus::ARGB kSelectionFrame = 0xDCE58452;
constexpr Gdiplus::ARGB kResizeFrame = 0xF0FFD65C;
constexpr Gdiplus::ARGB kHandleFill = 0xDCE58452;
constexpr Gdiplus::ARGB kHandleOutline = 0xFFFAF0E8;
constexpr Gdiplus::ARGB kItemBorder = 0x30FFFFFF;
constexpr Gdiplus::ARGB kValidFill = 0x1CE58452;
constexpr Gdiplus::ARGB kInvalidFill = 0x2EE04848;
constexpr Gdiplus::ARGB kValidOutline = 0x78FFD65C;
constexpr Gdiplus::ARGB kInvalidOutline = 0xBEFF5656;
constexpr Gdiplus::ARGB kDropOutline = 0xDCE58452;

// Far beyond any client, yet with room for sums without overflow.
constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 28;

int HeldCoordinate(std::int64_t value)
{
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

void SetSteps(DesignerItem& item, std::vector<std::string> labels, int selected)
{
    item.stepCount = static_cast<int>(labels.size());
    item.stepLabels = std::move(labels);
    item.selectedIndex = selected;
}

void NoFrame(DesignerItem& item)
{
    item.drawBorder = false;
    item.drawBackground = false;
}

// Two items' cell rectangles meet; spans of 0 or less cover nothing.
bool CellsIntersect(std::int64_t col, std::int64_t row, std::int64_t spanX, std::int64_t spanY,
                    const DesignerItem& item)
{
    return col < std::int64_t(item.gridX) + item.spanX && item.gridX < col + spanX &&
           row < std::int64_t(item.gridY) + item.spanY && item.gridY < row + spanY && spanX > 0 &&
           spanY > 0 && item.spanX > 0 && item.spanY > 0;
}

Gdiplus::RectF InsetF(const RECT& r, float inset)
{
    return Gdiplus::RectF(float(r.left) + inset, float(r.top) + inset,
                          float(r.right - r.left) - 2.0f * inset,
                          float(r.bottom - r.top) - 2.0f * inset);
}

// Items are painted off-screen at their full size first. One far larger than
// any screen (a stored span in the hundreds) would cost gigabytes on every
// repaint, so it shows its frame only.
constexpr std::int64_t kLargestItemPicture = std::int64_t(4096) * 4096;

// Worth an off-screen picture: partly within the client, and of a size that a
// repaint can afford.
bool Paintable(const RECT& a, SIZE size)
{
    const std::int64_t area = std::int64_t(a.right - a.left) * (a.bottom - a.top);
    return a.right > 0 && a.bottom > 0 && a.left < size.cx && a.top < size.cy && a.right > a.left &&
           a.bottom > a.top && area <= kLargestItemPicture;
}

void DrawHandle(Gdiplus::Graphics& graphics, const RECT& handle)
{
    const Gdiplus::SolidBrush fill{Gdiplus::Color(kHandleFill)};
    graphics.FillRectangle(&fill, handle.left, handle.top, CDesignerGridWnd::kHandleSize,
                           CDesignerGridWnd::kHandleSize);
    const Gdiplus::Pen outline(Gdiplus::Color(kHandleOutline), 1.0f);
    graphics.DrawRectangle(&outline, float(handle.left) + 0.5f, float(handle.top) + 0.5f, 9.0f,
                           9.0f);
}

void DrawGridLines(Gdiplus::Graphics& graphics, int pitch, SIZE size)
{
    const int origin = CDesignerGridWnd::kOrigin;
    const Gdiplus::Pen pen(Gdiplus::Color(kGridLine), 1.0f);
    if (size.cx >= origin)
    {
        for (std::int64_t x = origin; x <= size.cx; x += pitch)
        {
            graphics.DrawLine(&pen, float(x) + 0.5f, float(origin), float(x) + 0.5f,
                              float(size.cy));
        }
    }
    if (size.cy >= origin)
    {
        for (std::int64_t y = origin; y <= size.cy; y += pitch)
        {
            graphics.DrawLine(&pen, float(origin), float(y) + 0.5f, float(size.cx),
                              float(y) + 0.5f);
        }
    }
}

// Counters stop at INT_MAX rather than wrapping to ids the layout may hold.
int TakeNext(int& counter)
{
    const int taken = counter;
    if (counter < INT32_MAX)
    {
        ++counter;
    }
    return taken;
}

} // namespace

DesignerItem MakeSampleDesignerItem(const ControlCatalogEntry& entry, int instanceId, int counter,
                                    bool drawBorder, bool drawBackground)
{
    DesignerItem item;
    item.instanceId = instanceId;
    item.kind = static_cast<ControlKind>(entry.kind);
    item.internalName = entry.kindName;
    item.label = entry.kindName;
    item.spanX = entry.spanX;
    item.spanY = entry.spanY;
    item.drawBorder = drawBorder;
    item.drawBackground = drawBackground;
    char id[32];
    std::snprintf(id, sizeof id, "ITEM_%d", counter);
    item.parameterId = id;
    switch (item.kind)
    {
    case ControlKind::TextTitle:
        item.label = "Section Title";
        NoFrame(item);
        break;
    case ControlKind::TextCaption:
        item.label = "Small description";
        NoFrame(item);
        break;
    case ControlKind::TextCaptionBlock:
        item.label = "Details";
        item.toolTip = "Short supporting text.";
        NoFrame(item);
        break;
    case ControlKind::TextLabelStrip:
        item.label = "Text Label";
        break;
    case ControlKind::ValueReadout:
        item.label = "Readout";
        item.textValue = "12.3 dB";
        break;
    case ControlKind::TextBlock:
        item.label = "Title";
        item.toolTip = "Wrapped text block.\r\nSecond line.";
        break;
    case ControlKind::StereoFieldGraph:
        item.label = "Stereo Field";
        item.textValue = "Polar stereo graph";
        NoFrame(item);
        break;
    case ControlKind::CorrelationMeter:
        item.label = "Correlation";
        item.textValue = "Stereo phase correlation";
        NoFrame(item);
        break;
    case ControlKind::Goniometer:
        item.label = "Goniometer";
        item.textValue = "Stereo shape scope";
        NoFrame(item);
        break;
    case ControlKind::PeakSymmetryGraph:
        item.label = "Peak Symmetry";
        item.textValue = "Positive and negative peak balance";
        NoFrame(item);
        break;
    case ControlKind::NeedleMeter:
        item.value = 0.35;
        item.displayMin = -20.0;
        item.displayMax = 6.0;
        item.displayDecimals = 1;
        item.displaySuffix = " dB";
        break;
    case ControlKind::SevenSegmentDisplay:
        item.label = "LUFS";
        item.textValue = "-9.8";
        break;
    case ControlKind::NixieDisplay:
        item.label = "Counter";
        item.textValue = "1234";
        break;
    case ControlKind::OutputMeter:
        item.label = "Out";
        item.value = 0.62;
        item.secondaryValue = 0.74;
        item.hasSecondaryValue = true;
        break;
    case ControlKind::SteppedKnob:
    case ControlKind::SmallSteppedKnob:
        SetSteps(item, {"A", "B", "C", "D", "E"}, 2);
        break;
    case ControlKind::MenuBar:
        item.label = "Mode";
        SetSteps(item, {"Apprentice", "Maester"}, 0);
        break;
    case ControlKind::SegmentSwitch:
        item.label = "Focus";
        SetSteps(item, {"Low", "Mid", "High"}, 1);
        break;
    case ControlKind::ToggleSwitch:
        item.toggleValue = true;
        break;
    case ControlKind::PanelLight:
        item.label.clear();
        item.value = 1.0;
        item.drawBorder = false;
        break;
    case ControlKind::RoundTransportButton:
        item.label.clear();
        item.textValue = "play";
        item.value = 0.0;
        break;
    case ControlKind::ABMonitorSwitch:
        item.label = "MONITOR";
        item.selectedIndex = 0;
        item.value = 0.0;
        break;
    default:
        break;
    }
    return item;
}

// ---------------------------------------------------------------- geometry

CDesignerGridWnd::Geometry CDesignerGridWnd::GeometryOf(const DesignerLayout& layout)
{
    return Geometry{std::max(layout.cellSize, 1), std::max(layout.padding, 0)};
}

RECT CDesignerGridWnd::Geometry::CellRect(int gridX, int gridY, int spanX, int spanY) const
{
    const std::int64_t pitch = Pitch();
    const std::int64_t left = kOrigin + std::int64_t(gridX) * pitch;
    const std::int64_t top = kOrigin + std::int64_t(gridY) * pitch;
    const std::int64_t width = std::int64_t(spanX) * cellSize + (std::int64_t(spanX) - 1) * padding;
    const std::int64_t height =
        std::int64_t(spanY) * cellSize + (std::int64_t(spanY) - 1) * padding;
    return RECT{HeldCoordinate(left), HeldCoordinate(top), HeldCoordinate(left + width),
                HeldCoordinate(top + height)};
}

RECT CDesignerGridWnd::Geometry::ItemRect(const DesignerItem& item) const
{
    return CellRect(item.gridX, item.gridY, item.spanX, item.spanY);
}

RECT CDesignerGridWnd::Geometry::WidthHandle(const RECT& item)
{
    const int left = item.right - kHandleSize / 2;
    const int top = item.top + (item.bottom - item.top - kHandleSize) / 2;
    return RECT{left, top, left + kHandleSize, top + kHandleSize};
}

RECT CDesignerGridWnd::Geometry::HeightHandle(const RECT& item)
{
    const int left = item.left + (item.right - item.left - kHandleSize) / 2;
    const int top = item.bottom - kHandleSize / 2;
    return RECT{left, top, left + kHandleSize, top + kHandleSize};
}

// ---------------------------------------------------------------- drawing

void CDesignerGridWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::Color(kBackground));
    const Geometry geometry = GeometryOf(state.layout);
    DrawGridLines(graphics, geometry.Pitch(), state.size);

    for (const DesignerItem& item : state.layout.items)
    {
        const RECT rect = geometry.ItemRect(item);
        if (Paintable(rect, state.size))
        {
            DrawPlacedItemBuffered(graphics, rect, item);
        }
        if (item.instanceId == state.selectedId)
        {
            const bool resizing = state.dragMode == DragWidth || state.dragMode == DragHeight;
            const float width = resizing ? 2.5f : 1.5f;
            const Gdiplus::Pen frame(Gdiplus::Color(resizing ? kResizeFrame : kSelectionFrame),
                                     width);
            graphics.DrawRectangle(&frame, InsetF(rect, width / 2.0f));
            DrawHandle(graphics, Geometry::WidthHandle(rect));
            DrawHandle(graphics, Geometry::HeightHandle(rect));
        }
        else if (item.drawBorder)
        {
            const Gdiplus::Pen border(Gdiplus::Color(kItemBorder), 1.0f);
            const Gdiplus::RectF r = InsetF(rect, 0.0f);
            graphics.DrawRectangle(&border, r.X + 0.5f, r.Y + 0.5f, r.Width - 1.0f,
                                   r.Height - 1.0f);
        }
    }

    if (state.dragPreviewVisible)
    {
        const RECT rect = geometry.CellRect(state.dragPreviewCell.x, state.dragPreviewCell.y,
                                            state.dragPreviewSpan.cx, state.dragPreviewSpan.cy);
        const Gdiplus::RectF r = InsetF(rect, 0.0f);
        const Gdiplus::SolidBrush fill{
            Gdiplus::Color(state.dragPreviewValid ? kValidFill : kInvalidFill)};
        graphics.FillRectangle(&fill, r);
        Gdiplus::Pen outline(
            Gdiplus::Color(state.dragPreviewValid ? kValidOutline : kInvalidOutline),
            state.dragPreviewValid ? 1.5f : 1.0f);
        if (!state.dragPreviewValid)
        {
            outline.SetDashStyle(Gdiplus::DashStyleDash);
        }
        graphics.DrawRectangle(&outline, r.X + 0.5f, r.Y + 0.5f, r.Width - 1.0f, r.Height - 1.0f);
    }

    if (state.dropPreviewVisible)
    {
        const RECT rect = geometry.ItemRect(state.dropPreviewItem);
        if (Paintable(rect, state.size))
        {
            DrawPlacedItemBuffered(graphics, rect, state.dropPreviewItem);
        }
        const Gdiplus::Pen outline(Gdiplus::Color(kDropOutline), 2.0f);
        const Gdiplus::RectF r = InsetF(rect, 0.0f);
        graphics.DrawRectangle(&outline, r.X + 1.0f, r.Y + 1.0f, r.Width - 2.0f, r.Height - 2.0f);
    }
}

CDesignerGridWnd::State CDesignerGridWnd::GetState() const
{
    State state;
    state.layout = layout;
    state.selectedId = selectedId;
    state.dragMode = dragMode;
    state.dropPreviewVisible = dropPreviewVisible;
    state.dropPreviewItem = dropPreviewItem;
    state.dragPreviewVisible = dragPreviewVisible;
    state.dragPreviewCell = dragPreviewCell;
    state.dragPreviewSpan = dragPreviewSpan;
    state.dragPreviewValid = dragPreviewValid;
    if (::IsWindow(m_hWnd))
    {
        CRect client;
        GetClientRect(&client);
        state.size = SIZE{client.Width(), client.Height()};
    }
    return state;
}

// ---------------------------------------------------------------- model

CDesignerGridWnd::~CDesignerGridWnd() = default;

BOOL CDesignerGridWnd::Create(const RECT& rect, CWnd* parent)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
    return CreateEx(0, windowClass, L"BrimvaleDesignerGridWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, rect,
                    parent, kControlId);
}

void CDesignerGridWnd::Repaint()
{
    if (::IsWindow(m_hWnd))
    {
        Invalidate(FALSE);
    }
}

void CDesignerGridWnd::TellSelection()
{
    const HWND parent = ::IsWindow(m_hWnd) ? ::GetParent(m_hWnd) : nullptr;
    if (parent != nullptr)
    {
        ::SendMessageW(parent, WMU_DESIGNER_SELECTION, WPARAM(selectedId),
                       reinterpret_cast<LPARAM>(this));
    }
}

DesignerItem* CDesignerGridWnd::FindItem(int instanceId)
{
    for (DesignerItem& item : layout.items)
    {
        if (item.instanceId == instanceId)
        {
            return &item;
        }
    }
    return nullptr;
}

void CDesignerGridWnd::SetLayout(const DesignerLayout& source)
{
    if (&source != &layout)
    {
        layout = source;
    }
    layout.nextItemCounter = std::max(layout.nextItemCounter, 1);
    int largest = 0;
    for (const DesignerItem& item : layout.items)
    {
        largest = std::max(largest, item.instanceId);
    }
    nextInstanceId = largest < INT32_MAX ? largest + 1 : INT32_MAX;
    Repaint();
}

bool CDesignerGridWnd::IsAreaFree(int excludedId, int col, int row, int spanX, int spanY) const
{
    return std::none_of(layout.items.begin(), layout.items.end(),
                        [&](const DesignerItem& item) {
                            return item.instanceId != excludedId &&
                                   CellsIntersect(col, row, spanX, spanY, item);
                        });
}

bool CDesignerGridWnd::FindFreeCell(const DesignerItem& item, int startCol, int startRow,
                                    POINT& cell) const
{
    for (std::int64_t row = startRow; row < std::int64_t(startRow) + kSearchRows; ++row)
    {
        for (int col = row == startRow ? startCol : 0; col < kSearchColumns; ++col)
        {
            if (row <= INT32_MAX && IsAreaFree(-1, col, int(row), item.spanX, item.spanY))
            {
                cell = POINT{col, int(row)};
                return true;
            }
        }
    }
    return false;
}

bool CDesignerGridWnd::StartCellAt(POINT client, int& col, int& row) const
{
    CRect rect;
    GetClientRect(&rect);
    if (!rect.PtInRect(client))
    {
        return false;
    }
    const int pitch = GeometryOf(layout).Pitch();
    col = std::max(0, (client.x - kOrigin) / pitch);
    row = std::max(0, (client.y - kOrigin) / pitch);
    return true;
}

void CDesignerGridWnd::AddItem(const ControlCatalogEntry& entry)
{
    const int counter = TakeNext(layout.nextItemCounter);
    const int id = TakeNext(nextInstanceId);
    DesignerItem item =
        MakeSampleDesignerItem(entry, id, counter, newItemDrawBorder, newItemDrawBackground);
    POINT cell{0, 0};
    if (FindFreeCell(item, 0, 0, cell))
    {
        item.gridX = cell.x;
        item.gridY = cell.y;
    }
    layout.items.push_back(std::move(item));
    selectedId = id;
    TellSelection();
    Repaint();
}

bool CDesignerGridWnd::DropAt(const ControlCatalogEntry& entry, POINT client)
{
    int col = 0;
    int row = 0;
    if (!::IsWindow(m_hWnd) || !StartCellAt(client, col, row))
    {
        return false;
    }
    const int counter = TakeNext(layout.nextItemCounter);
    const int id = TakeNext(nextInstanceId);
    DesignerItem item =
        MakeSampleDesignerItem(entry, id, counter, newItemDrawBorder, newItemDrawBackground);
    POINT cell{0, 0};
    if (!FindFreeCell(item, col, row, cell))
    {
        return false;
    }
    item.gridX = cell.x;
    item.gridY = cell.y;
    layout.items.push_back(std::move(item));
    selectedId = id;
    TellSelection();
    Repaint();
    return true;
}

void CDesignerGridWnd::UpdateDropPreview(const ControlCatalogEntry* entry, POINT screen)
{
    if (entry != nullptr && ::IsWindow(m_hWnd))
    {
        POINT client = screen;
        ScreenToClient(&client);
        int col = 0;
        int row = 0;
        DesignerItem item = MakeSampleDesignerItem(*entry, -1, layout.nextItemCounter,
                                                   newItemDrawBorder, newItemDrawBackground);
        POINT cell{0, 0};
        if (StartCellAt(client, col, row) && FindFreeCell(item, col, row, cell))
        {
            item.gridX = cell.x;
            item.gridY = cell.y;
            dropPreviewItem = std::move(item);
            dropPreviewVisible = true;
            Repaint();
            return;
        }
    }
    if (dropPreviewVisible)
    {
        dropPreviewVisible = false;
        Repaint();
    }
}

// ---------------------------------------------------------------- input

BOOL CDesignerGridWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDesignerGridWnd::OnPaint()
{
    const State state = GetState();
    PaintDoubleBuffered(*this, [&state](Gdiplus::Graphics& graphics, const RECT&)
                        { Draw(graphics, state); });
}

void CDesignerGridWnd::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    const Geometry geometry = GeometryOf(layout);
    int hitId = -1;
    const DesignerItem* hit = nullptr;
    for (auto it = layout.items.rbegin(); it != layout.items.rend(); ++it)
    {
        const RECT rect = geometry.ItemRect(*it);
        if (::PtInRect(&rect, point))
        {
            hitId = it->instanceId;
            hit = &*it;
            break;
        }
    }
    // The selected item's handles stick out over its neighbours and win.
    int handleMode = DragNone;
    if (const DesignerItem* selected = FindItem(selectedId))
    {
        const RECT rect = geometry.ItemRect(*selected);
        const RECT widthHandle = Geometry::WidthHandle(rect);
        const RECT heightHandle = Geometry::HeightHandle(rect);
        if (::PtInRect(&widthHandle, point) || ::PtInRect(&heightHandle, point))
        {
            handleMode = ::PtInRect(&widthHandle, point) ? DragWidth : DragHeight;
            hitId = selected->instanceId;
            hit = selected;
        }
    }
    const int previousId = selectedId;
    selectedId = hitId;
    dragPreviewVisible = false;
    dragPreviewValid = false;
    if (hit == nullptr)
    {
        dragMode = DragNone;
    }
    else
    {
        dragStartPoint = point;
        dragStartCell = POINT{hit->gridX, hit->gridY};
        dragStartSpan = SIZE{hit->spanX, hit->spanY};
        if (handleMode == DragNone)
        {
            const RECT rect = geometry.ItemRect(*hit);
            const RECT widthHandle = Geometry::WidthHandle(rect);
            const RECT heightHandle = Geometry::HeightHandle(rect);
            handleMode = ::PtInRect(&widthHandle, point)    ? DragWidth
                         : ::PtInRect(&heightHandle, point) ? DragHeight
                                                            : DragMove;
        }
        dragMode = handleMode;
        SetCapture();
    }
    if (selectedId != previousId)
    {
        const HWND self = m_hWnd;
        TellSelection();
        if (!::IsWindow(self))
        {
            return;
        }
    }
    Repaint();
}

void CDesignerGridWnd::OnMouseMove(UINT, CPoint point)
{
    const DesignerItem* item = dragMode != DragNone ? FindItem(selectedId) : nullptr;
    if (item == nullptr)
    {
        return;
    }
    const int pitch = GeometryOf(layout).Pitch();
    const std::int64_t dx = (std::int64_t(point.x) - dragStartPoint.x) / pitch;
    const std::int64_t dy = (std::int64_t(point.y) - dragStartPoint.y) / pitch;
    const auto held = [](std::int64_t value, std::int64_t low)
    { return static_cast<int>(std::clamp<std::int64_t>(value, low, INT32_MAX)); };
    dragPreviewCell = POINT{item->gridX, item->gridY};
    dragPreviewSpan = SIZE{item->spanX, item->spanY};
    if (dragMode == DragMove)
    {
        dragPreviewCell = POINT{held(dragStartCell.x + dx, 0), held(dragStartCell.y + dy, 0)};
    }
    else if (dragMode == DragWidth)
    {
        dragPreviewSpan.cx = held(dragStartSpan.cx + dx, 1);
    }
    else
    {
        dragPreviewSpan.cy = held(dragStartSpan.cy + dy, 1);
    }
    dragPreviewVisible = true;
    dragPreviewValid = IsAreaFree(selectedId, dragPreviewCell.x, dragPreviewCell.y,
                                  dragPreviewSpan.cx, dragPreviewSpan.cy);
    Repaint();
}

void CDesignerGridWnd::OnLButtonUp(UINT, CPoint)
{
    if (dragMode == DragNone)
    {
        return;
    }
    DesignerItem* item = FindItem(selectedId);
    if (dragPreviewVisible && dragPreviewValid && item != nullptr)
    {
        if (dragMode == DragMove)
        {
            item->gridX = dragPreviewCell.x;
            item->gridY = dragPreviewCell.y;
        }
        else if (dragMode == DragWidth)
        {
            item->spanX = dragPreviewSpan.cx;
        }
        else
        {
            item->spanY = dragPreviewSpan.cy;
        }
    }
    EndDrag();
}

void CDesignerGridWnd::EndDrag()
{
    // The gesture ends before the capture goes, so the capture change that
    // follows finds nothing left to cancel.
    dragMode = DragNone;
    dragPreviewVisible = false;
    if (CWnd::GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    Repaint();
}

void CDesignerGridWnd::OnKeyDown(UINT key, UINT, UINT)
{
    if (key != VK_DELETE || selectedId == -1)
    {
        Default();
        return;
    }
    const size_t before = layout.items.size();
    std::erase_if(layout.items,
                  [this](const DesignerItem& item) { return item.instanceId == selectedId; });
    if (layout.items.size() == before)
    {
        Default();
        return;
    }
    selectedId = -1;
    EndDrag(); // repaints
    TellSelection();
}

void CDesignerGridWnd::OnCaptureChanged(CWnd*)
{
    // Another window took the pointer mid-drag (a message box, a menu): a
    // release will never come, so the drag ends here with nothing committed.
    if (dragMode != DragNone)
    {
        EndDrag();
    }
}
