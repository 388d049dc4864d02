#include "pages/addon_glyph_drawings.h"

#include "platform/gdiplus/gdiplus_graphics.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

using namespace Gdiplus;

namespace
{

// No drawing passes a longer point list; lists live on the stack.
constexpr int kMaxGlyphPoints = 24;

// A drawing's thin pen: reference lines, grids and secondary curves.
class ThinGlyphPen : public Pen
{
public:
    explicit ThinGlyphPen(COLORREF colour)
        : Pen(Color(GlyphArgb(colour, kThinGlyphAlpha)), kThinGlyphPenWidth)
    {
        StyleThinGlyphPen(*this, colour);
    }
};

// One drawing's context: the frame, the main pen and the colour, with the
// primitives in the frame's terms. Points written as GlyphPoint are fractions
// of the inner box; points written as PointF are absolute.
struct Sketch
{
    Graphics& g;
    const GlyphFrame& f;
    const Pen& main;
    COLORREF colour;

    PointF At(GlyphPoint p) const { return f.At(p.u, p.v); }

    void Line(const Pen& pen, GlyphPoint a, GlyphPoint b) const { LineAt(pen, At(a), At(b)); }
    void LineAt(const Pen& pen, PointF a, PointF b) const { g.DrawLine(&pen, a, b); }

    void Curve(const Pen& pen, REAL tension, std::initializer_list<GlyphPoint> points) const
    {
        Curve(pen, tension, points.begin(), int(points.size()));
    }
    void Curve(const Pen& pen, REAL tension, const GlyphPoint* points, int count) const
    {
        PointF at[kMaxGlyphPoints];
        count = std::min(count, kMaxGlyphPoints);
        for (int i = 0; i < count; ++i)
        {
            at[i] = At(points[i]);
        }
        g.DrawCurve(&pen, at, count, tension);
    }
    void CurveAt(const Pen& pen, REAL tension, std::initializer_list<PointF> points) const
    {
        g.DrawCurve(&pen, points.begin(), int(points.size()), tension);
    }

    void Polygon(const Brush& brush, std::initializer_list<GlyphPoint> points) const
    {
        PointF at[kMaxGlyphPoints];
        const int count = std::min(int(points.size()), kMaxGlyphPoints);
        for (int i = 0; i < count; ++i)
        {
            at[i] = At(points.begin()[i]);
        }
        g.FillPolygon(&brush, at, count, FillModeAlternate);
    }
    void PolygonAt(const Brush& brush, std::initializer_list<PointF> points) const
    {
        g.FillPolygon(&brush, points.begin(), int(points.size()), FillModeAlternate);
    }
    void PolylineAt(const Pen& pen, std::initializer_list<PointF> points) const
    {
        g.DrawLines(&pen, points.begin(), int(points.size()));
    }

    // The ellipse in the box (c.X - r, c.Y - r, 2r, 2r).
    void Circle(const Pen& pen, PointF c, REAL r) const
    {
        g.DrawEllipse(&pen, c.X - r, c.Y - r, 2 * r, 2 * r);
    }
    void Disc(const Brush& brush, PointF c, REAL r) const
    {
        g.FillEllipse(&brush, c.X - r, c.Y - r, 2 * r, 2 * r);
    }
    void Ellipse(const Pen& pen, const RectF& box) const { g.DrawEllipse(&pen, box); }
    void FilledEllipse(const Brush& brush, const RectF& box) const { g.FillEllipse(&brush, box); }
    // Angles in degrees clockwise from the positive x axis.
    void Arc(const Pen& pen, const RectF& box, REAL start, REAL sweep) const
    {
        g.DrawArc(&pen, box, start, sweep);
    }
    void Bar(const Brush& brush, const RectF& box) const { g.FillRectangle(&brush, box); }

    // A bar of the inner box standing on its bottom edge: left at fraction u,
    // `width` and `height` in fractions of the inner width and height.
    RectF StandingBar(REAL u, REAL width, REAL height) const
    {
        return RectF(f.x0 + u * f.iw, f.y1 - height * f.ih, width * f.iw, height * f.ih);
    }
};

// An alpha taken as a share of the main pen's, truncated.
BYTE ShareOfMainAlpha(REAL share)
{
    return BYTE(share * REAL(kMainGlyphAlpha));
}

// "three_band_eq" and every id outside the table.
void Glyph1(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(s.main, 0.32f,
            {{0, 0.54},
             {0.14, 0.53},
             {0.26, 0.22},
             {0.41, 0.68},
             {0.55, 0.55},
             {0.69, 0.28},
             {0.84, 0.54},
             {1, 0.53}});
}

// "glue_module", "transparent_bus_compressor", "vintage_compressor".
void Glyph2(const Sketch& s)
{
    s.Curve(s.main, 0.44f, {{0, 1}, {0.36, 0.64}, {0.51, 0.5}, {0.68, 0.41}, {1, 0.35}});
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(thin, {0.46, 0.5}, {0.56, 0.5});
    s.Line(thin, {0.51, 0.45}, {0.51, 0.55});
}

// "standard_compressor".
void Glyph3(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(s.main, {0, 1}, {0.46, 0.54});
    s.Line(s.main, {0.46, 0.54}, {1, 0.38});
    s.Line(s.main, {0.4, 0.54}, {0.52, 0.54});
    s.Line(s.main, {0.46, 0.48}, {0.46, 0.6});
    s.Line(thin, {0, 0.54}, {0.38, 0.54});
}

// "stage4", "finalizer", "limiter".
void Glyph4(const Sketch& s)
{
    s.Line(s.main, {0, 1}, {0.52, 0.2});
    s.Line(s.main, {0.52, 0.2}, {1, 0.2});
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(thin, {0, 0.2}, {0.12, 0.2});
}

// "soft_clipper".
void Glyph5(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(thin, {0, 0.06}, {1, 0.06});
    s.Line(thin, {0, 0.94}, {1, 0.94});
    s.Curve(s.main, 0.42f,
            {{0, 1}, {0.22, 0.85}, {0.38, 0.58}, {0.5, 0.5}, {0.62, 0.42}, {0.78, 0.15}, {1, 0}});
}

// "stereo_widener", "width_limiter".
void Glyph6(const Sketch& s)
{
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.Polygon(soft, {{0.5, 0.5}, {0.04, 0.08}, {0.96, 0.08}});
    }
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.5, 0.96}, {0.5, 0.04});
    s.Line(s.main, {0.5, 0.96}, {0.03, 0.1});
    s.Line(s.main, {0.5, 0.96}, {0.97, 0.1});
    s.Circle(s.main, s.At({0.5, 0.96}), 0.03f * s.f.w);
}

