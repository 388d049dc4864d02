// The glyph table, the drawing frame and the drawings' numbers, read back from
// pixels drawn on a transparent bitmap, and the contact sheet of every glyph.
#include "controls/base/painting_helpers.h"
#include "pages/addon_glyph_drawings.h"
#include "pages/addon_glyph_kit.h"
#include "pages/addon_glyphs.h"
#include "platform/gdiplus/gdiplus.h"
#include "registry/addon_registry.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace
{

constexpr COLORREF kCatalogueColour = 0x4E9AE8; // the icon catalogue's colour
constexpr COLORREF kBypassed = 0x76706C;        // a bypassed card on the chain strip

// A transparent bitmap with `glyph` drawn the way every caller draws it.
std::unique_ptr<Bitmap> Render(int width, int height, AddonGlyph glyph, const RectF& rect,
                               COLORREF colour = kCatalogueColour)
{
    auto bitmap = std::make_unique<Bitmap>(width, height);
    Graphics g(bitmap.get());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    DrawAddonGlyph(g, glyph, rect, colour);
    return bitmap;
}

Color Probe(const Bitmap& bitmap, REAL x, REAL y)
{
    Color c;
    bitmap.GetPixel(int(std::floor(x)), int(std::floor(y)), &c);
    return c;
}

// Every pixel, row by row, as 0xAARRGGBB.
std::vector<ARGB> AllPixels(const Bitmap& bitmap)
{
    std::vector<ARGB> pixels;
    for (int y = 0; y < int(bitmap.GetHeight()); ++y)
    {
        for (int x = 0; x < int(bitmap.GetWidth()); ++x)
        {
            Color c;
            bitmap.GetPixel(x, y, &c);
            pixels.push_back(c.GetValue());
        }
    }
    return pixels;
}

// Every pixel with any alpha, as (x, y).
std::vector<POINT> PaintedPixels(const Bitmap& bitmap)
{
    const std::vector<ARGB> pixels = AllPixels(bitmap);
    const int width = int(bitmap.GetWidth());
    std::vector<POINT> painted;
    for (int i = 0; i < int(pixels.size()); ++i)
    {
        if (pixels[size_t(i)] >> 24 != 0)
        {
            painted.push_back({i % width, i / width});
        }
    }
    return painted;
}

bool SamePixels(const Bitmap& a, const Bitmap& b)
{
    return AllPixels(a) == AllPixels(b);
}

} // namespace

