#pragma once

#include "platform/mfc/afxwin.h"
#include "profiles/stereo_bands.h"

#include <array>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// A read-only child window showing how wide a profile's stereo image is in
// the six bands, as the stereo bloom, from the mid and side spectra its
// owner gives it. It takes no input.
class CProfileStereoBloomWnd : public CWnd
{
    DECLARE_DYNAMIC(CProfileStereoBloomWnd)

public:
    // What a paint shows.
    struct State
    {
        CSize size;
        std::array<double, kStereoBandCount> widths{};
    };

    CProfileStereoBloomWnd() = default;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Takes the spectra (dB per bin) and what they were measured at, and repaints.
    void SetSpectra(int rate, int size, std::vector<double> mid, std::vector<double> side);

    // The band widths of the four fields, 0..1 each.
    std::array<double, kStereoBandCount> ComputeStereoBandWidths() const;

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    int sampleRate = 44100;
    int fftSize = 4096;
    std::vector<double> midSpectrum;
    std::vector<double> sideSpectrum;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
