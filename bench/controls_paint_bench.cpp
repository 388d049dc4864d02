// One paint of a control through its window, as the window system does it:
// invalidate, then UpdateWindow runs WM_PAINT and the whole paint pipeline
// (memory DC and bitmap, GDI+ on it, background, face, BitBlt). Each control
// adds itself to kControls.
#include "controls/base/base_control_wnd.h"
#include "controls/base/painting_helpers.h"
#include "controls/text/text_title_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "platform/backend/headless_backend.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A control with no face of its own: what is timed is the pipeline and the
// standard background.
class CBenchBackgroundWnd : public CBaseControlWnd
{
public:
    struct State : CBaseControlWnd::State
    {
    };

    static void Draw(Gdiplus::Graphics&, const State&) {}
    State GetState() const
    {
        State state;
        state.snapshot = GetDrawState();
        return state;
    }

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override
    {
        return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
    }
    CSize GetPreferredSize() const override { return CSize(240, 320); }

protected:
    afx_msg void OnPaint() { PaintControl(*this, &PaintControlBackground); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchBackgroundWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

struct BenchControl
{
    std::string name;
    std::function<std::unique_ptr<CBaseControlWnd>()> make;
    std::function<void(CBaseControlWnd&)> configure;
};

const std::vector<BenchControl> kControls = {
    {"blank", [] { return std::make_unique<CBenchBackgroundWnd>(); },
     [](CBaseControlWnd& c) { c.SetBlank(true); }},
    {"standard background", [] { return std::make_unique<CBenchBackgroundWnd>(); },
     [](CBaseControlWnd&) {}},
    {"text title", [] { return std::make_unique<CTextTitleWnd>(); }, [](CBaseControlWnd&) {}},
    {"text caption", [] { return std::make_unique<CTextCaptionWnd>(); }, [](CBaseControlWnd&) {}},
    {"text caption block", [] { return std::make_unique<CTextCaptionBlockWnd>(); },
     [](CBaseControlWnd&) {}},
    {"text label strip", [] { return std::make_unique<CTextLabelStripWnd>(); },
     [](CBaseControlWnd&) {}},
    {"text block", [] { return std::make_unique<CTextBlockWnd>(); }, [](CBaseControlWnd&) {}},
    {"value readout", [] { return std::make_unique<CValueReadoutWnd>(); }, [](CBaseControlWnd&) {}},
    {"horizontal divider", [] { return std::make_unique<CHorizontalDividerWnd>(); },
     [](CBaseControlWnd&) {}},
    {"vertical divider", [] { return std::make_unique<CVerticalDividerWnd>(); },
     [](CBaseControlWnd&) {}},
};

void PaintThroughTheWindow(benchmark::State& state, const BenchControl& row)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    const LPCTSTR cls = AfxRegisterWndClass(0);
    parent.CreateEx(0, cls, L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
    const std::unique_ptr<CBaseControlWnd> control = row.make();
    control->Create(CRect(CPoint(10, 10), control->GetPreferredSize()), &parent, 1);
    row.configure(*control);
    for (auto _ : state)
    {
        control->Invalidate(FALSE);
        control->UpdateWindow();
    }
    state.SetLabel(std::to_string(control->GetPreferredSize().cx) + " x " +
                   std::to_string(control->GetPreferredSize().cy));
}

const bool kRegistered = []
{
    for (const BenchControl& row : kControls)
    {
        benchmark::RegisterBenchmark(("Paint/" + row.name).c_str(), PaintThroughTheWindow, row)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