TEST(AddonGlyphTable, MapsEveryIdOfTheTableAndNothingElse)
{
    struct Row
    {
        AddonGlyph glyph;
        std::vector<const char*> ids;
    };
    const Row rows[] = {
        {1, {"three_band_eq"}},
        {2, {"glue_module", "transparent_bus_compressor", "vintage_compressor"}},
        {3, {"standard_compressor"}},
        {4, {"stage4", "finalizer", "limiter"}},
        {5, {"soft_clipper"}},
        {6, {"stereo_widener", "width_limiter"}},
        {7, {"stereo_band_rebalance"}},
        {8, {"low_high_band_stereo_shaper"}},
        {9, {"stereo_swapper"}},
        {10, {"broadband_expander"}},
        {11, {"center_halo"}},
        {12, {"crest_factor_controller"}},
        {13, {"harshness_tamer", "master_deesser"}},
        {18, {"dynamic_eq"}},
        {20, {"stage2", "spectral", "spectral_match", "spectral_matcher"}},
        {21, {"air_shelf", "dynamic_air", "presence_lift"}},
        {22, {"ambient_widener"}},
        {23, {"low_mid_cleanup"}},
        {24, {"dc_blocker", "sub_rumble_filter"}},
        {25, {"dynamic_tilt", "tilt_eq"}},
        {26, {"hum_notch", "resonance_suppressor"}},
        {27, {"resonance_tracker"}},
        {28, {"peak_clipper"}},
        {29, {"asymmetric_clipper"}},
        {30, {"tape_motion", "tape_saturation"}},
        {31, {"tube_saturation"}},
        {32, {"low_end_punch", "punch_enhancer", "transient_catcher", "transient_shaper"}},
        {33, {"transient_sustain_shaper"}},
        {34, {"exciter"}},
        {35, {"harmonic_enhancer"}},
        {36, {"loudness_driver", "parallel_aggression", "sonic_maximizer"}},
        {37, {"phase_align"}},
        {38, {"phase_rotator"}},
        {39, {"ms_color_eq"}},
        {40, {"ms_dynamics_processor"}},
        {41, {"center_focus", "center_lock"}},
        {42, {"balance_corrector", "band_balance_corrector"}},
        {43, {"upward_expander"}},
        {44, {"detail_extractor", "micro_dynamics_restorer", "upward_detail"}},
        {45, {"mono_maker"}},
        {46, {"stage1", "level_match", "level_matcher"}},
        {47, {"stage3", "dynamics", "dynamics_corrector"}},
        {48, {"multiband_compressor"}},
        {49, {"dynamic_low_end_tamer"}},
        {50, {"true_peak_guard"}},
        {51, {"final_norm", "normalize", "normalizer"}},
        {52, {"transformer_saturation"}},
        {55, {"spectral_gate"}},
        {56, {"spectral_dereverb"}},
        {57, {"spectral_declip"}},
        {58, {"spectral_dynamics"}},
        {59, {"spectral_correlation_guard"}},
    };
    std::set<std::string> expected;
    for (const Row& row : rows)
    {
        for (const char* id : row.ids)
        {
            EXPECT_EQ(AddonGlyphForId(id), row.glyph) << id;
            EXPECT_EQ(AddonGlyphPainter().AddonGlyphForId(id), row.glyph) << id;
            expected.insert(id);
        }
    }
    ASSERT_EQ(expected.size(), 82u);

    std::set<std::string> listed;
    for (const AddonGlyphEntry& entry : AddonGlyphTable())
    {
        EXPECT_TRUE(listed.insert(entry.id).second) << entry.id << " is listed twice";
    }
    EXPECT_EQ(listed, expected);

    for (const char* stranger : {"Stage2", "stage2 ", " stage2", "", "no_such_addon",
                                 "vorlik_loc_compressor", "spectral_matc", "stage2\n"})
    {
        EXPECT_EQ(AddonGlyphForId(stranger), kDefaultAddonGlyph) << '"' << stranger << '"';
    }
    EXPECT_EQ(AddonGlyphForId(std::string("stage2\0x", 8)), kDefaultAddonGlyph)
        << "an id with the table's bytes as a prefix is another id";
}

TEST(AddonGlyphTable, ListsEveryRegisteredAddOnButOne)
{
    std::set<std::string> listed;
    for (const AddonGlyphEntry& entry : AddonGlyphTable())
    {
        listed.insert(entry.id);
    }
    int found = 0;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        if (descriptor.id == "vorlik_loc_compressor")
        {
            EXPECT_EQ(listed.count(descriptor.id), 0u);
            EXPECT_EQ(AddonGlyphForId(descriptor.id), AddonGlyphForId("three_band_eq"));
            continue;
        }
        EXPECT_EQ(listed.count(descriptor.id), 1u) << descriptor.id << " has no glyph";
        found += listed.count(descriptor.id) ? 1 : 0;
    }
    if (GetProcessorDescriptors().size() == size_t(kAddonCount))
    {
        EXPECT_EQ(found, kAddonCount - 1);
    }
}

TEST(AddonGlyphKit, ColoursTakeThePaintersAlphaAndIgnoreTheHighByte)
{
    const COLORREF colour = 0xAB8040C0; // high byte set: not an alpha
    EXPECT_EQ(GlyphArgb(colour, kMainGlyphAlpha), 0xB7C04080u);
    EXPECT_EQ(GlyphArgb(colour, kThinGlyphAlpha), 0x4CC04080u);
    EXPECT_EQ(GlyphArgb(colour, kSoftGlyphAlpha), 0x20C04080u);
    EXPECT_EQ(GlyphArgb(0x00C04080 | 0xFF000000, 0), 0x008040C0u);

    Color soft;
    MakeSoftGlyphBrush(colour).GetColor(&soft);
    EXPECT_EQ(soft.GetValue(), 0x20C04080u);

    Pen pen(Color(0xFF000000), 3.0f);
    pen.SetDashStyle(DashStyleDot);
    StyleThinGlyphPen(pen, colour);
    EXPECT_FLOAT_EQ(pen.GetWidth(), 0.8f);
}

