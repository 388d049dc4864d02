// One drag step on the profile editor page as the user makes it: a spline
// point moves, the page takes the new points over and recomputes the bloom
// preview, and both graphs repaint (memory bitmap, GDI+, BitBlt), with the
// 8193-bin spectra of a 16384-point analysis.
#include "engine/profiles/synthetic_profile.h"
#include "platform/backend/headless_backend.h"
#include "profiles/profile_editor_page_wnd.h"

#include <benchmark/benchmark.h>

namespace
{

void ProfileEditorDragStep(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 600, nullptr,
                    nullptr);
    CReferenceProfileEditorViewportWnd page;
    page.Create(CRect(0, 0, 960, 520), &parent);
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const SpectrumSet set = BuildSyntheticSpectrumSet(16384, 0.1);
    profile.fftSize = set.fftSize;
    profile.midSpectrum = set.mid;
    profile.sideSpectrum = set.side;
    profile.spectrumSets = {set};
    page.SetProfile(profile, L"");
    page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // Press on point 2 (the plot's middle row is 0 dB), then move it up and down.
    CProfileSpectrumEditorWnd& editor = page.spectrumEditor;
    CRect client;
    editor.GetClientRect(&client);
    const RECT plot = CProfileSpectrumEditorWnd::PlotRect(client.Size());
    const Gdiplus::PointF at = CProfileSpectrumEditorWnd::ControlPointPosition(plot, 2, 6, 0.0);
    editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(int(at.X), int(at.Y)));
    int step = 0;
    for (auto _ : state)
    {
        const int y = int(at.Y) + ((step++ & 1) ? -40 : 40);
        editor.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(int(at.X), y));
        editor.UpdateWindow();
        page.bloomView.UpdateWindow();
    }
    editor.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(int(at.X), int(at.Y)));
    state.SetLabel("960 x 520 page, 8193-bin spectra");
}

} // namespace

BENCHMARK(ProfileEditorDragStep)->Name("Profile editor/drag step")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
