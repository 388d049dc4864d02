#include "platform/mfc/afx_message_box.h"

#include "platform/win32/resource_data.h"
#include "platform/win32/window_api.h"

#include <string>

namespace
{

constexpr UINT kAppNameString = 57344;

std::wstring ApplicationName()
{
    return brvl::win32::FindStringResource(kAppNameString).value_or(L"BRVL");
}

} // namespace

int AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    // Decision: the box is owned by the top-level that holds the focus (the
    // dialog whose data exchange failed, the main window), or by no window.
    const HWND focus = GetFocus();
    const HWND owner = focus != nullptr ? GetAncestorTopLevel(focus) : nullptr;
    const std::wstring caption = ApplicationName();
    return MessageBoxW(owner, text != nullptr ? text : L"", caption.c_str(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    const std::wstring text = brvl::win32::FindStringResource(promptId).value_or(L"");
    return AfxMessageBox(text.c_str(), type, helpId);
}