TEST(AddonGlyphKit, FrameIsTheInnerBoxAroundTheCentre)
{
    const GlyphFrame f = MakeGlyphFrame(RectF(30, 50, 100, 100));
    EXPECT_FLOAT_EQ(f.x0, 46);
    EXPECT_FLOAT_EQ(f.x1, 114);
    EXPECT_FLOAT_EQ(f.y0, 68);
    EXPECT_FLOAT_EQ(f.y1, 132);
    EXPECT_FLOAT_EQ(f.iw, 68);
    EXPECT_FLOAT_EQ(f.ih, 64);
    EXPECT_FLOAT_EQ(f.xm, 80);
    EXPECT_FLOAT_EQ(f.ym, 100);
    EXPECT_FLOAT_EQ(f.At(0.5f, 0.5f).X, f.xm);
    EXPECT_FLOAT_EQ(f.At(0.5f, 0.5f).Y, f.ym);
    EXPECT_FLOAT_EQ(f.At(1.02f, -0.02f).X, 46 + 1.02f * 68);

    struct Case
    {
        REAL w, h;
        bool roundByWidth; // m = iw rather than ih
    };
    const Case cases[] = {
        {100, 100, false}, // a square's inner box is wider than high
        {78, 61, false},   // the chain strip's card
        {64, 64, false},   // the browser's card
        {100, 106, false}, // taller, but not by 0.68 / 0.64
        {100, 107, true},  {40, 100, true},
    };
    for (const Case& c : cases)
    {
        const GlyphFrame g = MakeGlyphFrame(RectF(7, 9, c.w, c.h));
        EXPECT_FLOAT_EQ(g.m, c.roundByWidth ? g.iw : g.ih) << c.w << " x " << c.h;
    }
}

TEST(AddonGlyphDrawing, GlyphZeroLeavesEveryPixelAndTheGraphicsAlone)
{
    Bitmap bitmap(80, 80);
    {
        Graphics g(&bitmap);
        g.SetSmoothingMode(SmoothingModeHighSpeed);
        g.SetPixelOffsetMode(PixelOffsetModeNone);
        DrawAddonGlyph(g, kNoAddonGlyph, RectF(0, 0, 80, 80), kCatalogueColour);
        DrawAddonGlyph(g, 25, RectF(0, 0, 80, 80), kCatalogueColour);
        EXPECT_EQ(g.GetSmoothingMode(), SmoothingModeHighSpeed) << "the caller's state is kept";
        EXPECT_EQ(g.GetPixelOffsetMode(), PixelOffsetModeNone);
    }
    EXPECT_FALSE(PaintedPixels(bitmap).empty());
    EXPECT_TRUE(PaintedPixels(*Render(80, 80, kNoAddonGlyph, RectF(0, 0, 80, 80))).empty());
}

