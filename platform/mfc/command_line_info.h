#pragma once

#include "platform/mfc/cstring.h"

// What the command line asks the application to do at start-up.
class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FileNothing = -1,
    };

    virtual ~CCommandLineInfo() = default;
    // One argument at a time: a flag ("-x" or "/x", without the dash) or a file name.
    virtual void ParseParam(const wchar_t* param, BOOL flag, BOOL last);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};