// "stereo_band_rebalance".
void Glyph7(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.12, 0.88}, {0.88, 0.88});
    s.Line(thin, {0.5, 0.98}, {0.5, 0.04});
    s.Line(s.main, {0.28, 0.88}, {0.72, 0.88});
    s.Line(s.main, {0.2, 0.52}, {0.6, 0.42});
    s.Line(s.main, {0.4, 0.28}, {0.78, 0.18});
    s.Circle(s.main, s.At({0.2, 0.52}), 0.018f * s.f.w);
    s.Circle(s.main, s.At({0.78, 0.18}), 0.018f * s.f.w);
}

// "low_high_band_stereo_shaper".
void Glyph8(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.5, 0.94}, {0.5, 0.04});
    s.Line(thin, {0.12, 0.55}, {0.88, 0.55});
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.Polygon(soft, {{0.5, 0.94}, {0.32, 0.57}, {0.68, 0.57}});
    }
    s.Line(s.main, {0.5, 0.94}, {0.3, 0.55});
    s.Line(s.main, {0.5, 0.94}, {0.7, 0.55});
    s.Line(s.main, {0.5, 0.94}, {0.02, 0.1});
    s.Line(s.main, {0.5, 0.94}, {0.98, 0.1});
}

// "stereo_swapper".
void Glyph9(const Sketch& s)
{
    s.Line(s.main, {0.1, 0.16}, {0.9, 0.84});
    s.Line(s.main, {0.1, 0.84}, {0.9, 0.16});
    s.Line(s.main, {0.82, 0.82}, {0.9, 0.84});
    s.Line(s.main, {0.88, 0.74}, {0.9, 0.84});
    s.Line(s.main, {0.82, 0.18}, {0.9, 0.16});
    s.Line(s.main, {0.88, 0.26}, {0.9, 0.16});
}

// "broadband_expander".
void Glyph10(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(s.main, {0.54, 0.46}, {1, 0.06});
    s.Line(s.main, {0.06, 0.98}, {0.54, 0.46});
    s.Line(thin, {0.54, 0.46}, {0.54, 0.92});
    s.Line(thin, {0.08, 0.46}, {0.54, 0.46});
}

// "center_halo".
void Glyph11(const Sketch& s)
{
    const REAL r = 0.3f * s.f.m;
    const REAL xm = s.f.xm;
    const REAL ym = s.f.ym;
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {xm, ym - 1.1f * r}, {xm, ym + 1.1f * r});
    const RectF core(xm - 0.22f * r, ym - 0.68f * r, 0.44f * r, 1.36f * r);
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.FilledEllipse(soft, core);
    }
    s.Ellipse(s.main, core);
    s.Arc(thin, RectF(xm - 0.86f * r, ym - 0.84f * r, 1.72f * r, 1.68f * r), 210, 120);
    s.Arc(thin, RectF(xm - 1.18f * r, ym - 1.06f * r, 2.36f * r, 2.1f * r), 214, 112);
}

// "crest_factor_controller".
void Glyph12(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Curve(thin, 0.4f, {{0, 1}, {0.26, 0.8}, {0.52, 0.56}, {1, 0.34}});
    s.Curve(s.main, 0.4f, {{0, 1}, {0.26, 0.68}, {0.52, 0.42}, {1, 0}});
}

// "harshness_tamer", "master_deesser".
void Glyph13(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Line(thin, {0.5, 0.44}, {0.5, 0.56});
    s.Line(thin, {0.82, 0.44}, {0.82, 0.56});
    s.Curve(
        s.main, 0.36f,
        {{0, 0.5}, {0.22, 0.5}, {0.42, 0.44}, {0.6, 0.92}, {0.74, 0.9}, {0.87, 0.58}, {1, 0.52}});
}

void Glyph14(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(thin, {0.36, 0.95}, {0.56, 0.95});
    s.Line(s.main, {0, 1}, {0.4, 1});
    s.Line(s.main, {0.4, 1}, {0.52, 0.9});
    s.Line(s.main, {0.52, 0.9}, {1, 0});
    s.Line(s.main, {0.46, 1.04}, {0.46, 0.94});
}

void Glyph15(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(thin, 0.5f, {{0, 0.06}, {0.36, 0.3}, {0.65, 0.42}, {1, 0.5}});
    s.Curve(s.main, 0.4f,
            {{0, 0.5},
             {0.07, 0.06},
             {0.21, 0.82},
             {0.36, 0.3},
             {0.51, 0.63},
             {0.65, 0.42},
             {0.8, 0.54},
             {1, 0.5}});
    s.Circle(s.main, s.At({0, 0.5}), 0.026f * s.f.w);
}

