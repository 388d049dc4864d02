#include "platform/backend/wx/wx_backend.h"

#include "platform/backend/wx/display_backend.h"
#include "platform/win32/backend_bridge.h"

namespace brvl::backend::wxui
{

namespace
{

// Files dropped from the desktop: the toolkit turns the file:// URIs into
// paths (percent-decoded, any length, any characters); the tree routes them
// as WM_DROPFILES to the window under the point that accepts files.
class TreeDropTarget final : public wxFileDropTarget
{
public:
    explicit TreeDropTarget(NativeTopLevel* frame) : m_frame(frame) {}

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override
    {
        const HWND hwnd = m_frame->Hwnd();
        if (hwnd == nullptr || names.empty())
        {
            return false;
        }
        std::vector<std::wstring> paths;
        paths.reserve(names.size());
        for (const wxString& name : names)
        {
            paths.push_back(name.ToStdWstring());
        }
        win32::QueueDropFiles(ScreenPointOfCanvas(hwnd, x, y), std::move(paths));
        return true;
    }

private:
    NativeTopLevel* m_frame;
};

} // namespace

wxFileDropTarget* MakeDropTarget(NativeTopLevel* frame)
{
    return new TreeDropTarget(frame);
}

} // namespace brvl::backend::wxui

namespace brvl::backend::wx_testing
{

bool DropThroughNativeTarget(HWND topLevel, POINT client, const std::vector<std::wstring>& paths)
{
    auto* backend = dynamic_cast<wxui::WxBackend*>(&CurrentBackend());
    wxui::NativeTopLevel* frame = backend != nullptr ? backend->Find(topLevel) : nullptr;
    if (frame == nullptr)
    {
        return false;
    }
    wxArrayString names;
    for (const std::wstring& path : paths)
    {
        names.Add(wxString(path));
    }
    return frame->DropTarget()->OnDropFiles(client.x, client.y, names);
}

} // namespace brvl::backend::wx_testing
