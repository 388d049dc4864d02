#include "pages/addon_glyphs.h"

#include "pages/addon_glyph_drawings.h"
#include "pages/addon_glyph_kit.h"
#include "platform/gdiplus/gdiplus_graphics.h"

#include <iterator>

using namespace Gdiplus;

namespace
{

// Stage and engine names share glyphs with the add-ons they stand beside.
constexpr AddonGlyphEntry kGlyphTable[] = {
    {"three_band_eq", 1},
    {"glue_module", 2},
    {"transparent_bus_compressor", 2},
    {"vintage_compressor", 2},
    {"standard_compressor", 3},
    {"stage4", 4},
    {"finalizer", 4},
    {"limiter", 4},
    {"soft_clipper", 5},
    {"stereo_widener", 6},
    {"width_limiter", 6},
    {"stereo_band_rebalance", 7},
    {"low_high_band_stereo_shaper", 8},
    {"stereo_swapper", 9},
    {"broadband_expander", 10},
    {"center_halo", 11},
    {"crest_factor_controller", 12},
    {"harshness_tamer", 13},
    {"master_deesser", 13},
    {"dynamic_eq", 18},
    {"stage2", 20},
    {"spectral", 20},
    {"spectral_match", 20},
    {"spectral_matcher", 20},
    {"air_shelf", 21},
    {"dynamic_air", 21},
    {"presence_lift", 21},
    {"ambient_widener", 22},
    {"low_mid_cleanup", 23},
    {"dc_blocker", 24},
    {"sub_rumble_filter", 24},
    {"dynamic_tilt", 25},
    {"tilt_eq", 25},
    {"hum_notch", 26},
    {"resonance_suppressor", 26},
    {"resonance_tracker", 27},
    {"peak_clipper", 28},
    {"asymmetric_clipper", 29},
    {"tape_motion", 30},
    {"tape_saturation", 30},
    {"tube_saturation", 31},
    {"low_end_punch", 32},
    {"punch_enhancer", 32},
    {"transient_catcher", 32},
    {"transient_shaper", 32},
    {"transient_sustain_shaper", 33},
    {"exciter", 34},
    {"harmonic_enhancer", 35},
    {"loudness_driver", 36},
    {"parallel_aggression", 36},
    {"sonic_maximizer", 36},
    {"phase_align", 37},
    {"phase_rotator", 38},
    {"ms_color_eq", 39},
    {"ms_dynamics_processor", 40},
    {"center_focus", 41},
    {"center_lock", 41},
    {"balance_corrector", 42},
    {"band_balance_corrector", 42},
    {"upward_expander", 43},
    {"detail_extractor", 44},
    {"micro_dynamics_restorer", 44},
    {"upward_detail", 44},
    {"mono_maker", 45},
    {"stage1", 46},
    {"level_match", 46},
    {"level_matcher", 46},
    {"stage3", 47},
    {"dynamics", 47},
    {"dynamics_corrector", 47},
    {"multiband_compressor", 48},
    {"dynamic_low_end_tamer", 49},
    {"true_peak_guard", 50},
    {"final_norm", 51},
    {"normalize", 51},
    {"normalizer", 51},
    {"transformer_saturation", 52},
    {"spectral_gate", 55},
    {"spectral_dereverb", 56},
    {"spectral_declip", 57},
    {"spectral_dynamics", 58},
    {"spectral_correlation_guard", 59},
};

} // namespace

std::span<const AddonGlyphEntry> AddonGlyphTable()
{
    return kGlyphTable;
}

AddonGlyph AddonGlyphForId(const std::string& id)
{
    for (const AddonGlyphEntry& entry : kGlyphTable)
    {
        if (id == entry.id)
        {
            return entry.glyph;
        }
    }
    return kDefaultAddonGlyph;
}

void DrawAddonGlyph(Graphics& graphics, AddonGlyph glyph, const RectF& rect, COLORREF colour)
{
    if (glyph == kNoAddonGlyph)
    {
        return;
    }
    Pen mainPen(Color(GlyphArgb(colour, kMainGlyphAlpha)), kMainGlyphPenWidth);
    RoundGlyphPen(mainPen);
    const GlyphFrame frame = MakeGlyphFrame(rect);
    if (!DrawGlyphDrawing(graphics, glyph, frame, mainPen, colour))
    {
        // Numbers without a drawing show where one would go.
        graphics.DrawRectangle(&mainPen, frame.x0, frame.y0, frame.iw, frame.ih);
    }
}
