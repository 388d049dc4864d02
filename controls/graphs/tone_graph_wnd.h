#pragma once

#include "controls/graphs/tone_levels.h"
#include "engine/audio_buffer.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

#include <array>
#include <optional>

// The level of four broad bands around the cursor as one smooth curve: the
// processed audio against the unprocessed (Delta) when a processed copy is
// there, the unprocessed levels themselves (Profile) otherwise. It takes no
// input.
class CToneGraphWnd : public CWnd
{
    DECLARE_DYNAMIC(CToneGraphWnd)

public:
    static constexpr double kDefaultWindowSec = 0.12;

    struct State
    {
        CSize size;
        ToneCurve curve;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    // The curve's points: the left end of the baseline, the four bands, the
    // right end; none for a plot under 120 x 60 pixels.
    using CurvePoints = std::array<Gdiplus::PointF, kToneBands + 2>;
    static std::optional<CurvePoints> CurvePointsOf(const State& state);

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    // Each copies the buffer whole, every time, and repaints.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // At least 0; a NaN is ignored; repaints on a move of 1e-4 s or more.
    void SetCursor(double seconds);
    // Held to 0.02..0.25 s; a change below 1e-4 or a NaN is ignored.
    void SetWindowSeconds(double seconds);
    void SetPlaying(bool play);

    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    double cursorSec = 0.0;
    double windowSec = kDefaultWindowSec;
    bool playing = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
