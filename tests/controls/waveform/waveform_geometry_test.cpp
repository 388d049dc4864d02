#include "controls/waveform/waveform_geometry.h"

#include <gtest/gtest.h>

#include <limits>

TEST(WaveformGeometry, ViewRangesAreOrderedHeldToTheTrackAndWideEnough)
{
    struct Case
    {
        double duration;
        double a;
        double b;
        double start;
        double end;
    };
    const Case cases[] = {
        {12, 5, 3, 3, 5},         {12, 1, 1.2, 1, 1.5}, {12, 11.9, 12, 11.5, 12},
        {0.3, 0.1, 0.2, 0, 0.3},  {12, -4, 2, 0, 2},    {12, 20, 30, 11.5, 12},
        {12, -3, -1, 0, 0.5},     {12, 2, 6.5, 2, 6.5}, {0.001, 5, 9, 0, 0.001},
        {1e12, 0, 1e12, 0, 1e12},
    };
    for (const Case& c : cases)
    {
        const TimeSpan view = ClampViewRange(c.a, c.b, c.duration, 0.5);
        EXPECT_DOUBLE_EQ(view.start, c.start) << c.a << ".." << c.b << " of " << c.duration;
        EXPECT_DOUBLE_EQ(view.end, c.end) << c.a << ".." << c.b << " of " << c.duration;
    }
}

TEST(WaveformGeometry, ZoomRangesFallBackToTheWholeTrack)
{
    EXPECT_DOUBLE_EQ(ResolveZoom(0, 0, 12).end, 12) << "empty: the whole track";
    EXPECT_DOUBLE_EQ(ResolveZoom(5, 3, 12).start, 5);
    EXPECT_DOUBLE_EQ(ResolveZoom(5, 3, 12).end, 12) << "reversed: on to the end";
    EXPECT_DOUBLE_EQ(ResolveZoom(-1, 30, 12).start, 0);
    EXPECT_DOUBLE_EQ(ResolveZoom(-1, 30, 12).end, 12);
    EXPECT_DOUBLE_EQ(ResolveZoom(20, 30, 12).Width(), 0) << "past the end: no width";

    EXPECT_DOUBLE_EQ(ClampZoomRange(4, 4, 12).end, 12);
    EXPECT_DOUBLE_EQ(ClampZoomRange(6, 3, 12).start, 0) << "reversed ends are not swapped";
    EXPECT_DOUBLE_EQ(ClampZoomRange(3, 6, 12).Width(), 3);
}

TEST(WaveformGeometry, WheelZoomsRoundTheViewDownToItsFloor)
{
    const TimeSpan view{28, 32};
    TimeSpan zoom = WheelZoomStep(view, {0, 60}, 60, 120);
    EXPECT_DOUBLE_EQ(zoom.start, 6);
    EXPECT_DOUBLE_EQ(zoom.end, 54);
    for (int step = 0; step < 20; ++step)
    {
        zoom = WheelZoomStep(view, zoom, 60, 120);
    }
    EXPECT_NEAR(zoom.Width(), 5.4, 1e-12);
    EXPECT_NEAR(zoom.start + zoom.end, 60, 1e-12) << "centred on the view";

    for (int step = 0; step < 30; ++step)
    {
        zoom = WheelZoomStep(view, zoom, 60, -120);
    }
    EXPECT_DOUBLE_EQ(zoom.start, 0);
    EXPECT_DOUBLE_EQ(zoom.end, 60) << "out to the whole track, no further";

    const TimeSpan nearEnd = WheelZoomStep({58, 60}, {0, 60}, 60, 120);
    EXPECT_DOUBLE_EQ(nearEnd.end, 60) << "kept inside the track";
    EXPECT_DOUBLE_EQ(nearEnd.start, 12);
}

TEST(WaveformGeometry, ZoomFollowsAViewThatLeavesIt)
{
    const TimeSpan whole = ZoomKeepingViewInSight({3, 5}, {0, 12}, 12);
    EXPECT_DOUBLE_EQ(whole.end, 12);
    const TimeSpan kept = ZoomKeepingViewInSight({3, 5}, {2, 8}, 12);
    EXPECT_DOUBLE_EQ(kept.start, 2);
    const TimeSpan centred = ZoomKeepingViewInSight({9, 10}, {2, 8}, 12);
    EXPECT_DOUBLE_EQ(centred.start, 6) << "centred on 9.5, then held at the track's end";
    EXPECT_DOUBLE_EQ(centred.end, 12);
    const TimeSpan moved = ZoomKeepingViewInSight({1, 2}, {4, 8}, 12);
    EXPECT_DOUBLE_EQ(moved.start, 0);
    EXPECT_DOUBLE_EQ(moved.end, 4);
}

