#include "platform/win32/backend_seam.h"
#include "platform/win32/win_geometry.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <memory>

namespace brvl::win32
{

namespace
{

struct PendingMove
{
    HWND hwnd;
    HWND insertAfter;
    int x, y, cx, cy;
    UINT flags;
};

struct DeferBatch
{
    std::vector<PendingMove> moves;
};

LONG Clamp16(long long v)
{
    return static_cast<LONG>(std::clamp<long long>(v, -32768, 32767));
}

void ChangeZOrder(WindowRecord& w, HWND insertAfter)
{
    WindowSystem& system = WindowSystem::Instance();
    std::vector<HWND>* siblings = &system.topLevels;
    if (w.IsChildWindow())
    {
        const WindowPtr parent = system.Find(w.parent);
        if (!parent)
        {
            return;
        }
        siblings = &parent->children;
    }
    siblings->erase(std::remove(siblings->begin(), siblings->end(), w.hwnd), siblings->end());
    if (insertAfter == HWND_TOP)
    {
        siblings->insert(siblings->begin(), w.hwnd);
        return;
    }
    if (insertAfter == HWND_BOTTOM)
    {
        siblings->push_back(w.hwnd);
        return;
    }
    auto it = std::find(siblings->begin(), siblings->end(), insertAfter);
    siblings->insert(it == siblings->end() ? siblings->end() : it + 1, w.hwnd);
}

struct MoveOutcome
{
    bool moved = false;
    bool sized = false;
    RECT oldRect{};
};

// Changes the rectangle and z-order; messages and repaints come after, so a
// batch can apply all its moves before any window hears of them.
MoveOutcome ApplyPosition(WindowRecord& w, const PendingMove& m)
{
    MoveOutcome outcome;
    outcome.oldRect = w.rect;
    RECT r = w.rect;
    if ((m.flags & SWP_NOMOVE) == 0)
    {
        const LONG width = r.right - r.left;
        const LONG height = r.bottom - r.top;
        r.left = Clamp16(m.x);
        r.top = Clamp16(m.y);
        r.right = r.left + width;
        r.bottom = r.top + height;
    }
    if ((m.flags & SWP_NOSIZE) == 0)
    {
        r.right = r.left + static_cast<LONG>(std::clamp(m.cx, 0, 32767));
        r.bottom = r.top + static_cast<LONG>(std::clamp(m.cy, 0, 32767));
    }
    outcome.moved = r.left != w.rect.left || r.top != w.rect.top;
    outcome.sized = (r.right - r.left) != (w.rect.right - w.rect.left) ||
                    (r.bottom - r.top) != (w.rect.bottom - w.rect.top);
    w.rect = r;
    if ((m.flags & SWP_NOZORDER) == 0)
    {
        ChangeZOrder(w, m.insertAfter);
    }
    return outcome;
}

void AfterPosition(const WindowPtr& w, const MoveOutcome& outcome, bool redraw)
{
    const HWND hwnd = w->hwnd;
    const bool visible = IsVisibleChain(hwnd);
    if (visible && redraw && (outcome.moved || outcome.sized))
    {
        if (w->IsChildWindow())
        {
            InvalidateRect(w->parent, &outcome.oldRect, TRUE);
        }
    }
    if (outcome.sized)
    {
        // A resized backing starts blank, so the window repaints whatever its
        // class says; CS_HREDRAW/CS_VREDRAW add the erase.
        ReleaseBacking(*w);
        const UINT classStyle = w->windowClass ? w->windowClass->style : 0;
        InvalidateRect(hwnd, nullptr, (classStyle & (CS_HREDRAW | CS_VREDRAW)) != 0 ? TRUE : FALSE);
    }
    if (!w->IsChildWindow())
    {
        backend::CurrentBackend().TopLevelChanged(hwnd);
    }
    if (visible)
    {
        MarkPictureChanged(hwnd); // moved or restacked children change the composed picture
    }
    if (outcome.moved)
    {
        const RECT insets = FrameInsets(w->style, !w->IsChildWindow());
        Dispatch(hwnd, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(w->rect.left + insets.left),
                            static_cast<WORD>(w->rect.top + insets.top)));
    }
    if (outcome.sized && IsWindow(hwnd))
    {
        const RECT client = ClientRectOf(*w);
        Dispatch(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    }
}

HWND HitTestChildren(const WindowRecord& w, POINT clientPoint)
{
    WindowSystem& system = WindowSystem::Instance();
    for (HWND childHandle : w.children)
    {
        const WindowPtr child = system.Find(childHandle);
        if (!child || (child->style & WS_VISIBLE) == 0 || child->destroying)
        {
            continue;
        }
        if (!PtInRect(&child->rect, clientPoint))
        {
            continue;
        }
        // Disabled children and plain statics let the input fall through to
        // the window beneath or the parent, as on Windows.
        if ((child->style & WS_DISABLED) != 0)
        {
            continue;
        }
        if (child->windowClass && (child->style & SS_NOTIFY) == 0)
        {
            std::wstring name = child->windowClass->name;
            std::transform(name.begin(), name.end(), name.begin(), ::towupper);
            if (name == L"STATIC")
            {
                continue;
            }
        }
        const RECT insets = FrameInsets(child->style, false);
        const POINT inner{clientPoint.x - child->rect.left - insets.left,
                          clientPoint.y - child->rect.top - insets.top};
        const HWND deeper = HitTestChildren(*child, inner);
        return deeper != nullptr ? deeper : childHandle;
    }
    return nullptr;
}

} // namespace

HWND HitTest(POINT screen, bool* topLevelDisabled)
{
    WindowSystem& system = WindowSystem::Instance();
    if (topLevelDisabled != nullptr)
    {
        *topLevelDisabled = false;
    }
    for (HWND top : system.topLevels)
    {
        const WindowPtr w = system.Find(top);
        if (!w || (w->style & WS_VISIBLE) == 0 || !PtInRect(&w->rect, screen))
        {
            continue;
        }
        if ((w->style & WS_DISABLED) != 0)
        {
            if (topLevelDisabled != nullptr)
            {
                *topLevelDisabled = true;
            }
            return top;
        }
        const POINT origin = ClientOriginOnScreen(*w);
        const HWND child = HitTestChildren(*w, POINT{screen.x - origin.x, screen.y - origin.y});
        return child != nullptr ? child : top;
    }
    return nullptr;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    const WindowPtr w = WindowSystem::Instance().Find(parent);
    return w ? w->children : std::vector<HWND>{};
}

} // namespace brvl::win32

