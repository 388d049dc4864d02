#include "grid/designer_previews.h"

#include "controls/base/base_control_wnd.h"
#include "controls/base/painting_helpers.h"
#include "controls/buttons/action_button_wnd.h"
#include "controls/buttons/round_transport_button_wnd.h"
#include "controls/displays/nixie_display_wnd.h"
#include "controls/displays/panel_light_wnd.h"
#include "controls/displays/seven_segment_display_wnd.h"
#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "controls/meters/needle_meter_wnd.h"
#include "controls/meters/output_meter_wnd.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "controls/switches/menu_bar_wnd.h"
#include "controls/switches/segment_switch_wnd.h"
#include "controls/switches/toggle_switch_wnd.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_painting.h"
#include "controls/text/text_title_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "platform/win32/palette.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace
{

constexpr COLORREF kDesignerBackground = 0x100E0C;
constexpr COLORREF kDefaultAccent = 0x5284E5;

// Graph cards.
constexpr Gdiplus::ARGB kCardFill = 0xFF0E1116;
constexpr Gdiplus::ARGB kCardOutline = 0x34FFFFFF;
constexpr TextLook kCardTitle{12.0f, true, 0xDCE8ECF2};
constexpr TextLook kCardSubtitle{11.0f, false, 0xC0CAD0D8};
constexpr Gdiplus::REAL kCardTitleHeight = 20.0f;
constexpr Gdiplus::REAL kCardSubtitleHeight = 18.0f;

// The compressor meter's bars.
constexpr Gdiplus::ARGB kSampleBarFill = 0xFF161A20;
constexpr Gdiplus::ARGB kSampleBarOutline = 0x3CC8D2DC;
constexpr Gdiplus::ARGB kSampleReductionFill = 0xA064DC64;
constexpr Gdiplus::ARGB kPlacedReductionFill = 0x7864DC64;

// Default counts and labels of the step kinds when an item gives none.
constexpr int kSteppedKnobSteps = 5;
const std::vector<CString> kMenuBarLabels = {L"Apprentice", L"Maester"};
const std::vector<CString> kSegmentLabels = {L"Low", L"Mid", L"High"};

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

bool IsKnownKind(int kind)
{
    return kind >= 0 && kind < kControlKindCount;
}

void FlagsOff(ControlDrawState& state)
{
    state.drawBorder = false;
    state.drawBackground = false;
}

void SetCardTexts(DesignerPaintArguments& args, const wchar_t* title, const wchar_t* subtitle,
                  int titleTop, int subtitleTop)
{
    args.cardTitle = title;
    args.cardSubtitle = subtitle;
    args.cardTitleTop = titleTop;
    args.cardSubtitleTop = subtitleTop;
}

// Steps of a placed stepped knob, menu bar or segment switch: the item's count,
// else its number of labels, else the kind's default.
int PlacedStepCount(const DesignerItem& item, int fallback)
{
    if (item.stepCount > 0)
    {
        return item.stepCount;
    }
    if (!item.stepLabels.empty())
    {
        return static_cast<int>(std::min<size_t>(item.stepLabels.size(), INT_MAX));
    }
    return fallback;
}

void PlaceSegments(DesignerPaintArguments& args, const DesignerItem& item,
                   const std::vector<CString>& defaults)
{
    args.segments.selectedIndex = item.selectedIndex;
    args.segments.count = PlacedStepCount(item, static_cast<int>(defaults.size()));
    args.segments.labels = item.stepLabels.empty() ? defaults : ToWideStringList(item.stepLabels);
}

void PaintGraphCard(Gdiplus::Graphics& graphics, const RECT& rect)
{
    const Gdiplus::SolidBrush fill{Gdiplus::Color(kCardFill)};
    graphics.FillRectangle(&fill, rect.left, rect.top, Width(rect), Height(rect));
    const Gdiplus::Pen outline(Gdiplus::Color(kCardOutline), 1.0f);
    graphics.DrawRectangle(&outline, Gdiplus::REAL(rect.left) + 0.5f,
                           Gdiplus::REAL(rect.top) + 0.5f, Gdiplus::REAL(Width(rect) - 1),
                           Gdiplus::REAL(Height(rect) - 1));
}

void DrawCardTexts(Gdiplus::Graphics& graphics, const RECT& rect,
                   const DesignerPaintArguments& args, Gdiplus::StringAlignment vertical)
{
    const auto box = [&](int top, Gdiplus::REAL height)
    {
        return Gdiplus::RectF(Gdiplus::REAL(rect.left), Gdiplus::REAL(rect.top + top),
                              Gdiplus::REAL(Width(rect)), height);
    };
    DrawBoxedText(graphics, args.cardTitle, kCardTitle, box(args.cardTitleTop, kCardTitleHeight),
                  Gdiplus::StringAlignmentCenter, vertical, TextFlow::OneLine);
    DrawBoxedText(graphics, args.cardSubtitle, kCardSubtitle,
                  box(args.cardSubtitleTop, kCardSubtitleHeight), Gdiplus::StringAlignmentCenter,
                  vertical, TextFlow::OneLine);
}

void DrawCompressorBars(Gdiplus::Graphics& graphics, const RECT& rect, bool sampleLook)
{
    const int w = Width(rect);
    const int h = Height(rect);
    if (!sampleLook)
    {
        const Gdiplus::SolidBrush reduction{Gdiplus::Color(kPlacedReductionFill)};
        graphics.FillRectangle(&reduction, Gdiplus::REAL(rect.left + w / 2 - 3),
                               Gdiplus::REAL(rect.top + 4), 6.0f, Gdiplus::REAL(0.45 * (h - 8)));
        return;
    }
    const Gdiplus::RectF bar(Gdiplus::REAL(rect.left + w / 2 - 5), Gdiplus::REAL(rect.top + 8),
                             10.0f, Gdiplus::REAL(h - 30));
    const Gdiplus::SolidBrush barFill{Gdiplus::Color(kSampleBarFill)};
    graphics.FillRectangle(&barFill, bar);
    const Gdiplus::Pen barOutline(Gdiplus::Color(kSampleBarOutline), 1.0f);
    graphics.DrawRectangle(&barOutline, bar);
    const Gdiplus::SolidBrush reduction{Gdiplus::Color(kSampleReductionFill)};
    graphics.FillRectangle(&reduction, bar.X + 1.0f, bar.Y + 1.0f, 8.0f,
                           Gdiplus::REAL(0.4 * (h - 30)));
}

// One picture of `kind` from its arguments: the kind's background painter,
// then its draw routine, exactly as the live control's paint handler calls
// them.
void PaintKind(Gdiplus::Graphics& graphics, const RECT& rect, int kind,
               const DesignerPaintArguments& args)
{
    if (!IsKnownKind(kind) || Width(rect) <= 0 || Height(rect) <= 0)
    {
        return;
    }
    const ControlDrawState& state = args.state;
    switch (static_cast<ControlKind>(kind))
    {
    case ControlKind::MasterKnob:
        PaintValueControlBackground(graphics, rect, state);
        DrawMasterKnob(graphics, rect, state, args.masterKnob);
        break;
    case ControlKind::MasterKnobLMT:
        PaintValueControlBackground(graphics, rect, state);
        DrawMasterKnobLMT(graphics, rect, state, args.lmtKnob);
        break;
    case ControlKind::SmallKnob:
        PaintValueControlBackground(graphics, rect, state);
        DrawSmallKnob(graphics, rect, state, args.smallKnob);
        break;
    case ControlKind::TextTitle:
        DrawTextTitle(graphics, rect, state);
        break;
    case ControlKind::TextCaption:
        PaintBackgroundColour(graphics, rect, state);
        DrawTextCaption(graphics, rect, state);
        break;
    case ControlKind::TextCaptionBlock:
        PaintCaptionBlockBackground(graphics, rect, state);
        DrawTextCaptionBlock(graphics, rect, state);
        break;
    case ControlKind::TextLabelStrip:
        PaintControlBackground(graphics, rect, state);
        DrawTextLabelStrip(graphics, rect, state);
        break;
    case ControlKind::ValueReadout:
        PaintValueReadoutBackground(graphics, rect, state);
        DrawValueReadout(graphics, rect, state, args.displayText);
        break;
    case ControlKind::TextBlock:
        PaintControlBackground(graphics, rect, state);
        DrawTextBlock(graphics, rect, state);
        break;
    case ControlKind::StereoFieldGraph:
    case ControlKind::CorrelationMeter:
    case ControlKind::Goniometer:
    case ControlKind::PeakSymmetryGraph:
        PaintGraphCard(graphics, rect);
        DrawCardTexts(graphics, rect, args, Gdiplus::StringAlignmentCenter);
        break;
    case ControlKind::CompressorMeter:
        PaintGraphCard(graphics, rect);
        DrawCompressorBars(graphics, rect, args.sampleLook);
        DrawCardTexts(graphics, rect, args, Gdiplus::StringAlignmentNear);
        break;
    case ControlKind::HorizontalDivider:
        DrawHorizontalDivider(graphics, rect, state);
        break;
    case ControlKind::VerticalDivider:
        DrawVerticalDivider(graphics, rect, state);
        break;
    case ControlKind::NeedleMeter:
        PaintNeedleMeterBackground(graphics, rect, state);
        DrawNeedleMeter(graphics, rect, state, args.meterMin, args.meterMax);
        break;
    case ControlKind::SevenSegmentDisplay:
        PaintSevenSegmentBackground(graphics, rect, state);
        DrawSevenSegmentDisplay(graphics, rect, state, args.displayText.GetString());
        break;
    case ControlKind::NixieDisplay:
        PaintNixieBackground(graphics, rect, state);
        DrawNixieDisplay(graphics, rect, state, args.displayText.GetString());
        break;
    case ControlKind::VerticalSlider:
        PaintValueControlBackground(graphics, rect, state);
        DrawVerticalSlider(graphics, rect, state, args.sliderMode);
        break;
    case ControlKind::HorizontalSlider:
        PaintValueControlBackground(graphics, rect, state);
        DrawHorizontalSlider(graphics, rect, state, args.sliderMode);
        break;
    case ControlKind::OutputMeter:
        PaintValueControlBackground(graphics, rect, state);
        DrawOutputMeter(graphics, rect, state, args.meterMin, args.meterMax);
        break;
    case ControlKind::SteppedKnob:
        PaintValueControlBackground(graphics, rect, state);
        DrawSteppedKnob(graphics, rect, state, args.steps);
        break;
    case ControlKind::SmallSteppedKnob:
        PaintValueControlBackground(graphics, rect, state);
        DrawSmallSteppedKnob(graphics, rect, state, args.steps);
        break;
    case ControlKind::MenuBar:
        PaintControlBackground(graphics, rect, state);
        DrawMenuBarControl(graphics, rect, state, args.segments);
        break;
    case ControlKind::SegmentSwitch:
        RenderSegmentSwitch(graphics, rect, state, args.segments);
        break;
    case ControlKind::ToggleSwitch:
        PaintValueControlBackground(graphics, rect, state);
        DrawToggleSwitch(graphics, rect, state, args.toggleOn);
        break;
    case ControlKind::ActionButton:
        PaintControlBackground(graphics, rect, state);
        DrawActionButton(graphics, rect, state);
        break;
    case ControlKind::PanelLight:
        PaintPanelLightBackground(graphics, rect, state);
        DrawPanelLight(graphics, rect, state);
        break;
    case ControlKind::RoundTransportButton:
        PaintRoundTransportBackground(graphics, rect, state);
        DrawRoundTransportButton(graphics, rect, state, args.glyph);
        break;
    case ControlKind::ABMonitorSwitch:
        PaintControlBackground(graphics, rect, state);
        DrawABMonitorSwitch(graphics, rect, state, args.monitor);
        break;
    }
}

// A bitmap prepared as every control paints, with its graphics.
struct OffscreenPicture
{
    OffscreenPicture(int width, int height)
        : bitmap(width, height, Gdiplus::PixelFormat32bppPARGB),
          graphics(Gdiplus::Graphics::FromImage(&bitmap))
    {
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    }

    // A bitmap too large to allocate paints nothing.
    bool Usable() const { return bitmap.GetLastStatus() == Gdiplus::Ok && graphics; }

    Gdiplus::Bitmap bitmap;
    std::unique_ptr<Gdiplus::Graphics> graphics;
};

} // namespace

