#include "platform/backend/wx/wx_backend.h"

#include "platform/backend/wx/display_backend.h"

#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_api.h"

#include <wx/window.h>

namespace brvl::backend::wxui
{

namespace
{

UINT Modifiers(const wxKeyboardState& state)
{
    UINT modifiers = 0;
    if (state.ShiftDown())
    {
        modifiers |= MK_SHIFT;
    }
    if (state.ControlDown())
    {
        modifiers |= MK_CONTROL;
    }
    if (state.AltDown())
    {
        modifiers |= win32::kModifierAlt;
    }
    return modifiers;
}

// The virtual key of a toolkit key code; 0 for keys the program never asks about.
UINT VirtualKey(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    {
        return static_cast<UINT>(code);
    }
    if (code >= 'a' && code <= 'z')
    {
        return static_cast<UINT>(code - 'a' + 'A');
    }
    if (code >= WXK_F1 && code <= WXK_F24)
    {
        return 0x70 + static_cast<UINT>(code - WXK_F1); // VK_F1 onwards
    }
    switch (code)
    {
    case WXK_BACK:
        return VK_BACK;
    case WXK_TAB:
        return VK_TAB;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return VK_RETURN;
    case WXK_ESCAPE:
        return VK_ESCAPE;
    case WXK_SPACE:
        return VK_SPACE;
    case WXK_SHIFT:
        return VK_SHIFT;
    case WXK_CONTROL:
        return VK_CONTROL;
    case WXK_ALT:
        return VK_MENU;
    case WXK_PAGEUP:
        return 0x21; // VK_PRIOR
    case WXK_PAGEDOWN:
        return 0x22; // VK_NEXT
    case WXK_END:
        return 0x23;
    case WXK_HOME:
        return 0x24;
    case WXK_LEFT:
        return VK_LEFT;
    case WXK_UP:
        return VK_UP;
    case WXK_RIGHT:
        return VK_RIGHT;
    case WXK_DOWN:
        return VK_DOWN;
    case WXK_INSERT:
        return VK_INSERT;
    case WXK_DELETE:
        return VK_DELETE;
    default:
        return 0;
    }
}

// Translates one canvas's input into the tree's raw input, by screen point.
class CanvasInput
{
public:
    CanvasInput(wxWindow* canvas, NativeTopLevel* frame) : m_canvas(canvas), m_frame(frame) {}

    void Bind()
    {
        m_canvas->Bind(wxEVT_MOTION, &CanvasInput::OnMove, this);
        m_canvas->Bind(wxEVT_ENTER_WINDOW, &CanvasInput::OnMove, this); // arriving is moving
        for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN,
                                wxEVT_RIGHT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_DCLICK})
        {
            m_canvas->Bind(type, &CanvasInput::OnButtonDown, this);
        }
        for (const auto type : {wxEVT_LEFT_UP, wxEVT_RIGHT_UP, wxEVT_MIDDLE_UP})
        {
            m_canvas->Bind(type, &CanvasInput::OnButtonUp, this);
        }
        m_canvas->Bind(wxEVT_MOUSEWHEEL, &CanvasInput::OnWheel, this);
        m_canvas->Bind(wxEVT_LEAVE_WINDOW, &CanvasInput::OnLeave, this);
        m_canvas->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CanvasInput::OnCaptureLost, this);
        m_canvas->Bind(wxEVT_KEY_DOWN, &CanvasInput::OnKeyDown, this);
        m_canvas->Bind(wxEVT_CHAR, &CanvasInput::OnChar, this);
        m_canvas->Bind(wxEVT_KEY_UP, &CanvasInput::OnKeyUp, this);
    }