TEST(AddonGlyphDrawing, NumbersWithoutADrawingOutlineTheInnerBox)
{
    // In a 100 x 100 rectangle at (20, 30) the outline is (36, 48, 68, 64).
    const RectF rect(20, 30, 100, 100);
    const auto reference = Render(160, 160, 60, rect);
    for (const AddonGlyph glyph : {60, -1, INT_MIN, INT_MAX})
    {
        const auto bitmap = Render(160, 160, glyph, rect);
        EXPECT_TRUE(SamePixels(*bitmap, *reference)) << "glyph " << glyph;
    }
    for (const POINT& p : PaintedPixels(*reference))
    {
        const bool onVertical =
            (std::abs(p.x - 36) <= 1 || std::abs(p.x - 104) <= 1) && p.y >= 47 && p.y <= 112;
        const bool onHorizontal =
            (std::abs(p.y - 48) <= 1 || std::abs(p.y - 112) <= 1) && p.x >= 35 && p.x <= 104;
        EXPECT_TRUE(onVertical || onHorizontal) << "stray pixel " << p.x << ", " << p.y;
    }
    for (const auto& [x, y] :
         {std::pair{36.0f, 80.0f}, {104.0f, 80.0f}, {70.0f, 48.0f}, {70.0f, 112.0f}})
    {
        EXPECT_GT(Probe(*reference, x, y).GetA(), 0x50) << "outline missing at " << x << ", " << y;
    }
    EXPECT_EQ(Probe(*reference, 70, 80).GetA(), 0) << "the box is not filled";
}

TEST(AddonGlyphDrawing, LevelBarsSpanTheWholeRectangleInTheirOwnAlphas)
{
    // Glyph 46 in (10, 10, 400, 400): bar i from x 66 + 48 i, 32 wide, bottom
    // at y 338. Probed just above the bottom, where every bar stands.
    const auto bitmap = Render(420, 420, 46, RectF(10, 10, 400, 400), 0x2040C0);
    const BYTE alphas[] = {0x8F, 0x98, 0xA5, 0x9E, 0xAA, 0x9B};
    for (int i = 0; i < 6; ++i)
    {
        const Color c = Probe(*bitmap, 10 + 400 * (0.18f + 0.12f * i), 330);
        EXPECT_EQ(c.GetA(), alphas[i]) << "bar " << i;
        // Stored premultiplied: the colour comes back within a step.
        EXPECT_NEAR(c.GetR(), 0xC0, 1) << "bar " << i;
        EXPECT_NEAR(c.GetG(), 0x40, 1) << "bar " << i;
        EXPECT_NEAR(c.GetB(), 0x20, 1) << "bar " << i;
    }
    // Bar 0 is 0.22 h high: above it, only the gap.
    EXPECT_EQ(Probe(*bitmap, 10 + 400 * 0.18f, 10 + 400 * 0.55f).GetA(), 0);
    EXPECT_EQ(Probe(*bitmap, 10 + 400 * 0.18f, 10 + 400 * 0.62f).GetA(), 0x8F);
    // Between the bars: nothing but the two lines.
    EXPECT_EQ(Probe(*bitmap, 10 + 400 * 0.24f, 330).GetA(), 0);
}

TEST(AddonGlyphDrawing, SpectralGateGatesTheBinsUnderItsThreshold)
{
    // Inner box of (0, 0, 500, 500): x 80 to 420, y 90 to 410 (340 x 320).
    const auto bitmap = Render(500, 500, 55, RectF(0, 0, 500, 500));
    const auto centreX = [](int i) { return 80 + 340 * (0.095f * i + 0.035f); };
    const BYTE filled[] = {0x98, 0xA3, 0, 0xAB, 0, 0x9D, 0, 0x93};
    for (int i = 0; i < 8; ++i)
    {
        if (filled[i] != 0)
        {
            EXPECT_EQ(Probe(*bitmap, centreX(i), 90 + 320 * 0.95f).GetA(), filled[i])
                << "bar " << i;
            EXPECT_EQ(Probe(*bitmap, centreX(i) + 8, 90 + 320 * 0.8f).GetA(), filled[i])
                << "bar " << i << " reaches over the threshold";
        }
        else
        {
            EXPECT_EQ(Probe(*bitmap, centreX(i) + 8, 90 + 320 * 0.985f).GetA(), 0x28)
                << "stub of gated bar " << i;
            EXPECT_EQ(Probe(*bitmap, centreX(i) + 8, 90 + 320 * 0.9f).GetA(), 0)
                << "gated bar " << i << " is a stub only";
            EXPECT_GT(Probe(*bitmap, centreX(i), 90 + 320 * 0.92f).GetA(), 0)
                << "gated bar " << i << " keeps its level as a thin line";
        }
    }
}