void Glyph16(const Sketch& s)
{
    s.Line(s.main, {0.1, 1}, {0.1, 0.12});
    s.Line(s.main, {0.42, 1}, {0.42, 0.42});
    s.Line(s.main, {0.72, 1}, {0.72, 0.68});
    const ThinGlyphPen thin(s.colour);
    s.Curve(thin, 0.5f, {{0.1, 0.12}, {0.42, 0.42}, {0.72, 0.68}, {1, 0.94}});
}

void Glyph17(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.4}, {1, 0.4});
    s.Curve(s.main, 0.4f, {{0, 0.4}, {0.28, 0.4}, {0.5, 0.42}, {0.65, 0.62}, {0.78, 0.85}, {1, 1}});
    s.Circle(s.main, s.At({0.57, 0.5}), 0.026f * s.f.w);
}

// "dynamic_eq".
void Glyph18(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Line(thin, {0.58, 0.1}, {0.58, 0.92});
    s.Curve(s.main, 0.34f,
            {{0, 0.5}, {0.24, 0.5}, {0.42, 0.44}, {0.58, 0.84}, {0.72, 0.42}, {1, 0.5}});
}

void Glyph19(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0}, {0, 1});
    s.Line(thin, {0, 1}, {1, 1});
    s.Line(thin, {0, 0.33}, {1, 0.33});
    s.Line(thin, {0, 0.66}, {1, 0.66});
    s.Curve(s.main, 0.36f,
            {{0, 0.78},
             {0.1, 0.62},
             {0.22, 0.38},
             {0.34, 0.46},
             {0.46, 0.28},
             {0.58, 0.4},
             {0.7, 0.52},
             {0.82, 0.68},
             {1, 0.82}});
    const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
    s.Polygon(soft, {{0, 1},
                     {0, 0.78},
                     {0.1, 0.62},
                     {0.22, 0.38},
                     {0.34, 0.46},
                     {0.46, 0.28},
                     {0.58, 0.4},
                     {0.7, 0.52},
                     {0.82, 0.68},
                     {1, 0.82},
                     {1, 1}});
}

// "stage2", "spectral", "spectral_match", "spectral_matcher".
void Glyph20(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(s.main, 0.4f, {{0, 0.58}, {0.24, 0.26}, {0.48, 0.53}, {0.72, 0.34}, {1, 0.44}});
    s.Curve(thin, 0.4f, {{0, 0.7}, {0.22, 0.4}, {0.46, 0.68}, {0.7, 0.48}, {1, 0.58}});
}

// "air_shelf", "dynamic_air", "presence_lift".
void Glyph21(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.72}, {1, 0.72});
    s.Curve(s.main, 0.42f,
            {{0, 0.72}, {0.28, 0.72}, {0.52, 0.68}, {0.68, 0.28}, {0.82, 0.12}, {1, 0.12}});
}

// "ambient_widener".
void Glyph22(const Sketch& s)
{
    const REAL r = 0.34f * s.f.m;
    const REAL xm = s.f.xm;
    const REAL ym = s.f.ym;
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {xm, ym - r}, {xm, ym + 0.88f * r});
    s.Arc(thin, RectF(xm - 0.9f * r, ym - 0.72f * r, 1.8f * r, 1.44f * r), 210, 120);
    s.Arc(thin, RectF(xm - 1.22f * r, ym - 0.94f * r, 2.44f * r, 1.88f * r), 214, 112);
    const PointF apex(xm, ym + 0.82f * r);
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.PolygonAt(soft,
                    {apex, {xm - 0.32f * r, ym - 0.06f * r}, {xm + 0.32f * r, ym - 0.06f * r}});
    }
    s.LineAt(s.main, apex, {xm - 0.42f * r, ym - 0.08f * r});
    s.LineAt(s.main, apex, {xm + 0.42f * r, ym - 0.08f * r});
}

// "low_mid_cleanup".
void Glyph23(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(s.main, 0.26f,
            {{0, 0.5}, {0.22, 0.5}, {0.36, 0.6}, {0.48, 0.78}, {0.6, 0.6}, {0.74, 0.5}, {1, 0.5}});
}

// "dc_blocker", "sub_rumble_filter".
void Glyph24(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.28}, {1, 0.28});
    s.Curve(s.main, 0.38f,
            {{0, 1}, {0.15, 0.9}, {0.3, 0.62}, {0.46, 0.36}, {0.6, 0.28}, {1, 0.28}});
    s.Circle(s.main, s.At({0.38, 0.49}), 0.024f * s.f.w);
}

// "dynamic_tilt", "tilt_eq".
void Glyph25(const Sketch& s)
{
    s.Line(s.main, {0, 0.16}, {1, 0.84});
    s.Circle(s.main, s.At({0.5, 0.5}), 0.048f * s.f.w);
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
}

// "hum_notch", "resonance_suppressor".
void Glyph26(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(s.main, 0.2f,
            {{0, 0.5}, {0.3, 0.5}, {0.43, 0.58}, {0.5, 1}, {0.57, 0.58}, {0.7, 0.5}, {1, 0.5}});
    s.Line(thin, {0.5, 1.04}, {0.5, 0.94});
}

// "resonance_tracker".
void Glyph27(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(
        s.main, 0.28f,
        {{0, 0.5}, {0.22, 0.5}, {0.36, 0.54}, {0.48, 0.72}, {0.58, 0.3}, {0.7, 0.54}, {1, 0.5}});
    const REAL r = 0.028f * s.f.w;
    const PointF peak = s.At({0.58, 0.3});
    s.Circle(s.main, peak, r);
    s.LineAt(thin, s.At({0.58, 0.02}), {peak.X, peak.Y - 1.3f * r});
}