CString FormatDesignerValueText(double value, double displayMin, double displayMax, int decimals,
                                const std::string& suffix)
{
    return FormatDisplayValue(displayMin + value * (displayMax - displayMin), decimals,
                              CString(suffix.c_str()));
}

std::vector<CString> ToWideStringList(const std::vector<std::string>& texts)
{
    std::vector<CString> wide;
    wide.reserve(texts.size());
    for (const std::string& text : texts)
    {
        wide.emplace_back(text.c_str());
    }
    return wide;
}

ControlDrawState MakeCatalogDrawState(const ControlCatalogEntry& entry)
{
    ControlDrawState state;
    state.label = CString(entry.kindName.c_str());
    state.value = 0.5;
    state.secondaryValue = 0.72;
    state.accentColor = kDefaultAccent;
    state.backgroundColor = kDesignerBackground;
    state.valueText = L"50%";
    return state;
}

ControlDrawState MakePlacedItemDrawState(const DesignerItem& item)
{
    ControlDrawState state;
    state.label = CString((item.label.empty() ? item.internalName : item.label).c_str());
    state.secondaryText = CString(item.secondaryText.c_str());
    state.toolTip = CString(item.toolTip.c_str());
    state.value = item.value;
    state.secondaryValue = item.secondaryValue;
    state.drawBorder = item.drawBorder;
    state.drawBackground = item.drawBackground;
    state.accentColor = item.accentColor;
    state.backgroundColor = kDesignerBackground;
    state.valueText = FormatDesignerValueText(item.value, item.displayMin, item.displayMax,
                                              item.displayDecimals, item.displaySuffix);
    return state;
}