using namespace brvl::win32;

HWND GetParent(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return nullptr;
    }
    return w->IsChildWindow() ? w->parent : w->owner;
}

HWND GetAncestorTopLevel(HWND hwnd)
{
    return TopLevelOf(hwnd);
}

HWND GetWindowOwner(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    return w ? w->owner : nullptr;
}

HWND GetDlgItem(HWND parent, int id)
{
    WindowSystem& system = WindowSystem::Instance();
    const WindowPtr w = system.Find(parent);
    if (!w)
    {
        return nullptr;
    }
    for (HWND child : w->children)
    {
        const WindowPtr c = system.Find(child);
        if (c && c->id == id)
        {
            return child;
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    return w ? w->id : 0;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    return parent != hwnd && IsInSubtree(parent, hwnd) ? TRUE : FALSE;
}

DWORD GetWindowStyle(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    return w ? w->style : 0;
}

DWORD GetWindowExStyle(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    return w ? w->exStyle : 0;
}

BOOL GetClientRect(HWND hwnd, RECT* rc)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || rc == nullptr)
    {
        return FALSE;
    }
    *rc = ClientRectOf(*w);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rc)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || rc == nullptr)
    {
        return FALSE;
    }
    *rc = w->rect;
    if (w->IsChildWindow())
    {
        if (const WindowPtr parent = WindowSystem::Instance().Find(w->parent))
        {
            const POINT origin = ClientOriginOnScreen(*parent);
            OffsetRect(rc, origin.x, origin.y);
        }
    }
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || pt == nullptr)
    {
        return FALSE;
    }
    const POINT origin = ClientOriginOnScreen(*w);
    pt->x += origin.x;
    pt->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || pt == nullptr)
    {
        return FALSE;
    }
    const POINT origin = ClientOriginOnScreen(*w);
    pt->x -= origin.x;
    pt->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    POINT fromOrigin{0, 0};
    POINT toOrigin{0, 0};
    if (from != nullptr && !ClientToScreen(from, &fromOrigin))
    {
        return 0;
    }
    if (to != nullptr && !ClientToScreen(to, &toOrigin))
    {
        return 0;
    }
    const int dx = fromOrigin.x - toOrigin.x;
    const int dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; i < count; ++i)
    {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    const MoveOutcome outcome =
        ApplyPosition(*w, PendingMove{hwnd, insertAfter, x, y, cx, cy, flags});
    AfterPosition(w, outcome, (flags & SWP_NOREDRAW) == 0);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    const MoveOutcome outcome =
        ApplyPosition(*w, PendingMove{hwnd, nullptr, x, y, width, height, SWP_NOZORDER});
    AfterPosition(w, outcome, repaint != FALSE);
    return TRUE;
}

