#pragma once

#include "grid/control_grid_viewport_wnd.h"
#include "pages/stage_meter_binding.h"

#include <string>
#include <unordered_map>

// The simple mode of the main window: a control grid viewport showing the
// "apprentice" parameter page, some of whose controls follow meter series of
// the processed preview at the play-head (a light that comes on while the
// final limiter reduces gain, for one).
class CApprenticeViewportWnd : public CControlGridViewportWnd
{
    DECLARE_DYNAMIC(CApprenticeViewportWnd)

public:
    ~CApprenticeViewportWnd() override;

    // Parameter id of a control on the page -> what it follows. The owner
    // fills and clears it.
    std::unordered_map<std::string, StageMeterBinding> meterBindings;

    // Sets every bound control, silently, to its binding's value at `t`
    // seconds into `buffer`; true when at least one binding found its control.
    bool UpdateMeterBindings(const AudioBuffer& buffer, double t);
};