// "peak_clipper".
void Glyph28(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.18, 0.16}, {0.9, 0.16});
    s.Curve(s.main, 0.5f, {{0, 0.5}, {0.11, 0.12}, {0.22, 0.16}});
    s.Line(s.main, {0.22, 0.16}, {0.54, 0.16});
    s.Curve(s.main, 0.5f, {{0.54, 0.16}, {0.65, 0.25}, {0.74, 0.5}});
    s.Curve(s.main, 0.5f, {{0.74, 0.5}, {0.86, 0.88}, {1, 0.5}});
}

// "asymmetric_clipper".
void Glyph29(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.12, 0.12}, {0.92, 0.12});
    s.Line(thin, {0.12, 0.88}, {0.92, 0.88});
    s.Curve(s.main, 0.3f,
            {{0, 0.68}, {0.18, 0.38}, {0.34, 0.12}, {0.54, 0.52}, {0.72, 0.88}, {1, 0.54}});
}

// "tape_motion", "tape_saturation": two reels and the tape between them.
void Glyph30(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL r = 0.13f * f.h;
    const PointF p(f.x0 + 0.06f * f.iw + r, f.ym + 0.1f * r);
    const PointF q(f.x1 - 0.06f * f.iw - r, f.ym + 0.1f * r);
    s.Circle(s.main, p, r);
    s.Circle(s.main, q, r);
    s.Circle(s.main, p, 0.26f * r);
    s.Circle(s.main, q, 0.26f * r);
    s.LineAt(s.main, {p.X + r, p.Y}, {q.X - r, q.Y});
    s.LineAt(s.main, {p.X, p.Y + r}, {q.X, q.Y + r});
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {p.X, f.ym - 0.68f * r}, {q.X, f.ym - 0.68f * r});
}

// "tube_saturation": a valve with its pins and a glowing filament.
void Glyph31(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL b = 0.56f * f.iw;
    const REAL e = 0.62f * f.ih;
    const REAL top = f.y0 + 0.06f * f.ih;
    const REAL xm = f.xm;
    const REAL base = f.y1 - 0.14f * f.ih;
    s.Ellipse(s.main, RectF(xm - 0.5f * b, top, b, e));
    s.LineAt(s.main, {xm - 0.12f * b, top + 0.78f * e}, {xm - 0.12f * b, base});
    s.LineAt(s.main, {xm + 0.12f * b, top + 0.78f * e}, {xm + 0.12f * b, base});
    s.LineAt(s.main, {xm - 0.22f * b, base}, {xm + 0.22f * b, base});
    s.LineAt(s.main, {xm - 0.16f * b, f.y1 - 0.06f * f.ih}, {xm + 0.16f * b, f.y1 - 0.06f * f.ih});
    const ThinGlyphPen thin(s.colour);
    const REAL low = f.ym + 0.1f * f.ih;
    const REAL high = f.ym - 0.04f * f.ih;
    s.CurveAt(thin, 0.36f,
              {{xm - 0.2f * b, low},
               {xm - 0.08f * b, high},
               {xm, low},
               {xm + 0.08f * b, high},
               {xm + 0.2f * b, low}});
}

// "low_end_punch", "punch_enhancer", "transient_catcher", "transient_shaper".
void Glyph32(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.82}, {1, 0.82});
    s.Line(s.main, {0, 0.82}, {0.32, 0.82});
    s.Line(s.main, {0.32, 0.82}, {0.48, 0});
    s.Curve(s.main, 0.4f, {{0.48, 0}, {0.58, 0.48}, {0.78, 0.68}, {1.02, 0.78}, {1, 0.82}});
    s.Circle(s.main, s.At({0.48, 0}), 0.024f * s.f.w);
}

// "transient_sustain_shaper".
void Glyph33(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.7}, {1, 0.7});
    s.Curve(s.main, 0.3f, {{0.08, 0.7}, {0.18, 0.3}, {0.28, 0.52}});
    s.Curve(s.main, 0.24f, {{0.28, 0.52}, {0.44, 0.42}, {0.6, 0.45}, {0.78, 0.49}, {1, 0.54}});
}

// "exciter": rising harmonics.
void Glyph34(const Sketch& s)
{
    static constexpr REAL kHeights[] = {0.16f, 0.24f, 0.36f, 0.52f, 0.74f};
    static constexpr BYTE kAlphas[] = {0x7C, 0x82, 0x8A, 0x95, 0xA4};
    const GlyphFrame& f = s.f;
    const REAL step = f.iw / 5.2f;
    PointF tops[5];
    for (int i = 0; i < 5; ++i)
    {
        const REAL left = f.x0 + REAL(i) * step;
        const REAL height = kHeights[i] * f.ih;
        const SolidBrush brush = MakeGlyphBrush(s.colour, kAlphas[i]);
        s.Bar(brush, RectF(left, f.y1 - height, 0.11f * f.iw, height));
        tops[i] = PointF(left + 0.055f * f.iw, f.y1 - height);
    }
    const ThinGlyphPen thin(s.colour);
    s.g.DrawCurve(&thin, tops, 5, 0.4f);
    s.Line(thin, {0, 0.94}, {1, 0.94});
}