TEST(AddonGlyphDrawing, SpectralDynamicsArrowsOnlyTheBinsAboveTheLine)
{
    const auto bitmap = Render(500, 500, 58, RectF(0, 0, 500, 500));
    const REAL inputs[] = {0.35f, 0.72f, 0.55f, 0.88f, 0.4f, 0.78f, 0.3f, 0.62f};
    const BYTE unarrowed[] = {0x7B, 0, 0, 0, 0x80, 0, 0x76, 0};
    for (int i = 0; i < 8; ++i)
    {
        const REAL c = 80 + 340 * (0.095f * i + 0.0325f);
        // Over the input level, where only an arrow's shaft can be.
        const BYTE shaft = Probe(*bitmap, c, 90 + 320 * (0.975f - inputs[i])).GetA();
        if (unarrowed[i] != 0)
        {
            EXPECT_EQ(shaft, 0) << "bar " << i << " has no arrow";
            EXPECT_EQ(Probe(*bitmap, c, 90 + 320 * 0.9f).GetA(), unarrowed[i]) << "bar " << i;
        }
        else
        {
            EXPECT_GT(shaft, 0x40) << "bar " << i << " has an arrow";
            EXPECT_EQ(Probe(*bitmap, c + 6, 90 + 320 * 0.99f).GetA(), 0x80) << "bar " << i;
        }
    }
}

TEST(AddonGlyphDrawing, LevelDotsFadeAsTheyFall)
{
    // Radius 0.032 w = 16; probed up and to the right of each centre, away
    // from the grid line and the joining lines through it.
    const auto bitmap = Render(500, 500, 54, RectF(0, 0, 500, 500));
    const struct
    {
        REAL u;
        int level;
        BYTE alpha;
    } dots[] = {
        {0.1f, 4, 0xA4}, {0.32f, 3, 0x8E}, {0.54f, 2, 0x78}, {0.72f, 2, 0x62}, {0.88f, 1, 0x4C}};
    for (const auto& dot : dots)
    {
        const REAL x = 80 + 340 * dot.u;
        const REAL y = 90 + 320 * (0.96f - 0.184f * dot.level);
        EXPECT_EQ(Probe(*bitmap, x + 6, y - 6).GetA(), dot.alpha) << "dot at u " << dot.u;
    }
}

TEST(AddonGlyphDrawing, DeclipperShowsTheClippedWaveAndTheRestoredCrests)
{
    const auto clipped = DeclipperClippedWave();
    ASSERT_EQ(clipped.size(), 24u);
    struct Run
    {
        REAL from, to, v;
    };
    const Run flats[] = {{0.087f, 0.348f, 0.28f}, {0.522f, 0.739f, 0.72f}, {0.913f, 1.0f, 0.28f}};
    for (const GlyphPoint& p : clipped)
    {
        const Run* run = nullptr;
        for (const Run& r : flats)
        {
            run = (p.u >= r.from - 1e-3f && p.u <= r.to + 1e-3f) ? &r : run;
        }
        if (run != nullptr)
        {
            EXPECT_FLOAT_EQ(p.v, run->v) << "at u " << p.u;
        }
        else
        {
            EXPECT_GT(p.v, 0.28f) << "at u " << p.u;
            EXPECT_LT(p.v, 0.72f) << "at u " << p.u;
        }
    }
    const auto first = DeclipperCrest(0.12f);
    const auto second = DeclipperCrest(0.54f);
    const auto lowest = std::min_element(first.begin(), first.end(),
                                         [](GlyphPoint a, GlyphPoint b) { return a.v < b.v; });
    const auto highest = std::max_element(second.begin(), second.end(),
                                          [](GlyphPoint a, GlyphPoint b) { return a.v < b.v; });
    EXPECT_NEAR(lowest->v, 0.04f, 0.002f);
    EXPECT_NEAR(highest->v, 0.96f, 0.002f);
    EXPECT_FLOAT_EQ(first.front().u, 0.12f);
    EXPECT_FLOAT_EQ(first.back().u, 0.42f);
    EXPECT_FLOAT_EQ(second.back().u, 0.84f);

    // Drawn: ink above the upper clip line only where the first crest rises.
    const auto bitmap = Render(500, 500, 57, RectF(0, 0, 500, 500));
    EXPECT_GT(Probe(*bitmap, 80 + 340 * lowest->u, 90 + 320 * lowest->v).GetA(), 0x40);
    EXPECT_EQ(Probe(*bitmap, 80 + 340 * 0.05f, 90 + 320 * 0.1f).GetA(), 0);
}