DesignerPaintArguments KindPreviewArguments(const ControlCatalogEntry& entry)
{
    DesignerPaintArguments args;
    args.state = MakeCatalogDrawState(entry);
    args.sampleLook = true;
    ControlDrawState& state = args.state;
    switch (static_cast<ControlKind>(entry.kind))
    {
    case ControlKind::TextTitle:
        state.label = L"Section Title";
        FlagsOff(state);
        break;
    case ControlKind::TextCaption:
        state.label = L"Small description";
        FlagsOff(state);
        break;
    case ControlKind::TextCaptionBlock:
        state.label = L"Details";
        state.toolTip = L"Short supporting text.";
        FlagsOff(state);
        break;
    case ControlKind::TextLabelStrip:
        state.label = L"Text Label";
        FlagsOff(state);
        break;
    case ControlKind::ValueReadout:
        state.label = L"Readout";
        args.displayText = L"12.3 dB";
        break;
    case ControlKind::TextBlock:
        state.label = L"Title";
        state.toolTip = L"Wrapped text block.\r\nSecond line.";
        FlagsOff(state);
        break;
    case ControlKind::StereoFieldGraph:
        SetCardTexts(args, L"Stereo Field", L"Polar stereo graph", 12, 34);
        break;
    case ControlKind::CorrelationMeter:
        SetCardTexts(args, L"Correlation", L"-1 to +1 stereo phase", 18, 40);
        break;
    case ControlKind::Goniometer:
        SetCardTexts(args, L"Goniometer", L"L/R stereo shape scope", 18, 40);
        break;
    case ControlKind::PeakSymmetryGraph:
        SetCardTexts(args, L"Peak Symmetry", L"+/- peak balance view", 18, 40);
        break;
    case ControlKind::CompressorMeter:
        SetCardTexts(args, L"Compressor GR", L"Dynamics gain reduction", 18, 40);
        break;
    case ControlKind::HorizontalDivider:
    case ControlKind::VerticalDivider:
        FlagsOff(state);
        break;
    case ControlKind::NeedleMeter:
        args.meterMin = -20.0;
        args.meterMax = 3.0;
        break;
    case ControlKind::SevenSegmentDisplay:
        state.label = L"Readout";
        args.displayText = L"-9.8";
        state.valueText = args.displayText;
        break;
    case ControlKind::NixieDisplay:
        state.label = L"Counter";
        args.displayText = L"1234";
        break;
    case ControlKind::OutputMeter:
        state.label = L"Out";
        args.meterMin = -60.0;
        args.meterMax = 0.0;
        break;
    case ControlKind::SteppedKnob:
    case ControlKind::SmallSteppedKnob:
        if (entry.kind == static_cast<int>(ControlKind::SteppedKnob))
        {
            state.secondaryText = L"Mode";
        }
        state.valueText = L"C";
        args.steps.stepText = state.valueText;
        args.steps.selectedIndex = 2;
        args.steps.stepCount = kSteppedKnobSteps;
        break;
    case ControlKind::MenuBar:
        args.segments.selectedIndex = 0;
        args.segments.count = 2;
        args.segments.labels = kMenuBarLabels;
        break;
    case ControlKind::SegmentSwitch:
        state.label = L"Focus";
        args.segments.selectedIndex = 1;
        args.segments.count = 3;
        args.segments.labels = kSegmentLabels;
        break;
    case ControlKind::ToggleSwitch:
        state.label = L"Bypass";
        args.toggleOn = true;
        break;
    case ControlKind::ActionButton:
        state.label = L"Action";
        break;
    case ControlKind::PanelLight:
        state.label.Empty();
        state.value = 1.0;
        state.drawBorder = false;
        break;
    case ControlKind::RoundTransportButton:
        state.label.Empty();
        args.glyph = 0;
        break;
    case ControlKind::ABMonitorSwitch:
        state.label = L"MONITOR";
        break;
    default: // the knobs, sliders and unknown kinds take the sample unchanged
        break;
    }
    return args;
}