// "harmonic_enhancer".
void Glyph35(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(thin, 0.5f,
            {{0, 0.5},
             {0.12, 0.12},
             {0.25, 0.5},
             {0.38, 0.88},
             {0.5, 0.5},
             {0.62, 0.12},
             {0.75, 0.5},
             {0.88, 0.88},
             {1, 0.5}});
    s.Curve(s.main, 0.38f,
            {{0, 0.5},
             {0.06, 0.32},
             {0.12, 0.08},
             {0.18, 0.28},
             {0.25, 0.56},
             {0.32, 0.78},
             {0.38, 0.9},
             {0.44, 0.68},
             {0.5, 0.44},
             {0.56, 0.32},
             {0.62, 0.08},
             {0.68, 0.28},
             {0.75, 0.56},
             {0.82, 0.78},
             {0.88, 0.9},
             {0.94, 0.68},
             {1, 0.5}});
}

// "loudness_driver", "parallel_aggression", "sonic_maximizer".
void Glyph36(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Curve(s.main, 0.36f,
            {{0, 0.54}, {0.14, 0.32}, {0.32, 0.52}, {0.52, 0.52}, {0.7, 0.32}, {1, 0.42}});
}

// "phase_align".
void Glyph37(const Sketch& s)
{
    const REAL r = 0.38f * s.f.ih;
    const REAL xm = s.f.xm;
    const REAL ym = s.f.ym;
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {xm, ym - r}, {xm, ym + r});
    s.LineAt(thin, {xm - 0.82f * r, ym}, {xm + 0.82f * r, ym});
    const RectF ring(xm - 0.82f * r, ym - r, 1.64f * r, 2 * r);
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.FilledEllipse(soft, ring);
    }
    s.Ellipse(s.main, ring);
    const PointF tip(xm + 0.6f * r, ym - 0.56f * r);
    s.LineAt(s.main, {xm - 0.6f * r, ym + 0.56f * r}, tip);
    s.Circle(s.main, tip, 0.022f * s.f.w);
}

// "phase_rotator".
void Glyph38(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL r = 0.34f * f.m;
    const ThinGlyphPen thin(s.colour);
    s.Arc(thin, RectF(f.xm - r, f.ym - r, 2 * r, 2 * r), 210, 270);
    s.LineAt(thin, {f.xm, f.ym}, {f.xm, f.ym - r});
    s.Curve(s.main, 0.3f, {{0.08, 0.54}, {0.24, 0.32}, {0.42, 0.72}, {0.6, 0.38}, {0.78, 0.6}});
    const PointF head(f.xm + 0.78f * r, f.ym - 0.42f * r);
    s.LineAt(s.main, {head.X - 0.07f * f.iw, head.Y - 0.03f * f.ih}, head);
    s.LineAt(s.main, {head.X - 0.04f * f.iw, head.Y + 0.06f * f.ih}, head);
}

// "ms_color_eq".
void Glyph39(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL d = 0.28f * f.iw;
    const RectF mid(f.xm - 0.5f * d, f.ym - 0.95f * d, d, 1.9f * d);
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.FilledEllipse(soft, mid);
    }
    s.Ellipse(s.main, mid);
    s.Arc(s.main, RectF(f.x0 - 0.05f * d, f.ym - 0.8f * d, 1.4f * d, 1.6f * d), 100, 160);
    s.Arc(s.main, RectF(f.xm - 0.3f * d, f.ym - 0.8f * d, 1.4f * d, 1.6f * d), -80, 160);
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {f.xm, f.ym - 0.95f * d}, {f.xm, f.ym + 0.95f * d});
}

// "ms_dynamics_processor".
void Glyph40(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL d = 0.24f * f.iw;
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {f.xm, f.ym - 1.1f * d}, {f.xm, f.ym + 1.1f * d});
    s.Ellipse(s.main, RectF(f.xm - 0.44f * d, f.ym - 0.88f * d, 0.88f * d, 1.76f * d));
    s.Arc(s.main, RectF(f.x0 + 0.08f * f.iw, f.ym - 0.76f * d, 1.36f * d, 1.52f * d), 104, 152);
    s.Arc(s.main, RectF(f.x1 - 0.08f * f.iw - 1.36f * d, f.ym - 0.76f * d, 1.36f * d, 1.52f * d),
          -76, 152);
    const REAL left = f.x0 + 0.34f * f.iw;
    const REAL right = f.x1 - 0.34f * f.iw;
    s.LineAt(thin, {f.x0 + 0.18f * f.iw, f.ym + 0.92f * d}, {left, f.ym + 0.66f * d});
    s.LineAt(s.main, {left, f.ym + 0.66f * d}, {left, f.ym + 0.18f * d});
    s.LineAt(thin, {right, f.ym + 0.66f * d}, {f.x1 - 0.18f * f.iw, f.ym + 0.92f * d});
    s.LineAt(s.main, {right, f.ym + 0.66f * d}, {right, f.ym + 0.28f * d});
}

// "center_focus", "center_lock".
void Glyph41(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const ThinGlyphPen thin(s.colour);
    const PointF outer = s.At({0.06, 0.06});
    s.Ellipse(thin, RectF(outer.X, outer.Y, 0.88f * f.iw, 0.88f * f.ih));
    s.Line(thin, {0.5, 0.06}, {0.5, 0.94});
    const PointF inner = s.At({0.34, 0.18});
    const RectF centre(inner.X, inner.Y, 0.32f * f.iw, 0.64f * f.ih);
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.FilledEllipse(soft, centre);
    }
    s.Ellipse(s.main, centre);
    s.Line(s.main, {0.14, 0.5}, {0.34, 0.5});
    s.Line(s.main, {0.86, 0.5}, {0.66, 0.5});
}