TEST(AddonGlyphDrawing, EveryDrawingIsItsOwnAndStaysInItsRectangle)
{
    const RectF rects[] = {RectF(6, 6, 64, 64), RectF(6, 6, 78, 61), RectF(6, 6, 100, 40)};
    for (const RectF& rect : rects)
    {
        std::vector<std::vector<ARGB>> seen;
        for (AddonGlyph glyph = 1; glyph <= kLastAddonGlyph; ++glyph)
        {
            const auto bitmap = Render(120, 80, glyph, rect);
            const std::vector<POINT> painted = PaintedPixels(*bitmap);
            EXPECT_GT(painted.size(), 20u) << "glyph " << glyph << " draws next to nothing";
            for (const POINT& p : painted)
            {
                ASSERT_TRUE(p.x >= rect.X - 1 && p.x <= rect.GetRight() && p.y >= rect.Y - 1 &&
                            p.y <= rect.GetBottom())
                    << "glyph " << glyph << " paints outside " << rect.Width << " x " << rect.Height
                    << " at " << p.x << ", " << p.y;
            }
            const std::vector<ARGB> pixels = AllPixels(*bitmap);
            for (size_t other = 0; other < seen.size(); ++other)
            {
                EXPECT_TRUE(pixels != seen[other])
                    << "glyphs " << other + 1 << " and " << glyph << " look the same";
            }
            seen.push_back(pixels);
        }
    }
}

TEST(AddonGlyphDrawing, BadRectanglesAndColoursDrawNothingUnexpected)
{
    constexpr REAL kNaN = std::numeric_limits<REAL>::quiet_NaN();
    const AddonGlyph glyphs[] = {INT_MIN, -1, 0,  1,  11, 22, 30, 37, 38,
                                 39,      40, 42, 46, 57, 58, 59, 60, INT_MAX};
    struct Case
    {
        const char* name;
        RectF rect;
        bool drawsNothing;
    };
    const Case cases[] = {
        {"NaN origin", RectF(kNaN, 10, 40, 40), true},
        {"NaN size", RectF(10, 10, kNaN, kNaN), true},
        {"0 x 0", RectF(30, 30, 0, 0), true},
        {"negative", RectF(50, 50, -40, -30), false},
        {"1e9", RectF(0, 0, 1e9f, 1e9f), false},
        {"1e9 back to the origin", RectF(-5e8f, -5e8f, 1e9f, 1e9f), false},
    };
    for (const Case& c : cases)
    {
        for (const AddonGlyph glyph : glyphs)
        {
            Bitmap bitmap(60, 60);
            {
                Graphics g(&bitmap);
                g.SetSmoothingMode(SmoothingModeAntiAlias);
                g.SetPixelOffsetMode(PixelOffsetModeHalf);
                DrawAddonGlyph(g, glyph, c.rect, 0xFF4E9AE8);
                if (c.drawsNothing)
                {
                    EXPECT_TRUE(PaintedPixels(bitmap).empty()) << c.name << ", glyph " << glyph;
                }
                // Whatever happened, the Graphics still draws.
                g.Clear(Color(0, 0, 0, 0));
                DrawAddonGlyph(g, 25, RectF(0, 0, 60, 60), kCatalogueColour);
            }
            EXPECT_TRUE(SamePixels(bitmap, *Render(60, 60, 25, RectF(0, 0, 60, 60))))
                << c.name << ", glyph " << glyph << " left the Graphics broken";
        }
    }
    // The COLORREF's high byte changes nothing.
    EXPECT_TRUE(SamePixels(*Render(80, 80, 34, RectF(0, 0, 80, 80), 0xFF4E9AE8),
                           *Render(80, 80, 34, RectF(0, 0, 80, 80), kCatalogueColour)));
}

