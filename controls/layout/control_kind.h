#pragma once

#include <array>
#include <string>
#include <string_view>

// The 31 kinds of control a layout can name. Records and files hold the number;
// any int converts to a ControlKind, so a value outside 0 to 30 can reach every
// function below and is handled there.
enum class ControlKind : int
{
    MasterKnob = 0,
    SmallKnob = 1,
    TextTitle = 2,
    TextCaption = 3,
    TextCaptionBlock = 4,
    TextLabelStrip = 5,
    ValueReadout = 6,
    TextBlock = 7,
    StereoFieldGraph = 8,
    CorrelationMeter = 9,
    Goniometer = 10,
    PeakSymmetryGraph = 11,
    HorizontalDivider = 12,
    VerticalDivider = 13,
    NeedleMeter = 14,
    SevenSegmentDisplay = 15,
    NixieDisplay = 16,
    VerticalSlider = 17,
    HorizontalSlider = 18,
    OutputMeter = 19,
    SteppedKnob = 20,
    SmallSteppedKnob = 21,
    MenuBar = 22,
    SegmentSwitch = 23,
    ToggleSwitch = 24,
    ActionButton = 25,
    PanelLight = 26,
    RoundTransportButton = 27,
    ABMonitorSwitch = 28,
    MasterKnobLMT = 29,
    CompressorMeter = 30,
};

inline constexpr int kControlKindCount = 31;

// One row per kind, in kind order: the string a layout file stores, the class
// the grid's factory creates, and the internal kind name that class's creator
// stores in the control (and the designer gives a new item).
struct ControlKindInfo
{
    ControlKind kind;
    std::string_view kindString;
    std::string_view className;
    std::string_view kindName;
};

// clang-format off
inline constexpr std::array<ControlKindInfo, kControlKindCount> kControlKinds = {{
    {ControlKind::MasterKnob,           "master_knob",            "CMasterKnobWnd",               "master knob"},
    {ControlKind::SmallKnob,            "small_knob",             "CSmallKnobWnd",                "small knob"},
    {ControlKind::TextTitle,            "text_title",             "CTextTitleWnd",                "text title"},
    {ControlKind::TextCaption,          "text_caption",           "CTextCaptionWnd",              "text caption"},
    {ControlKind::TextCaptionBlock,     "text_caption_block",     "CTextCaptionBlockWnd",         "text caption block"},
    {ControlKind::TextLabelStrip,       "text_label_strip",       "CTextLabelStripWnd",           "text label"},
    {ControlKind::ValueReadout,         "value_readout",          "CValueReadoutWnd",             "value readout"},
    {ControlKind::TextBlock,            "text_block",             "CTextBlockWnd",                "text block"},
    {ControlKind::StereoFieldGraph,     "stereo_field_graph",     "CStereoFieldGraphControlWnd",  "stereo field graph"},
    {ControlKind::CorrelationMeter,     "correlation_meter",      "CCorrelationMeterControlWnd",  "correlation meter"},
    {ControlKind::Goniometer,           "goniometer",             "CGoniometerControlWnd",        "goniometer"},
    // The one kind name written with underscores.
    {ControlKind::PeakSymmetryGraph,    "peak_symmetry_graph",    "CPeakSymmetryGraphControlWnd", "peak_symmetry_graph"},
    {ControlKind::HorizontalDivider,    "horizontal_divider",     "CHorizontalDividerWnd",        "horizontal divider"},
    {ControlKind::VerticalDivider,      "vertical_divider",       "CVerticalDividerWnd",          "vertical divider"},
    {ControlKind::NeedleMeter,          "needle_meter",           "CNeedleMeterWnd",              "needle meter"},
    {ControlKind::SevenSegmentDisplay,  "seven_segment_display",  "CSevenSegmentDisplayWnd",      "seven segment display"},
    {ControlKind::NixieDisplay,         "nixie_display",          "CNixieDisplayWnd",             "nixie display"},
    {ControlKind::VerticalSlider,       "vertical_slider",        "CVerticalSliderWnd",           "vertical slider"},
    {ControlKind::HorizontalSlider,     "horizontal_slider",      "CHorizontalSliderWnd",         "horizontal slider"},
    {ControlKind::OutputMeter,          "output_meter",           "COutputMeterWnd",              "output meter"},
    {ControlKind::SteppedKnob,          "stepped_knob",           "CSteppedKnobWnd",              "stepped knob"},
    {ControlKind::SmallSteppedKnob,     "small_stepped_knob",     "CSmallSteppedKnobWnd",         "small stepped knob"},
    {ControlKind::MenuBar,              "menu_bar",               "CMenuBarWnd",                  "menu bar"},
    {ControlKind::SegmentSwitch,        "segment_switch",         "CSegmentSwitchWnd",            "segment switch"},
    {ControlKind::ToggleSwitch,         "toggle_switch",          "CToggleSwitchWnd",             "toggle switch"},
    {ControlKind::ActionButton,         "action_button",          "CActionButtonWnd",             "action button"},
    {ControlKind::PanelLight,           "panel_light",            "CPanelLightWnd",               "panel light"},
    {ControlKind::RoundTransportButton, "round_transport_button", "CRoundTransportButtonWnd",     "round transport"},
    {ControlKind::ABMonitorSwitch,      "ab_monitor_switch",      "CABMonitorSwitchWnd",          "ab monitor"},
    {ControlKind::MasterKnobLMT,        "master_knob_lmt",        "CMasterKnobLMTWnd",            "master knob lmt"},
    {ControlKind::CompressorMeter,      "compressor_meter",       "CCompressorMeterControlWnd",   "compressor meter"},
}};
// clang-format on

// The kind's row, or null for a value outside 0 to 30.
const ControlKindInfo* FindControlKindInfo(ControlKind kind);

// The kind string of the table; a value outside 0 to 30 gives "small_knob".
std::string ControlKindToString(ControlKind kind);

// True, with `out` set, only when `text` is one of the 31 kind strings exactly
// (case-sensitive, whole string); `out` is untouched otherwise.
bool ControlKindFromString(const std::string& text, ControlKind& out);
