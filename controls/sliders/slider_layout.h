#pragma once

#include "platform/win32/win_types.h"

// Where a linear slider's parts sit in its client rectangle, worked out
// afresh for every paint and every mouse message from the rectangle and the
// value. The track and texts stand at fixed distances from the top (the
// horizontal slider) or from the top and bottom (the vertical one), so a
// slider too small for them gets a track of no or negative extent: its thumb
// then stays on the track's ends and a press reads as the low end (or the
// middle of a bipolar slider).
enum class SliderAxis
{
    Horizontal,
    Vertical,
};

struct SliderLayout
{
    RECT track{};
    RECT labelBox{};
    RECT valueBox{};
    int thumbX = 0;
    int thumbY = 0;
    int thumbRadius = 8;
};

// `bipolar`: the value 0.5 stands at the track's middle and the fill grows
// from there. A NaN value stands at the low end.
SliderLayout MakeSliderLayout(const RECT& client, SliderAxis axis, double value, bool bipolar);

// The track's middle along its axis, as the thumb and the fill reckon it.
int SliderTrackMiddle(const SliderLayout& layout, SliderAxis axis);

// The value under a client point: where it lies along the track, held to the
// track's extent and to 0..1 (up is more on a vertical slider).
double SliderValueAt(const SliderLayout& layout, SliderAxis axis, bool bipolar, POINT point);

// The track grown by 10 pixels on every side, and the square 18 pixels
// round the thumb's centre: where presses and the wheel are taken.
bool InSliderHitArea(const SliderLayout& layout, POINT point);
