#include "platform/backend/wx/wx_backend.h"

#include "platform/win32/message_box.h"

#include <wx/msgdlg.h>

namespace brvl::backend::wxui
{

namespace
{

long DialogStyle(UINT flags)
{
    const bool second = (flags & MB_DEFBUTTON2) != 0;
    long style = wxCENTRE;
    switch (flags & 0xF)
    {
    case MB_YESNO:
        style |= wxYES_NO | (second ? wxNO_DEFAULT : wxYES_DEFAULT);
        break;
    case MB_OKCANCEL:
        style |= wxOK | wxCANCEL | (second ? wxCANCEL_DEFAULT : wxOK_DEFAULT);
        break;
    default:
        style |= wxOK;
        break;
    }
    switch (flags & 0xF0)
    {
    case MB_ICONERROR:
        style |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONWARNING:
        style |= wxICON_WARNING;
        break;
    case MB_ICONINFORMATION:
        style |= wxICON_INFORMATION;
        break;
    default:
        style |= wxICON_NONE;
        break;
    }
    return style;
}

} // namespace

int RunNativeMessageBox(wxWindow* parent, const ModalRequest& request)
{
    const UINT buttons = request.flags & 0xF;
    for (;;)
    {
        wxMessageDialog dialog(parent, wxString(request.text), wxString(request.caption),
                               DialogStyle(request.flags));
        switch (dialog.ShowModal())
        {
        case wxID_YES:
            return IDYES;
        case wxID_NO:
            return IDNO;
        case wxID_OK:
            return IDOK;
        case wxID_CANCEL:
            if (buttons == MB_OKCANCEL)
            {
                return IDCANCEL;
            }
            if (buttons != MB_YESNO)
            {
                return IDOK; // Escape or the close box on a plain box
            }
            // A yes/no question must be answered: Escape and the close box
            // do nothing, so the box stays.
            break;
        default:
            return buttons == MB_YESNO ? IDNO : buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
        }
    }
}

} // namespace brvl::backend::wxui
