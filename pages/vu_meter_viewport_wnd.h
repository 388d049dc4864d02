#pragma once

#include "controls/meters/output_meter_wnd.h"
#include "platform/mfc/afxwin.h"

// A narrow panel of two vertical level meters side by side: "Source" for the
// unprocessed track and "Output" for the processed preview. It only makes,
// colours and places them; the owner moves their values silently.

constexpr UINT kVuMeterViewportId = 8728;
constexpr UINT kSourceMeterId = 12992;
constexpr UINT kOutputMeterId = 12993;

class CVuMeterViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CVuMeterViewportWnd)

public:
    ~CVuMeterViewportWnd() override;

    // "BrimvaleVuMeterViewportWnd", visible; the meters come with it.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kVuMeterViewportId);
    void SetBackgroundColor(COLORREF color);
    // Puts both meters at the top left, side by side, at the client's height
    // less the margins.
    void PlaceMeters();

    COLORREF backgroundColor = 0x100E0C;
    COutputMeterWnd sourceMeter;
    COutputMeterWnd outputMeter;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT create);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void CreateMeter(COutputMeterWnd& meter, UINT id, const wchar_t* label, double value,
                     double secondary);
};
