#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/knobs/master_knob_lmt_wnd.h"
#include "controls/knobs/master_knob_wnd.h"
#include "controls/knobs/small_knob_wnd.h"
#include "controls/knobs/stepped_knob_face.h"
#include "controls/layout/designer_item.h"
#include "controls/switches/ab_monitor_switch_wnd.h"
#include "controls/switches/selection_control.h"
#include "grid/control_catalog.h"
#include "platform/gdiplus/gdiplus.h"

#include <string>
#include <vector>

// The designer's pictures of a control kind without a control window: the
// palette's sample of a kind and the grid's placed layout item, each painted by
// the control's own background painter and draw routine from a snapshot the
// designer builds.

// "50%" for 0.5 over 0..100 with no decimals: min + value * (max - min) with
// the decimals (held to 0..6, as the live control holds them) and the suffix.
CString FormatDesignerValueText(double value, double displayMin, double displayMax, int decimals,
                                const std::string& suffix);

// Layout texts are UTF-8, which is also what CString reads from narrow text.
std::vector<CString> ToWideStringList(const std::vector<std::string>& texts);

// The sample snapshot of a kind: its kind name as label, value 0.5, secondary
// 0.72, both draw flags, the default accent and "50%".
ControlDrawState MakeCatalogDrawState(const ControlCatalogEntry& entry);

// An item's own snapshot: its label (else its internal name), texts, values,
// flags, accent and formatted value text.
ControlDrawState MakePlacedItemDrawState(const DesignerItem& item);

// Everything a kind's painters take for one picture: the snapshot, as changed
// for the kind, and the painter's own argument. Only the fields of the kind's
// painter are read.
struct DesignerPaintArguments
{
    ControlDrawState state;
    MasterKnobState masterKnob;
    MasterKnobLMTState lmtKnob; // threshold is the LMT knob's arc fraction
    SmallKnobState smallKnob;
    SteppedKnobState steps; // stepText is what the stepped knobs print
    SegmentSwitchState segments;
    ABMonitorSwitchState monitor;
    double meterMin = 0.0; // needle and output meters, dB
    double meterMax = 0.0;
    int sliderMode = 0; // 1 bipolar
    bool toggleOn = false;
    int glyph = 0;       // 0 play, 1 pause, 2 stop
    CString displayText; // the readout's, seven-segment's and nixie's text
    // Graph cards: the palette's two centred texts (none on a placed item) and
    // how far below the card's top their boxes begin.
    CString cardTitle;
    CString cardSubtitle;
    int cardTitleTop = 18;
    int cardSubtitleTop = 40;
    bool sampleLook = false; // the palette's sample, not a placed item
};

// The arguments of a kind's palette sample, and of a placed item. Pure: what
// the pictures show, readable without painting.
DesignerPaintArguments KindPreviewArguments(const ControlCatalogEntry& entry);
DesignerPaintArguments PlacedItemArguments(const DesignerItem& item);

// The palette sample of the entry's kind, and a placed item, drawn into
// `rect`. A kind outside 0..30 draws nothing.
void DrawKindPreview(Gdiplus::Graphics& graphics, const RECT& rect,
                     const ControlCatalogEntry& entry);
void DrawPlacedItem(Gdiplus::Graphics& graphics, const RECT& rect, const DesignerItem& item);

// Where DrawKindIcon puts the picture of a w x h kind inside `rect`: scaled
// with its aspect kept and centred; `rect` itself when it is empty or the size
// has a side below 1.
RECT KindIconTarget(const RECT& rect, int width, int height);

// The palette's icon: the sample painted off-screen at the kind's preferred
// size and scaled into KindIconTarget.
void DrawKindIcon(Gdiplus::Graphics& graphics, const RECT& rect, const ControlCatalogEntry& entry);

// The grid's item: painted off-screen at rect's size and copied 1:1 to its
// top-left corner. An empty rect draws nothing.
void DrawPlacedItemBuffered(Gdiplus::Graphics& graphics, const RECT& rect,
                            const DesignerItem& item);