TEST(AddonGlyphDrawing, ContactSheetMatchesTheStoredPicture)
{
    // Glyphs 0 to 60, each in a tile: its number, then a row per colour at
    // 64 x 64, 78 x 61 and 100 x 40, on the pages' background.
    constexpr int kColumns = 8;
    constexpr int kTileWidth = 8 + 64 + 6 + 78 + 6 + 100 + 8;
    constexpr int kTileHeight = 16 + 64 + 6 + 64 + 8;
    constexpr int kGlyphs = kLastAddonGlyph + 2; // 0 to 60
    constexpr int kRows = (kGlyphs + kColumns - 1) / kColumns;
    Bitmap sheet(kColumns * kTileWidth, kRows * kTileHeight, PixelFormat32bppRGB);
    {
        Graphics g(&sheet);
        PrepareControlGraphics(g);
        g.Clear(ColorFromRef(0x100E0C));
        const Font font(L"Segoe UI", 11.0f, FontStyleRegular, UnitPixel);
        const SolidBrush label(ColorFromRef(0xB4AEA8));
        const Pen cell(ColorFromRef(0x2A2624), 1.0f);
        const REAL sizes[3][2] = {{64, 64}, {78, 61}, {100, 40}};
        const COLORREF colours[] = {kCatalogueColour, kBypassed};
        for (int glyph = 0; glyph < kGlyphs; ++glyph)
        {
            const REAL left = REAL(glyph % kColumns * kTileWidth);
            const REAL top = REAL(glyph / kColumns * kTileHeight);
            const std::wstring number = std::to_wstring(glyph);
            g.DrawString(number.c_str(), -1, &font, PointF(left + 8, top + 1), &label);
            for (int row = 0; row < 2; ++row)
            {
                REAL x = left + 8;
                const REAL y = top + 16 + REAL(row) * 70;
                for (const auto& size : sizes)
                {
                    const RectF rect(x, y + (64 - size[1]) / 2, size[0], size[1]);
                    g.DrawRectangle(&cell, rect);
                    DrawAddonGlyph(g, glyph, rect, colours[row]);
                    x += size[0] + 6;
                }
            }
        }
    }
    ASSERT_TRUE(SaveControlPicture(sheet, "addon_glyph_contact_sheet"));

    const std::filesystem::path golden =
        std::filesystem::path(__FILE__).parent_path() / "golden" / "addon_glyph_contact_sheet.png";
    if (std::getenv("BRVL_UPDATE_GOLDEN") != nullptr)
    {
        std::filesystem::create_directories(golden.parent_path());
        std::filesystem::copy_file(ControlPicturePath("addon_glyph_contact_sheet"), golden,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    Bitmap stored(golden.wstring().c_str());
    ASSERT_EQ(stored.GetLastStatus(), Ok) << "missing golden picture " << golden;
    ASSERT_EQ(stored.GetWidth(), sheet.GetWidth());
    ASSERT_EQ(stored.GetHeight(), sheet.GetHeight());
    double difference = 0;
    for (int y = 0; y < int(sheet.GetHeight()); ++y)
    {
        for (int x = 0; x < int(sheet.GetWidth()); ++x)
        {
            const COLORREF a = PixelAt(sheet, x, y);
            const COLORREF b = PixelAt(stored, x, y);
            difference += std::abs(int(GetRValue(a)) - int(GetRValue(b))) +
                          std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
                          std::abs(int(GetBValue(a)) - int(GetBValue(b)));
        }
    }
    difference /= 3.0 * sheet.GetWidth() * sheet.GetHeight();
    EXPECT_LT(difference, 1.0) << "the sheet drifted from " << golden << "; compare with "
                               << ControlPicturePath("addon_glyph_contact_sheet");
}