HDWP BeginDeferWindowPos(int count)
{
    if (count < 0)
    {
        return nullptr;
    }
    auto* batch = new DeferBatch;
    batch->moves.reserve(static_cast<size_t>(count));
    return reinterpret_cast<HDWP>(batch);
}

HDWP DeferWindowPos(HDWP handle, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                    UINT flags)
{
    auto* batch = reinterpret_cast<DeferBatch*>(handle);
    if (batch == nullptr)
    {
        return nullptr;
    }
    WindowSystem& system = WindowSystem::Instance();
    const WindowPtr w = system.Find(hwnd);
    bool ok = w != nullptr && !system.failNextDefer;
    system.failNextDefer = false;
    if (ok && !batch->moves.empty())
    {
        // Every window of one batch must share one parent.
        ok = GetParent(batch->moves.front().hwnd) == GetParent(hwnd);
    }
    if (!ok)
    {
        delete batch; // the batch is gone; the caller must not end it
        return nullptr;
    }
    batch->moves.push_back(PendingMove{hwnd, insertAfter, x, y, cx, cy, flags});
    return handle;
}

BOOL EndDeferWindowPos(HDWP handle)
{
    std::unique_ptr<DeferBatch> batch(reinterpret_cast<DeferBatch*>(handle));
    if (!batch)
    {
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    struct Applied
    {
        WindowPtr window;
        MoveOutcome outcome;
        bool redraw;
    };
    std::vector<Applied> applied;
    for (const PendingMove& m : batch->moves)
    {
        if (const WindowPtr w = system.Find(m.hwnd))
        {
            applied.push_back(Applied{w, ApplyPosition(*w, m), (m.flags & SWP_NOREDRAW) == 0});
        }
    }
    // Every window hears of its move only once all moves are in place.
    for (const Applied& a : applied)
    {
        if (IsWindow(a.window->hwnd))
        {
            AfterPosition(a.window, a.outcome, a.redraw);
        }
    }
    return TRUE;
}

HWND WindowFromPoint(POINT screen)
{
    return HitTest(screen, nullptr);
}

BOOL SetForegroundWindow(HWND hwnd)
{
    const HWND top = TopLevelOf(hwnd);
    const WindowPtr w = WindowSystem::Instance().Find(top);
    if (!w)
    {
        return FALSE;
    }
    ApplyPosition(*w, PendingMove{top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE});
    brvl::backend::CurrentBackend().TopLevelChanged(top);
    return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD)
{
    if (rect == nullptr)
    {
        return FALSE;
    }
    // The menu bar is a child of the frame here, so it adds nothing.
    const RECT insets = FrameInsets(style, (style & WS_CHILD) == 0);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || placement == nullptr)
    {
        return FALSE;
    }
    // Windows are never minimised or maximised here: the normal position is the window's.
    placement->flags = 0;
    placement->showCmd = (w->style & WS_VISIBLE) != 0 ? SW_SHOWNORMAL : SW_HIDE;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    return GetWindowRect(hwnd, &placement->rcNormalPosition);
}
