#pragma once

#include "controls/layout/control_item.h"
#include "controls/layout/designer_item.h"
#include "engine/chain/processor_descriptor.h"
#include "engine/settings/parameter_catalog.h"
#include "grid/grid_pack_params.h"

#include <string>
#include <vector>

// The controls of one page and how to pack them. A page read from a layout file
// is packed by the file's cells only (mode 0).
struct ParameterPage
{
    std::vector<ControlItem> items; // in display order
    GridPackParams params;
    bool fromLayoutFile = false;
};

// The stepped controls show no more labels than this; an integer choice with a
// wider range is cut to its first steps.
inline constexpr int kMaxIntegerChoiceSteps = 32;

// A catalogue value as a control position 0..1 (a NaN gives 0).
double NormalizeParameterValue(const ParameterDescriptor& descriptor, double value);

// The automatic control of a catalogue parameter. The catalogue marks no
// parameter bipolar, so every item is unipolar (valueMode 1).
ControlItem MakeParameterItem(const ParameterDescriptor& descriptor);

// The automatic control of an add-on parameter.
ControlItem MakeAddonParameterItem(const AddonParamSpec& spec);

// A layout file's item at its own cells; the label falls back on the parameter
// id, then on the internal kind name.
ControlItem DesignerItemToControlItem(const DesignerItem& designerItem);

// Gives a layout item the value data of a catalogue parameter; kind, texts,
// colours and position stay the layout's.
void BindItemToParameter(ControlItem& item, const ParameterDescriptor& descriptor);

// Fills a layout item of an add-on page: the three text ids take the add-on's
// name, description and best use; an item with a parameter (`spec` not null)
// takes its data; anything else stays as the layout gave it.
void FillAddonInfoItem(ControlItem& item, const ProcessorDescriptor& descriptor,
                       const AddonParamSpec* spec);

// Title, one control per parameter, description and best-use blocks, each
// starting its own band of rows.
std::vector<ControlItem> BuildAutoAddonInfoPage(const ProcessorDescriptor& descriptor);

// "<folder of the executable>/plugins/<page id>.json".
std::wstring GetPluginLayoutPath(const std::string& pageId);

// A mode group's page: from its layout file when that loads, else automatic.
// References the catalogue does not hold are skipped.
ParameterPage BuildParameterPage(const ModeParameterGroup& group, const std::string& pageId,
                                 const GridPackParams& params);

// An add-on's page: from its layout file when that loads, else automatic.
ParameterPage BuildAddonInfoPage(const ProcessorDescriptor& descriptor, const std::string& pageId,
                                 const GridPackParams& params);
