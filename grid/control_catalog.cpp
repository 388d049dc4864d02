#include "grid/control_catalog.h"

#include "grid/control_factory.h"

#include <array>

namespace
{

constexpr std::array<ControlKind, kControlKindCount> kPaletteOrder = {
    ControlKind::ABMonitorSwitch,
    ControlKind::MasterKnob,
    ControlKind::MasterKnobLMT,
    ControlKind::SmallKnob,
    ControlKind::TextTitle,
    ControlKind::TextCaption,
    ControlKind::TextCaptionBlock,
    ControlKind::TextLabelStrip,
    ControlKind::ValueReadout,
    ControlKind::TextBlock,
    ControlKind::StereoFieldGraph,
    ControlKind::CorrelationMeter,
    ControlKind::Goniometer,
    ControlKind::CompressorMeter,
    ControlKind::PeakSymmetryGraph,
    ControlKind::HorizontalDivider,
    ControlKind::VerticalDivider,
    ControlKind::NeedleMeter,
    ControlKind::SevenSegmentDisplay,
    ControlKind::NixieDisplay,
    ControlKind::VerticalSlider,
    ControlKind::HorizontalSlider,
    ControlKind::OutputMeter,
    ControlKind::SteppedKnob,
    ControlKind::SmallSteppedKnob,
    ControlKind::MenuBar,
    ControlKind::SegmentSwitch,
    ControlKind::ToggleSwitch,
    ControlKind::ActionButton,
    ControlKind::PanelLight,
    ControlKind::RoundTransportButton,
};

} // namespace

ControlCatalogEntry MakeControlCatalogEntry(int kind, std::unique_ptr<CBaseControlWnd> control)
{
    ControlCatalogEntry entry;
    entry.kind = kind;
    if (!control)
    {
        return entry;
    }
    const CSize span = control->GetGridSpan();
    const CSize size = control->GetPreferredSize();
    entry.kindName = control->GetKindName();
    entry.spanX = span.cx;
    entry.spanY = span.cy;
    entry.width = size.cx;
    entry.height = size.cy;
    return entry;
}

std::vector<ControlCatalogEntry> BuildControlCatalog()
{
    std::vector<ControlCatalogEntry> catalog;
    catalog.reserve(kPaletteOrder.size());
    for (const ControlKind kind : kPaletteOrder)
    {
        ControlItem item;
        item.kind = kind;
        catalog.push_back(
            MakeControlCatalogEntry(static_cast<int>(kind), CreateControlForKind(item)));
    }
    return catalog;
}
