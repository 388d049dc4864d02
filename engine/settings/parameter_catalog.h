#pragma once

#include "engine/engine_request.h"

#include <string>
#include <vector>

// How a parameter's value is presented and converted.
enum ParameterKind : int
{
    ParameterNumber = 0,
    ParameterToggle = 1,
    ParameterChoice = 2,
};

// The control a parameter prefers; automatic picks by kind (number: small
// knob, toggle: toggle switch, choice: segment switch).
enum ParameterControlStyle : int
{
    ControlStyleAutomatic = 0,
    ControlStyleHorizontalSlider = 1,
    ControlStyleToggleSwitch = 2,
    ControlStyleSegmentSwitch = 3,
    ControlStyleSteppedKnob = 4,
};

// One user-adjustable engine setting, addressed by section and key
// ("stage2" + "strength" is stage2.strength).
struct ParameterDescriptor
{
    std::string section; // "session", "stage2", "stage3" or "stage4"
    std::string key;
    int kind = ParameterNumber;
    int wide = 0; // 1: the control spans two grid columns
    int controlStyle = ControlStyleAutomatic;
    int previewScope = PreviewStage1; // what a committed change raises in the document
    std::string label;
    std::string description;
    double minValue = 0.0;
    double maxValue = 1.0;
    double defaultValue = 0.0; // a choice's default is an index
    double step = 0.01;
    double displayMin = 0.0; // the engine range as the user sees it (0..1 as 0..100 %)
    double displayMax = 1.0;
    int decimals = 0;
    std::string unit; // suffix of the displayed value
    std::vector<std::string> choices;
};

struct ParameterRef
{
    std::string section;
    std::string key;
};

// The parameters one mode page shows, in display order.
struct ModeParameterGroup
{
    std::string id;
    std::string label;
    std::vector<ParameterRef> parameters;
};

// The fixed catalogue of 15 parameters, built on first use; references stay
// valid until the process ends.
const std::vector<ParameterDescriptor>& GetParameterCatalog();

// Exact, case-sensitive match on both; null when there is none.
const ParameterDescriptor* FindParameterDescriptor(const std::string& section,
                                                   const std::string& key);

// "apprentice", "stage2", "stage3", "stage4".
const std::vector<ModeParameterGroup>& GetModeParameterGroups();

const ModeParameterGroup* FindModeParameterGroup(const std::string& id);

// Normalised control position (0..1) to engine value and back. A position
// outside 0..1 is clamped first, NaN taken as 0; choices round halves away
// from zero to an index within the list.
double ParameterValueFromPosition(const ParameterDescriptor& descriptor, double position);
double ParameterPositionFromValue(const ParameterDescriptor& descriptor, double value);