private:
    bool Screen(const wxMouseEvent& event, POINT& screen) const
    {
        const HWND hwnd = m_frame->Hwnd();
        if (hwnd == nullptr)
        {
            return false;
        }
        const wxPoint at = event.GetPosition();
        screen = ScreenPointOfCanvas(hwnd, at.x, at.y);
        return true;
    }

    static win32::MouseButton Button(const wxMouseEvent& event)
    {
        if (event.GetButton() == wxMOUSE_BTN_RIGHT)
        {
            return win32::MouseButton::Right;
        }
        return event.GetButton() == wxMOUSE_BTN_MIDDLE ? win32::MouseButton::Middle
                                                       : win32::MouseButton::Left;
    }

    void OnMove(wxMouseEvent& event)
    {
        event.Skip();
        POINT screen{};
        if (Screen(event, screen))
        {
            win32::QueueMouseMove(screen, Modifiers(event));
        }
    }

    // A second press arrives as a toolkit double-click; the tree decides for
    // itself what counts as one, so it is a plain press here.
    void OnButtonDown(wxMouseEvent& event)
    {
        m_canvas->SetFocus();
        POINT screen{};
        if (Screen(event, screen))
        {
            win32::QueueMouseButton(screen, Button(event), true, Modifiers(event));
        }
    }

    void OnButtonUp(wxMouseEvent& event)
    {
        POINT screen{};
        if (Screen(event, screen))
        {
            win32::QueueMouseButton(screen, Button(event), false, Modifiers(event));
        }
    }

    void OnWheel(wxMouseEvent& event)
    {
        POINT screen{};
        if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || !Screen(event, screen))
        {
            return;
        }
        // The toolkit reports notches of 120 like the program expects.
        const int delta = event.GetWheelDelta() > 0
                              ? event.GetWheelRotation() * 120 / event.GetWheelDelta()
                              : event.GetWheelRotation();
        if (delta != 0)
        {
            win32::QueueMouseWheel(screen, delta, Modifiers(event));
        }
    }

    void OnLeave(wxMouseEvent& event)
    {
        event.Skip();
        if (!m_canvas->HasCapture())
        {
            win32::QueuePointerLeft();
        }
    }

    void OnCaptureLost(wxMouseCaptureLostEvent&)
    {
        // Another client took the pointer (the top-level lost activation):
        // the button release will not come here, so the tree's capture ends
        // now, with WM_CAPTURECHANGED to its holder.
        const HWND holder = ::GetCapture();
        const HWND hwnd = m_frame->Hwnd();
        if (holder != nullptr && hwnd != nullptr && ::GetAncestorTopLevel(holder) == hwnd)
        {
            ::ReleaseCapture();
        }
    }

    // Keys that type a character wait for the toolkit's character event, so
    // that the character (shifted, composed) goes with the key-down.
    void OnKeyDown(wxKeyEvent& event)
    {
        const UINT vk = VirtualKey(event.GetKeyCode());
        const bool types = event.GetUnicodeKey() != WXK_NONE && !event.ControlDown() &&
                           !event.AltDown() && event.GetKeyCode() != WXK_DELETE;
        if (types)
        {
            m_pendingKey = vk;
            event.Skip();
            return;
        }
        win32::QueueKey(vk, true, 0, Modifiers(event));
    }

    void OnChar(wxKeyEvent& event)
    {
        const wxChar ch = event.GetUnicodeKey();
        win32::QueueKey(m_pendingKey, true, ch == WXK_NONE ? 0 : static_cast<wchar_t>(ch),
                        Modifiers(event));
        m_pendingKey = 0;
    }

    void OnKeyUp(wxKeyEvent& event)
    {
        win32::QueueKey(VirtualKey(event.GetKeyCode()), false, 0, Modifiers(event));
    }

    wxWindow* m_canvas;
    NativeTopLevel* m_frame;
    UINT m_pendingKey = 0;
};

} // namespace

void BindInput(wxWindow* canvas, NativeTopLevel* frame)
{
    auto* input = new CanvasInput(canvas, frame);
    input->Bind();
    // The translator lives exactly as long as its canvas.
    canvas->Bind(wxEVT_DESTROY,
                 [canvas, input](wxWindowDestroyEvent& event)
                 {
                     event.Skip();
                     if (event.GetEventObject() == canvas)
                     {
                         delete input;
                     }
                 });
}

} // namespace brvl::backend::wxui

namespace brvl::backend::wx_testing
{

bool TakeNativePointerGrab(HWND topLevel)
{
    auto* backend = dynamic_cast<wxui::WxBackend*>(&CurrentBackend());
    wxui::NativeTopLevel* frame = backend != nullptr ? backend->Find(topLevel) : nullptr;
    if (frame == nullptr)
    {
        return false;
    }
    // What the toolkit does when its grab is broken: the grab is gone, then
    // the window hears of it.
    wxWindow* canvas = frame->Canvas();
    if (canvas->HasCapture())
    {
        canvas->ReleaseMouse();
    }
    wxMouseCaptureLostEvent lost(canvas->GetId());
    lost.SetEventObject(canvas);
    return canvas->GetEventHandler()->ProcessEvent(lost);
}

} // namespace brvl::backend::wx_testing
