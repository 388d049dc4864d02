#include "platform/backend/wx/wx_backend.h"

#include "platform/win32/common_dialog_types.h"

#include <wx/clipbrd.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>

namespace brvl::backend::wxui
{

std::optional<std::wstring> WxBackend::ShowFileDialog(HWND owner, const FileDialogRequest& request)
{
    NativeModalScope scope(*this);
    long style = request.open ? wxFD_OPEN : wxFD_SAVE;
    if (request.open && (request.flags & OFN_FILEMUSTEXIST) != 0)
    {
        style |= wxFD_FILE_MUST_EXIST;
    }
    if (!request.open && (request.flags & OFN_OVERWRITEPROMPT) != 0)
    {
        style |= wxFD_OVERWRITE_PROMPT;
    }
    wxFileDialog dialog(Find(owner), wxString(request.title), wxString(request.initialFolder),
                        wxString(request.fileName), wxString(WildcardOf(request)), style);
    if (dialog.ShowModal() != wxID_OK)
    {
        return std::nullopt;
    }
    const std::wstring path = dialog.GetPath().ToStdWstring();
    return request.open ? path : WithoutExpandedExtension(path, request);
}

std::optional<COLORREF> WxBackend::ShowColorDialog(HWND owner, COLORREF initial)
{
    NativeModalScope scope(*this);
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(wxColour(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF));
    wxColourDialog dialog(Find(owner), &data);
    if (dialog.ShowModal() != wxID_OK)
    {
        return std::nullopt;
    }
    const wxColour chosen = dialog.GetColourData().GetColour();
    return static_cast<COLORREF>(chosen.Red() | (chosen.Green() << 8) | (chosen.Blue() << 16));
}

std::wstring WxBackend::ClipboardText()
{
    wxClipboardLocker locker;
    if (!locker)
    {
        return {};
    }
    wxTextDataObject data;
    if (!wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || !wxTheClipboard->GetData(data))
    {
        return {};
    }
    return data.GetText().ToStdWstring();
}

void WxBackend::SetClipboardText(const std::wstring& text)
{
    wxClipboardLocker locker;
    if (!!locker)
    {
        wxTheClipboard->SetData(new wxTextDataObject(wxString(text)));
    }
}

} // namespace brvl::backend::wxui