DesignerPaintArguments PlacedItemArguments(const DesignerItem& item)
{
    DesignerPaintArguments args;
    args.state = MakePlacedItemDrawState(item);
    ControlDrawState& state = args.state;
    const bool bipolar = item.valueMode == 2;
    args.masterKnob.bipolar = bipolar;
    args.lmtKnob.bipolar = bipolar;
    args.smallKnob.bipolar = bipolar;
    args.sliderMode = bipolar ? 1 : 0;
    args.meterMin = -60.0;
    args.meterMax = 0.0;
    const CString textValue(item.textValue.c_str());
    switch (item.kind)
    {
    case ControlKind::ValueReadout:
        args.displayText = textValue.IsEmpty() ? CString(L"12.3 dB") : textValue;
        break;
    case ControlKind::NeedleMeter:
        args.meterMin = item.displayMin;
        args.meterMax = item.displayMax <= item.displayMin ? 3.0 : item.displayMax;
        break;
    case ControlKind::SevenSegmentDisplay:
        args.displayText = textValue.IsEmpty() ? CString(L"-9.8") : textValue;
        state.valueText = args.displayText;
        break;
    case ControlKind::NixieDisplay:
        args.displayText = textValue.IsEmpty() ? CString(L"1234") : textValue;
        state.valueText = args.displayText;
        break;
    case ControlKind::SteppedKnob:
    case ControlKind::SmallSteppedKnob:
        // The knob prints its step text: the selected step's label when there
        // is one, else the formatted value.
        args.steps.selectedIndex = item.selectedIndex;
        args.steps.stepCount = PlacedStepCount(item, kSteppedKnobSteps);
        if (item.selectedIndex >= 0 &&
            static_cast<size_t>(item.selectedIndex) < item.stepLabels.size())
        {
            state.valueText = CString(item.stepLabels[size_t(item.selectedIndex)].c_str());
        }
        args.steps.stepText = state.valueText;
        break;
    case ControlKind::MenuBar:
        PlaceSegments(args, item, kMenuBarLabels);
        break;
    case ControlKind::SegmentSwitch:
        PlaceSegments(args, item, kSegmentLabels);
        break;
    case ControlKind::ToggleSwitch:
        args.toggleOn = item.toggleValue;
        break;
    case ControlKind::PanelLight:
        state.label.Empty();
        break;
    case ControlKind::RoundTransportButton:
        state.label.Empty();
        args.glyph = ParseTransportGlyph(textValue);
        break;
    case ControlKind::ABMonitorSwitch:
        args.monitor.state = item.selectedIndex > 0 ? 1 : 0;
        break;
    default:
        break;
    }
    return args;
}