// "balance_corrector", "band_balance_corrector": a needle over a scale.
void Glyph42(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    const REAL r = 0.48f * std::min(f.iw, 1.3f * f.ih);
    const REAL xm = f.xm;
    const REAL ym = f.ym;
    const ThinGlyphPen thin(s.colour);
    s.Arc(thin, RectF(xm - r, ym - r, 2 * r, 2 * r), 200, 140);
    s.LineAt(thin, {xm, ym}, {xm, ym - 0.9f * r});
    s.PolylineAt(s.main, {{xm, ym},
                          {xm - 0.34f * r, ym - 0.82f * r},
                          {xm + 0.14f * r, ym - 0.9f * r},
                          {xm + 0.08f * r, ym - 0.48f * r},
                          {xm, ym}});
}

// "upward_expander".
void Glyph43(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Curve(s.main, 0.42f, {{0, 1}, {0.16, 0.9}, {0.3, 0.7}, {0.46, 0.54}});
    s.Line(s.main, {0.46, 0.54}, {1, 0});
    s.Line(thin, {0.46, 0.54}, {0.46, 0.92});
}

// "detail_extractor", "micro_dynamics_restorer", "upward_detail".
void Glyph44(const Sketch& s)
{
    s.Curve(s.main, 0.42f, {{0, 1}, {0.2, 0.84}, {0.42, 0.5}, {0.66, 0.2}, {1, 0}});
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(s.main, {0.24, 0.77}, {0.28, 0.68});
    s.Line(s.main, {0.28, 0.68}, {0.33, 0.77});
}

// "mono_maker".
void Glyph45(const Sketch& s)
{
    {
        const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
        s.Polygon(soft, {{0.14, 0.96}, {0.86, 0.96}, {0.5, 0.62}});
    }
    s.Line(s.main, {0.28, 0.96}, {0.72, 0.96});
    s.Line(s.main, {0.5, 0.96}, {0.5, 0.62});
    s.Line(s.main, {0.5, 0.62}, {0.04, 0.06});
    s.Line(s.main, {0.5, 0.62}, {0.96, 0.06});
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.14, 0.62}, {0.86, 0.62});
}

// "stage1", "level_match", "level_matcher": drawn over the whole rectangle.
void Glyph46(const Sketch& s)
{
    const GlyphFrame& f = s.f;
    DrawGlyphLevelBars(s.g, s.colour, RectF(f.x, f.y, f.w, f.h));
    const ThinGlyphPen thin(s.colour);
    s.LineAt(thin, {f.x + 0.12f * f.w, f.y + 0.82f * f.h}, {f.x + 0.88f * f.w, f.y + 0.82f * f.h});
    Pen level(Color(GlyphArgb(s.colour, kMainGlyphAlpha)), kLevelGlyphPenWidth);
    level.SetStartCap(LineCapRound);
    level.SetEndCap(LineCapRound);
    s.LineAt(level, {f.x + 0.12f * f.w, f.y + 0.32f * f.h}, {f.x + 0.88f * f.w, f.y + 0.32f * f.h});
}

// "stage3", "dynamics", "dynamics_corrector".
void Glyph47(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Curve(thin, 0.4f, {{0, 1}, {0.28, 0.72}, {0.48, 0.58}, {0.7, 0.5}, {1, 0.46}});
    s.Curve(s.main, 0.4f, {{0, 1}, {0.28, 0.7}, {0.48, 0.48}, {0.7, 0.3}, {1, 0.18}});
    s.Line(s.main, {0.58, 0.54}, {0.58, 0.4});
    s.Line(s.main, {0.54, 0.45}, {0.58, 0.4});
    s.Line(s.main, {0.62, 0.45}, {0.58, 0.4});
}

// "multiband_compressor".
void Glyph48(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.33, 0.06}, {0.33, 0.94});
    s.Line(thin, {0.66, 0.06}, {0.66, 0.94});
    s.Line(thin, {0, 0.94}, {1, 0.94});
    s.Curve(s.main, 0.4f, {{0.04, 0.9}, {0.14, 0.66}, {0.29, 0.52}});
    s.Curve(s.main, 0.4f, {{0.37, 0.56}, {0.5, 0.18}, {0.62, 0.56}});
    s.Curve(s.main, 0.4f, {{0.7, 0.64}, {0.88, 0.52}, {0.96, 0.18}});
}

// "dynamic_low_end_tamer".
void Glyph49(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Line(thin, {0, 0.68}, {0.82, 0.68});
    s.Curve(s.main, 0.34f,
            {{0, 1}, {0.18, 0.86}, {0.34, 0.66}, {0.46, 0.68}, {0.62, 0.68}, {1, 0.38}});
}

// "true_peak_guard".
void Glyph50(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.08, 0.18}, {0.92, 0.18});
    s.Curve(
        s.main, 0.3f,
        {{0, 0.68}, {0.18, 0.44}, {0.34, 0.58}, {0.5, -0.02}, {0.64, 0.52}, {0.8, 0.4}, {1, 0.54}});
    s.Line(s.main, {0.44, 0.04}, {0.56, 0.04});
    s.Line(s.main, {0.5, 0.04}, {0.5, 0.16});
}

// "final_norm", "normalize", "normalizer".
void Glyph51(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.68}, {1, 0.68});
    s.Line(s.main, {0, 0.1}, {1, 0.1});
    s.Curve(
        s.main, 0.38f,
        {{0, 0.68}, {0.18, 0.45}, {0.35, 0.1}, {0.52, 0.58}, {0.68, 0.4}, {0.82, 0.16}, {1, 0.68}});
    s.Circle(s.main, s.At({0.35, 0.1}), 0.022f * s.f.w);
}

