#pragma once

#include "controls/graphs/stereo_field_analysis.h"
#include "engine/audio_buffer.h"
#include "platform/mfc/afxwin.h"

namespace Gdiplus
{
class Graphics;
}

// The stereo image of a short window around the cursor for the unprocessed
// and the processed audio, with the ranges the band balances have covered
// since the last reset. It takes no input.
class CStereoFieldGraphWnd : public CWnd
{
    DECLARE_DYNAMIC(CStereoFieldGraphWnd)

public:
    // A band's needle: the mean balance of this paint, inside the range
    // held with it.
    struct Indicator
    {
        bool shown = false;
        double mean = 0.0;
        HeldRange range;
    };

    struct State
    {
        CSize size;
        double windowSec = 0.055;
        bool hasSource = false; // at least two samples
        bool hasProcessed = false;
        PolarDistribution source{};
        PolarDistribution processed{};
        Indicator highs;
        Indicator mids;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    // What the next paint shows, the held ranges widened by this window's
    // balances; the paint keeps those ranges, GetState alone does not.
    State GetState() const;

    // The radius of the half-disc in a client of `size`; nothing past the
    // title and legend is drawn (nor held) unless it is above 20.
    static int FieldRadius(CSize size);

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    // Each copies only a buffer that differs; a new processed copy resets the
    // held ranges.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // Held to 0.02..0.25 s; a change below 1e-4 or a NaN is ignored; a
    // change resets the held ranges.
    void SetWindowSeconds(double seconds);
    // At least 0; a NaN is ignored. The held ranges stay, so they widen while
    // monitoring plays.
    void SetCursor(double seconds);
    void SetPlaying(bool play);

    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    double cursorSec = 0.0;
    double windowSec = 0.055;
    bool playing = false;
    bool highsHeld = false;
    float highsMin = 0.0f;
    float highsMax = 0.0f;
    bool midsHeld = false;
    float midsMin = 0.0f;
    float midsMax = 0.0f;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void KeepHeldRanges(const State& state);
    void ResetHeldRanges();
    void Repaint();
};