void DrawKindPreview(Gdiplus::Graphics& graphics, const RECT& rect,
                     const ControlCatalogEntry& entry)
{
    PaintKind(graphics, rect, entry.kind, KindPreviewArguments(entry));
}

void DrawPlacedItem(Gdiplus::Graphics& graphics, const RECT& rect, const DesignerItem& item)
{
    PaintKind(graphics, rect, static_cast<int>(item.kind), PlacedItemArguments(item));
}

RECT KindIconTarget(const RECT& rect, int width, int height)
{
    const int rw = Width(rect);
    const int rh = Height(rect);
    if (rw <= 0 || rh <= 0 || width < 1 || height < 1)
    {
        return rect;
    }
    const double s = std::min(double(rw) / width, double(rh) / height);
    const int w = static_cast<int>(s * width);
    const int h = static_cast<int>(s * height);
    const int left = rect.left + (rw - w) / 2;
    const int top = rect.top + (rh - h) / 2;
    return RECT{left, top, left + w, top + h};
}

void DrawKindIcon(Gdiplus::Graphics& graphics, const RECT& rect, const ControlCatalogEntry& entry)
{
    const RECT target = KindIconTarget(rect, entry.width, entry.height);
    if (!IsKnownKind(entry.kind) || Width(target) <= 0 || Height(target) <= 0)
    {
        return;
    }
    const int width = entry.width >= 1 ? entry.width : Width(target);
    const int height = entry.height >= 1 ? entry.height : Height(target);
    OffscreenPicture picture(width, height);
    if (!picture.Usable())
    {
        return;
    }
    DrawKindPreview(*picture.graphics, RECT{0, 0, width, height}, entry);
    graphics.DrawImage(&picture.bitmap,
                       Gdiplus::Rect(target.left, target.top, Width(target), Height(target)));
}

void DrawPlacedItemBuffered(Gdiplus::Graphics& graphics, const RECT& rect, const DesignerItem& item)
{
    if (!IsKnownKind(static_cast<int>(item.kind)) || Width(rect) <= 0 || Height(rect) <= 0)
    {
        return;
    }
    OffscreenPicture picture(Width(rect), Height(rect));
    if (!picture.Usable())
    {
        return;
    }
    DrawPlacedItem(*picture.graphics, RECT{0, 0, Width(rect), Height(rect)}, item);
    graphics.DrawImage(&picture.bitmap, int(rect.left), int(rect.top));
}