// "transformer_saturation".
void Glyph52(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 0});
    s.Curve(s.main, 0.4f,
            {{0, 1}, {0.14, 0.92}, {0.32, 0.62}, {0.5, 0.52}, {0.66, 0.3}, {0.84, 0.1}, {1, 0.06}});
    s.Line(thin, {0.7, 0.06}, {1, 0.06});
}

void Glyph53(const Sketch& s)
{
    s.Line(s.main, {0.06, 0.08}, {0.94, 0.08});
    s.Line(s.main, {0.06, 0.92}, {0.94, 0.92});
    s.Line(s.main, {0.06, 0.08}, {0.06, 0.92});
    s.Line(s.main, {0.94, 0.08}, {0.94, 0.92});
    s.Circle(s.main, s.At({0.2, 0.5}), 0.026f * s.f.w);
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0.2, 0.5}, {0.9, 0.12});
    s.Line(thin, {0.9, 0.12}, {0.78, 0.88});
    s.Line(thin, {0.2, 0.5}, {0.84, 0.88});
    s.Line(thin, {0.2, 0.5}, {0.08, 0.12});
    const SolidBrush soft = MakeSoftGlyphBrush(s.colour);
    const PointF corner = s.At({0.06, 0.08});
    s.Bar(soft, RectF(corner.X, corner.Y, 0.88f * s.f.iw, 0.84f * s.f.ih));
}

// Five levels on a staircase of grid lines, fading as they fall.
void Glyph54(const Sketch& s)
{
    struct Dot
    {
        REAL u;
        int level;
    };
    static constexpr Dot kDots[] = {{0.1f, 4}, {0.32f, 3}, {0.54f, 2}, {0.72f, 2}, {0.88f, 1}};
    const auto levelV = [](int level) { return 0.96f - 0.184f * REAL(level); };
    const ThinGlyphPen thin(s.colour);
    for (int k = 0; k < 5; ++k)
    {
        s.Line(thin, {0, levelV(k)}, {1, levelV(k)});
    }
    const REAL r = 0.032f * s.f.w;
    for (int i = 0; i < 5; ++i)
    {
        const PointF centre = s.At({kDots[i].u, levelV(kDots[i].level)});
        {
            const SolidBrush brush =
                MakeGlyphBrush(s.colour, ShareOfMainAlpha(0.9f - 0.12f * REAL(i)));
            s.Disc(brush, centre, r);
        }
        s.Circle(s.main, centre, r);
    }
    for (int i = 0; i + 1 < 5; ++i)
    {
        s.Line(thin, {kDots[i].u, levelV(kDots[i].level)},
               {kDots[i + 1].u, levelV(kDots[i + 1].level)});
    }
}

// "spectral_gate": bins under the threshold are gated down to stubs.
void Glyph55(const Sketch& s)
{
    static constexpr REAL kLevels[] = {0.52f, 0.7f, 0.18f, 0.82f, 0.14f, 0.6f, 0.12f, 0.44f};
    constexpr REAL kThreshold = 0.3f; // of the inner height, from the bottom
    constexpr REAL kWidth = 0.07f;
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 1});
    s.Line(s.main, {0, 1 - kThreshold}, {1, 1 - kThreshold});
    for (int i = 0; i < 8; ++i)
    {
        const REAL u = 0.095f * REAL(i);
        const REAL k = kLevels[i];
        if (k < kThreshold)
        {
            {
                const SolidBrush stub = MakeGlyphBrush(s.colour, 0x28);
                s.Bar(stub, s.StandingBar(u, kWidth, 0.06f));
            }
            s.Line(thin, {u + kWidth / 2, 0.94}, {u + kWidth / 2, 1 - k});
        }
        else
        {
            const SolidBrush brush = MakeGlyphBrush(s.colour, ShareOfMainAlpha(0.65f + 0.35f * k));
            s.Bar(brush, s.StandingBar(u, kWidth, k));
        }
    }
}

// "spectral_dereverb".
void Glyph56(const Sketch& s)
{
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    s.Line(s.main, {0.1, 0.5}, {0.1, 0.06});
    s.Circle(s.main, s.At({0.1, 0.06}), 0.026f * s.f.w);
    s.Curve(thin, 0.4f,
            {{0.18, 0.5},
             {0.28, 0.28},
             {0.38, 0.66},
             {0.5, 0.4},
             {0.62, 0.56},
             {0.74, 0.47},
             {1, 0.5}});
    s.Line(s.main, {0.22, 0.78}, {0.72, 0.22});
    s.Line(s.main, {0.22, 0.22}, {0.72, 0.78});
}

// "spectral_declip": a clipped wave and its restored crests.
void Glyph57(const Sketch& s)
{
    ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    thin.SetDashStyle(DashStyleDash);
    s.Line(thin, {0, 0.28}, {1, 0.28});
    s.Line(thin, {0, 0.72}, {1, 0.72});
    thin.SetDashStyle(DashStyleSolid);
    const auto clipped = DeclipperClippedWave();
    s.Curve(thin, 0.35f, clipped.data(), int(clipped.size()));
    for (const REAL start : {0.12f, 0.54f})
    {
        const auto crest = DeclipperCrest(start);
        s.Curve(s.main, 0.35f, crest.data(), int(crest.size()));
    }
}

