#include "platform/mfc/command_line_info.h"

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL flag, BOOL)
{
    // Flags are accepted and ignored: the program defines none.
    if (!flag && param != nullptr && m_strFileName.IsEmpty())
    {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}
