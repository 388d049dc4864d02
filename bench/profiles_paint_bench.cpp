// One paint of the profile inspector through its window, as the window system
// does it: invalidate, then the whole WM_PAINT (memory bitmap, GDI+, BitBlt).
#include "engine/profiles/synthetic_profile.h"
#include "platform/backend/headless_backend.h"
#include "profiles/reference_profile_viewport_wnd.h"

#include <benchmark/benchmark.h>

namespace
{

// A full-screen inspector of a profile with 8193-bin spectra (FFT size 16384),
// in each of the width panel's three views.
void InspectorPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080,
                    nullptr, nullptr);
    CReferenceProfileViewportWnd page;
    page.Create(CRect(0, 0, 1920, 1080), &parent, 8713);
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const SpectrumSet spectra = BuildSyntheticSpectrumSet(16384, 0.1);
    profile.fftSize = 16384;
    profile.midSpectrum = spectra.mid;
    profile.sideSpectrum = spectra.side;
    page.SetProfile(profile, L"bench.prs");
    page.widthViewMode = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("1920 x 1080, 8193 bins");
}

} // namespace

BENCHMARK(InspectorPaint)
    ->Name("Paint/profile inspector")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