// "spectral_dynamics": bins above the middle line are pushed down.
void Glyph58(const Sketch& s)
{
    static constexpr REAL kInput[] = {0.35f, 0.72f, 0.55f, 0.88f, 0.4f, 0.78f, 0.3f, 0.62f};
    static constexpr REAL kOutput[] = {0.35f, 0.54f, 0.5f, 0.58f, 0.4f, 0.56f, 0.3f, 0.52f};
    constexpr REAL kThreshold = 0.5f;
    constexpr REAL kWidth = 0.065f;
    ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 1}, {1, 1});
    thin.SetDashStyle(DashStyleDot);
    s.Line(thin, {0, kThreshold}, {1, kThreshold});
    thin.SetDashStyle(DashStyleSolid);
    for (int i = 0; i < 8; ++i)
    {
        const REAL u = 0.095f * REAL(i);
        const REAL c = u + kWidth / 2;
        const REAL a = kInput[i];
        const REAL b = kOutput[i];
        if (a > kThreshold)
        {
            s.Line(thin, {c, 1}, {c, 1 - a});
            {
                const SolidBrush brush = MakeGlyphBrush(s.colour, 0x80);
                s.Bar(brush, s.StandingBar(u, kWidth, b));
            }
            s.Line(s.main, {c, 0.96f - a}, {c, 0.98f - b});
            s.Line(s.main, {c - 0.02f, 0.94f - b}, {c, 0.98f - b});
            s.Line(s.main, {c + 0.02f, 0.94f - b}, {c, 0.98f - b});
        }
        else
        {
            const SolidBrush brush = MakeGlyphBrush(s.colour, ShareOfMainAlpha(0.5f + 0.5f * a));
            s.Bar(brush, s.StandingBar(u, kWidth, a));
        }
    }
}

// "spectral_correlation_guard": two channels pulled back into agreement.
void Glyph59(const Sketch& s)
{
    static constexpr REAL kLeft[] = {0.4f,  0.22f, 0.15f, 0.1f,  0.32f,
                                     0.18f, 0.14f, 0.28f, 0.35f, 0.42f};
    static constexpr REAL kRight[] = {0.58f, 0.74f, 0.2f,  0.14f, 0.38f,
                                      0.78f, 0.8f,  0.68f, 0.62f, 0.56f};
    const auto uAt = [](int i) { return REAL(i) / 9; };
    const ThinGlyphPen thin(s.colour);
    s.Line(thin, {0, 0.5}, {1, 0.5});
    for (const REAL* levels : {kLeft, kRight})
    {
        GlyphPoint points[10];
        for (int i = 0; i < 10; ++i)
        {
            points[i] = {uAt(i), levels[i]};
        }
        s.Curve(thin, 0.35f, points, 10);
    }
    s.Curve(s.main, 0.35f, {{uAt(1), 0.22}, {uAt(2), 0.25}, {uAt(3), 0.28}, {uAt(4), 0.36}});
    s.Curve(s.main, 0.35f, {{uAt(1), 0.7}, {uAt(2), 0.62}, {uAt(3), 0.6}, {uAt(4), 0.58}});
    const REAL u = 2.5f / 9;
    s.Line(s.main, {u, 0.12}, {u, 0.24});
    s.Line(s.main, {u - 0.015f, 0.2}, {u, 0.24});
    s.Line(s.main, {u + 0.015f, 0.2}, {u, 0.24});
    s.Line(s.main, {u, 0.88}, {u, 0.62});
    s.Line(s.main, {u - 0.015f, 0.66}, {u, 0.62});
    s.Line(s.main, {u + 0.015f, 0.66}, {u, 0.62});
}

using GlyphRoutine = void (*)(const Sketch&);

constexpr GlyphRoutine kDrawings[kLastAddonGlyph] = {
    Glyph1,  Glyph2,  Glyph3,  Glyph4,  Glyph5,  Glyph6,  Glyph7,  Glyph8,  Glyph9,  Glyph10,
    Glyph11, Glyph12, Glyph13, Glyph14, Glyph15, Glyph16, Glyph17, Glyph18, Glyph19, Glyph20,
    Glyph21, Glyph22, Glyph23, Glyph24, Glyph25, Glyph26, Glyph27, Glyph28, Glyph29, Glyph30,
    Glyph31, Glyph32, Glyph33, Glyph34, Glyph35, Glyph36, Glyph37, Glyph38, Glyph39, Glyph40,
    Glyph41, Glyph42, Glyph43, Glyph44, Glyph45, Glyph46, Glyph47, Glyph48, Glyph49, Glyph50,
    Glyph51, Glyph52, Glyph53, Glyph54, Glyph55, Glyph56, Glyph57, Glyph58, Glyph59,
};

// The declipper's wave, in fractions of the inner box.
REAL DeclipperWave(REAL u)
{
    constexpr REAL kTwoPi = 6.28318f;
    return 0.5f - 0.46f * std::sin(kTwoPi * 1.2f * u);
}

} // namespace

std::array<GlyphPoint, 24> DeclipperClippedWave()
{
    std::array<GlyphPoint, 24> points{};
    for (int i = 0; i < 24; ++i)
    {
        const REAL u = REAL(i) / 23;
        points[i] = {u, std::clamp(DeclipperWave(u), 0.28f, 0.72f)};
    }
    return points;
}

std::array<GlyphPoint, 8> DeclipperCrest(REAL startU)
{
    std::array<GlyphPoint, 8> points{};
    for (int k = 0; k < 8; ++k)
    {
        const REAL u = startU + 0.3f * REAL(k) / 7;
        points[k] = {u, DeclipperWave(u)};
    }
    return points;
}

bool DrawGlyphDrawing(Graphics& graphics, AddonGlyph glyph, const GlyphFrame& frame,
                      const Pen& mainPen, COLORREF colour)
{
    if (glyph < 1 || glyph > kLastAddonGlyph)
    {
        return false;
    }
    kDrawings[glyph - 1](Sketch{graphics, frame, mainPen, colour});
    return true;
}
