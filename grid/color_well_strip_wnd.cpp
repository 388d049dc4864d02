#include "grid/color_well_strip_wnd.h"

#include "base/atomic_file.h"
#include "controls/base/double_buffered_paint.h"
#include "platform/mfc/common_dialogs.h"
#include "grid/module_folder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

IMPLEMENT_DYNAMIC(CColorWellStripWnd, CStatic)

BEGIN_MESSAGE_MAP(CColorWellStripWnd, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{

constexpr int kWellTop = 2;
constexpr int kWellGap = 4;
constexpr int kSmallestWell = 4;

constexpr Gdiplus::ARGB kCurrentOutline = 0xDCF2EEE8;
constexpr Gdiplus::ARGB kWellOutline = 0x30F2EEE8;
constexpr Gdiplus::ARGB kAddWellFill = 0xFF14171C;
constexpr Gdiplus::ARGB kAddWellOutline = 0x30FFFFFF;
constexpr Gdiplus::ARGB kPlusSign = 0xD2F2EEE8;

constexpr const wchar_t* kColorsFileName = L"designer_colors.txt";

int WellSize(int height)
{
    return std::max(height - 4, kSmallestWell);
}

bool Contains(const std::vector<COLORREF>& colors, COLORREF color)
{
    return std::find(colors.begin(), colors.end(), color) != colors.end();
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
    {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f')
    {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F')
    {
        return c - 'A' + 10;
    }
    return -1;
}

// One line read as scanf's "%x" reads it; a number too long for 32 bits
// saturates rather than wrapping into some unrelated colour.
bool ParseHexLine(std::string_view line, COLORREF& value)
{
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r')))
    {
        ++i;
    }
    bool sawDigit = false;
    if (i + 1 < line.size() && line[i] == '0' && (line[i + 1] == 'x' || line[i + 1] == 'X'))
    {
        sawDigit = true; // the "0" stands even when no hex digit follows the "x"
        i += 2;
    }
    std::uint64_t number = 0;
    for (; i < line.size() && HexDigit(line[i]) >= 0; ++i)
    {
        sawDigit = true;
        number = std::min<std::uint64_t>(number * 16 + std::uint64_t(HexDigit(line[i])),
                                         0xFFFFFFFFull + 1);
    }
    value = static_cast<COLORREF>(std::min<std::uint64_t>(number, 0xFFFFFFFFull));
    return sawDigit;
}

} // namespace

const std::vector<COLORREF>& CColorWellStripWnd::BuiltInColors()
{
    static const std::vector<COLORREF> colors = {0x5284E5, 0xEBA76E, 0xB1C972, 0x5CC4E8,
                                                 0x7E6ED4, 0xDE8FAB, 0xD2D2D2};
    return colors;
}

CColorWellStripWnd::CColorWellStripWnd() : colors(BuiltInColors())
{
}

RECT CColorWellStripWnd::WellRect(int index, int height)
{
    const int size = WellSize(height);
    const long long left = kWellTop + static_cast<long long>(index) * (size + kWellGap);
    const int x = static_cast<int>(std::min<long long>(left, INT32_MAX - size));
    return RECT{x, kWellTop, x + size, kWellTop + size};
}

std::vector<COLORREF> CColorWellStripWnd::ParseColorLines(std::string_view text)
{
    std::vector<COLORREF> parsed;
    while (!text.empty())
    {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        COLORREF value = 0;
        if (ParseHexLine(line, value))
        {
            parsed.push_back(value);
        }
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return parsed;
}

void CColorWellStripWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    const int count = static_cast<int>(state.colors.size());
    for (int i = 0; i <= count; ++i)
    {
        const RECT well = WellRect(i, state.size.cy);
        if (well.left >= state.size.cx)
        {
            break; // every later well lies further right
        }
        if (well.right <= 0)
        {
            continue;
        }
        const Gdiplus::REAL size = Gdiplus::REAL(well.right - well.left);
        const Gdiplus::RectF outline(Gdiplus::REAL(well.left) + 0.5f, 2.5f, size - 1.0f,
                                     size - 1.0f);
        if (i < count)
        {
            const COLORREF color = state.colors[size_t(i)];
            const Gdiplus::SolidBrush fill(Gdiplus::ColorFromRef(color));
            graphics.FillRectangle(&fill, Gdiplus::Rect(well.left, well.top, well.right - well.left,
                                                        well.bottom - well.top));
            const bool current = color == state.currentColor;
            const Gdiplus::Pen pen(Gdiplus::Color(current ? kCurrentOutline : kWellOutline),
                                   current ? 2.0f : 1.0f);
            graphics.DrawRectangle(&pen, outline);
            continue;
        }
        const Gdiplus::SolidBrush fill{Gdiplus::Color(kAddWellFill)};
        graphics.FillRectangle(&fill, Gdiplus::Rect(well.left, well.top, well.right - well.left,
                                                    well.bottom - well.top));
        const Gdiplus::Pen pen(Gdiplus::Color(kAddWellOutline), 1.0f);
        graphics.DrawRectangle(&pen, outline);
        const Gdiplus::Pen plus(Gdiplus::Color(kPlusSign), 1.6f);
        const Gdiplus::REAL cx = Gdiplus::REAL(well.left) + size / 2.0f;
        const Gdiplus::REAL cy = Gdiplus::REAL(kWellTop) + size / 2.0f;
        const Gdiplus::REAL arm = 0.22f * size;
        graphics.DrawLine(&plus, cx - arm, cy, cx + arm, cy);
        graphics.DrawLine(&plus, cx, cy - arm, cx, cy + arm);
    }
}

CColorWellStripWnd::State CColorWellStripWnd::GetState() const
{
    State state;
    state.colors = colors;
    state.currentColor = currentColor;
    state.backgroundColor = backgroundColor;
    if (::IsWindow(m_hWnd))
    {
        CRect client;
        GetClientRect(&client);
        state.size = SIZE{client.Width(), client.Height()};
    }
    return state;
}

bool CColorWellStripWnd::Create(const RECT& rect, CWnd* parent)
{
    if (!CStatic::Create(L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_NOTIFY, rect, parent,
                         kControlId))
    {
        return false;
    }
    LoadColors();
    AddColor(currentColor);
    return ::IsWindow(m_hWnd) != FALSE;
}

void CColorWellStripWnd::AddColor(COLORREF color)
{
    if (Contains(colors, color))
    {
        return;
    }
    colors.push_back(color);
    SaveColors();
}

void CColorWellStripWnd::SetCurrentColor(COLORREF color)
{
    currentColor = color;
    if (::IsWindow(m_hWnd))
    {
        Invalidate(FALSE);
    }
}

std::wstring CColorWellStripWnd::GetColorsFilePath() const
{
    return ModuleFolder() + kColorsFileName;
}

void CColorWellStripWnd::LoadColors()
{
    std::ifstream file(std::filesystem::path(GetColorsFilePath()), std::ios::binary);
    std::string line;
    while (file && std::getline(file, line))
    {
        for (const COLORREF color : ParseColorLines(line))
        {
            if (!Contains(colors, color))
            {
                colors.push_back(color);
            }
        }
    }
}

void CColorWellStripWnd::SaveColors() const
{
    // Lines end in CR LF, written out: the file is opened as bytes.
    std::string bytes;
    bytes.reserve(colors.size() * 8);
    char line[16];
    for (const COLORREF color : colors)
    {
        std::snprintf(line, sizeof line, "%06X\r\n", static_cast<unsigned>(color & 0xFFFFFF));
        bytes += line;
    }
    WriteFileAtomically(std::filesystem::path(GetColorsFilePath()), bytes);
}

BOOL CColorWellStripWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CColorWellStripWnd::OnPaint()
{
    const State state = GetState();
    PaintDoubleBuffered(*this, [&state](Gdiplus::Graphics& graphics, const RECT&)
                        { Draw(graphics, state); });
}

bool CColorWellStripWnd::Pick(COLORREF color)
{
    currentColor = color;
    const HWND self = m_hWnd;
    const HWND parent = ::GetParent(self);
    if (parent != nullptr)
    {
        ::SendMessageW(parent, WMU_COLOR_WELL_PICKED, static_cast<WPARAM>(color),
                       reinterpret_cast<LPARAM>(this));
    }
    // The parent may have destroyed the strip meanwhile.
    if (!::IsWindow(self))
    {
        return false;
    }
    Invalidate(FALSE);
    return true;
}

void CColorWellStripWnd::PickFromDialog()
{
    CColorDialog dialog(currentColor, CC_FULLOPEN, this);
    const HWND self = m_hWnd;
    if (dialog.DoModal() != IDOK || !::IsWindow(self))
    {
        return;
    }
    const COLORREF chosen = dialog.GetColor();
    AddColor(chosen);
    currentColor = chosen;
    SaveColors(); // also for a colour already listed
    Pick(chosen);
}

void CColorWellStripWnd::OnLButtonDown(UINT flags, CPoint point)
{
    const HWND self = m_hWnd;
    CRect client;
    GetClientRect(&client);
    const int count = static_cast<int>(colors.size());
    for (int i = 0; i <= count; ++i)
    {
        const RECT well = WellRect(i, client.Height());
        if (well.left > point.x)
        {
            break; // wells only lie further right from here
        }
        if (::PtInRect(&well, point))
        {
            if (i < count)
            {
                Pick(colors[size_t(i)]);
            }
            else
            {
                PickFromDialog();
            }
            break;
        }
    }
    if (::IsWindow(self))
    {
        CStatic::OnLButtonDown(flags, point);
    }
}
