#include "platform/backend/wx/wx_backend.h"

#include "platform/win32/window_api.h"

#include <wx/dcclient.h>
#include <wx/image.h>

#include <cstring>
#include <string>

namespace brvl::backend::wxui
{

POINT ScreenPointOfCanvas(HWND hwnd, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

NativeTopLevel::NativeTopLevel(HWND hwnd, long style)
    : wxFrame(nullptr, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, style),
      m_hwnd(hwnd)
{
    m_canvas = new wxWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxWANTS_CHARS | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
    m_canvas->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_canvas->Bind(wxEVT_PAINT, &NativeTopLevel::OnCanvasPaint, this);
    m_canvas->Bind(wxEVT_SIZE, &NativeTopLevel::OnCanvasSize, this);
    Bind(wxEVT_CLOSE_WINDOW, &NativeTopLevel::OnClose, this);
    m_dropTarget = MakeDropTarget(this);
    m_canvas->SetDropTarget(m_dropTarget);
    BindInput(m_canvas, this);
}

void NativeTopLevel::SyncFromTree()
{
    if (m_hwnd == nullptr || !::IsWindow(m_hwnd))
    {
        return;
    }
    m_syncing = true;
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    POINT origin{0, 0};
    ::ClientToScreen(m_hwnd, &origin);

    std::wstring title(static_cast<size_t>(::GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    title.resize(static_cast<size_t>(
        ::GetWindowTextW(m_hwnd, title.data(), static_cast<int>(title.size()))));
    if (GetTitle() != wxString(title))
    {
        SetTitle(wxString(title));
    }
    // Without a window manager the native client area lands exactly on the
    // tree's client origin, so screen points agree on both sides.
    const wxSize size(std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
    if (GetClientSize() != size)
    {
        SetClientSize(size);
    }
    if (GetPosition() != wxPoint(origin.x, origin.y))
    {
        Move(origin.x, origin.y);
    }
    m_canvas->SetSize(GetClientSize());
    const bool visible = ::IsWindowVisible(m_hwnd) != FALSE;
    if (visible != IsShown())
    {
        Show(visible);
    }
    m_syncing = false;
}

void NativeTopLevel::ShowPicture(const ImageView& view)
{
    if (view.pixels == nullptr || view.width <= 0 || view.height <= 0)
    {
        return;
    }
    wxImage image(view.width, view.height, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < view.height; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(view.pixels + y * view.stride);
        for (int x = 0; x < view.width; ++x)
        {
            const std::uint32_t argb = row[x];
            const unsigned a = argb >> 24;
            unsigned r = (argb >> 16) & 0xFF;
            unsigned g = (argb >> 8) & 0xFF;
            unsigned b = argb & 0xFF;
            if (a != 0 && a != 255)
            {
                // Premultiplied: a top-level has nothing behind it, so undo it.
                r = r * 255 / a;
                g = g * 255 / a;
                b = b * 255 / a;
            }
            *rgb++ = static_cast<unsigned char>(r);
            *rgb++ = static_cast<unsigned char>(g);
            *rgb++ = static_cast<unsigned char>(b);
        }
    }
    m_picture = wxBitmap(image);
    m_canvas->Refresh(false);
    m_canvas->Update();
}

void NativeTopLevel::OnCanvasPaint(wxPaintEvent&)
{
    wxPaintDC dc(m_canvas);
    if (m_picture.IsOk())
    {
        dc.DrawBitmap(m_picture, 0, 0, false);
    }
}

void NativeTopLevel::OnCanvasSize(wxSizeEvent& event)
{
    event.Skip();
    if (m_syncing || m_hwnd == nullptr || !::IsWindow(m_hwnd))
    {
        return;
    }
    // The user (or the window manager) resized the native window: the tree follows.
    const wxSize size = event.GetSize();
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    if (size.GetWidth() == client.right && size.GetHeight() == client.bottom)
    {
        return;
    }
    RECT window{};
    ::GetWindowRect(m_hwnd, &window);
    const LONG extraWidth = (window.right - window.left) - client.right;
    const LONG extraHeight = (window.bottom - window.top) - client.bottom;
    m_syncing = true;
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, size.GetWidth() + extraWidth,
                   size.GetHeight() + extraHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_syncing = false;
}

void NativeTopLevel::OnClose(wxCloseEvent& event)
{
    // The close box only asks; the tree's window decides (a frame ends the
    // program, a dialog cancels) and the tree destroys this native window.
    if (event.CanVeto())
    {
        event.Veto();
    }
    if (m_hwnd != nullptr)
    {
        ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    }
}

} // namespace brvl::backend::wxui