TEST(WaveformGeometry, TimesAndColumnsMapBothWays)
{
    const RECT wave{10, 5, 1010, 55}; // 1000 columns
    const TimeSpan zoom{2, 12};
    struct Case
    {
        double t;
        int x;
    };
    for (const Case c : {Case{2, 10}, Case{7, 510}, Case{12, 1010}, Case{-5, 10}, Case{40, 1010},
                         Case{std::numeric_limits<double>::quiet_NaN(), 10}})
    {
        EXPECT_EQ(TimeToX(c.t, wave, zoom), c.x) << c.t;
    }
    EXPECT_DOUBLE_EQ(XToTime(510, wave, zoom, 12), 7);
    EXPECT_DOUBLE_EQ(XToTime(-400, wave, zoom, 12), 2) << "held to the area";
    EXPECT_DOUBLE_EQ(XToTime(5000, wave, zoom, 12), 12);
    EXPECT_DOUBLE_EQ(XToTime(500, RECT{10, 5, 11, 55}, zoom, 12), 2) << "one column";
    EXPECT_EQ(TimeToX(7, RECT{10, 5, 10, 55}, zoom), 10) << "no width";
    EXPECT_EQ(TimeToX(7, wave, {3, 3}), 10) << "no zoom width";
}

TEST(WaveformGeometry, LayoutFollowsTheHeightAndKeepsAMinimumArea)
{
    struct Case
    {
        CSize client;
        RECT wave;
        int corner;
        int grip;
        int handle;
    };
    const Case cases[] = {
        {CSize(1200, 120), RECT{13, 15, 1187, 105}, 15, 17, 23},
        {CSize(400, 60), RECT{8, 7, 392, 53}, 7, 8, 16},
        {CSize(1600, 400), RECT{32, 28, 1568, 372}, 18, 18, 24},
        {CSize(0, 0), RECT{8, 6, 8, 6}, 6, 8, 16},
        {CSize(10, 8), RECT{8, 6, 18, 14}, 6, 8, 16},
    };
    for (const Case& c : cases)
    {
        const WaveformLayout layout = LayoutWaveformStrip(c.client, 1);
        SCOPED_TRACE(::testing::Message() << c.client.cx << " x " << c.client.cy);
        EXPECT_EQ(layout.waveRect.left, c.wave.left);
        EXPECT_EQ(layout.waveRect.top, c.wave.top);
        EXPECT_EQ(layout.waveRect.right, c.wave.right);
        EXPECT_EQ(layout.waveRect.bottom, c.wave.bottom);
        EXPECT_EQ(layout.cornerRadius, c.corner);
        EXPECT_EQ(layout.gripSize, c.grip);
        EXPECT_EQ(layout.handleWidth, c.handle);
        EXPECT_EQ(layout.playheadWidth, 2);
    }
    EXPECT_EQ(LayoutWaveformStrip(CSize(100, 100), 5).playheadWidth, 3);
}

TEST(WaveformGeometry, HitZonesAroundTheViewRange)
{
    const RECT wave{10, 10, 410, 60};
    struct Case
    {
        POINT point;
        int zone;
    };
    // Range from column 100 to 200, edge zones 8 either side, grips 5 inside.
    const Case cases[] = {
        {{5, 30}, kZoneOutside},     {{50, 30}, kZoneTrack},        {{92, 30}, kZoneStartEdge},
        {{99, 9}, kZoneStartEdge},   {{99, 60}, kZoneStartEdge},    {{99, 61}, kZoneOutside},
        {{104, 30}, kZoneStartEdge}, {{105, 30}, kZoneInsideRange}, {{150, 30}, kZoneInsideRange},
        {{195, 30}, kZoneEndEdge},   {{207, 30}, kZoneEndEdge},     {{208, 30}, kZoneTrack},
        {{300, 65}, kZoneOutside},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(HitTestWaveform(c.point, wave, true, 100, 200, 16, 10), c.zone)
            << c.point.x << ", " << c.point.y;
        const int bare = HitTestWaveform(c.point, wave, false, 100, 200, 16, 10);
        EXPECT_EQ(bare, c.point.x >= 10 && c.point.x < 410 && c.point.y >= 10 && c.point.y < 60
                            ? kZoneTrack
                            : kZoneOutside)
            << "without peaks";
    }
    // A range narrower than a grip is all body inside.
    EXPECT_EQ(HitTestWaveform({102, 30}, wave, true, 100, 106, 16, 10), kZoneInsideRange);
}

TEST(WaveformGeometry, PlayheadBandCoversBothLinesInsideTheClient)
{
    const RECT wave{13, 15, 1187, 105};
    const RECT client{0, 0, 1200, 120};
    const RECT band = PlayheadBand(300, 290, 2, wave, client);
    EXPECT_EQ(band.left, 286);
    EXPECT_EQ(band.right, 304);
    EXPECT_EQ(band.top, 10);
    EXPECT_EQ(band.bottom, 110);
    const RECT edge = PlayheadBand(1199, 1199, 3, wave, client);
    EXPECT_EQ(edge.right, 1200) << "cut at the client";
    const RECT outside = PlayheadBand(5000, 5000, 2, wave, client);
    EXPECT_EQ(outside.right - outside.left, 0);
}
