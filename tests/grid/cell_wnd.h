#pragma once

#include "controls/base/base_control_wnd.h"

// The least control there is, for packing: the packer reads nothing of a
// control but whether its window exists.
class CCellWnd : public CBaseControlWnd
{
public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override
    {
        return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
    }
    CSize GetPreferredSize() const override { return CSize(40, 40); }
};
