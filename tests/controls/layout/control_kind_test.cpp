#include "controls/layout/control_kind.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

TEST(ControlKind, EveryKindReadsBackFromItsOwnString)
{
    std::set<std::string> seen;
    for (int number = 0; number < kControlKindCount; ++number)
    {
        const ControlKind kind = static_cast<ControlKind>(number);
        const std::string text = ControlKindToString(kind);
        EXPECT_TRUE(seen.insert(text).second) << "two kinds share \"" << text << "\"";
        EXPECT_EQ(text.find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string::npos)
            << "kind strings are snake_case: " << text;

        ControlKind readBack = ControlKind::MasterKnob;
        ASSERT_TRUE(ControlKindFromString(text, readBack)) << text;
        EXPECT_EQ(static_cast<int>(readBack), number) << text;
        ASSERT_NE(FindControlKindInfo(kind), nullptr);
        EXPECT_EQ(FindControlKindInfo(kind)->kind, kind);
    }
}

TEST(ControlKind, TableKeepsTheNamesLayoutFilesAndCreatorsUse)
{
    struct Case
    {
        ControlKind kind;
        const char* kindString;
        const char* className;
        const char* kindName;
    };
    // The ends of the table and the rows whose kind name is not simply the kind
    // string with spaces.
    const Case cases[] = {
        {ControlKind::MasterKnob, "master_knob", "CMasterKnobWnd", "master knob"},
        {ControlKind::TextLabelStrip, "text_label_strip", "CTextLabelStripWnd", "text label"},
        {ControlKind::PeakSymmetryGraph, "peak_symmetry_graph", "CPeakSymmetryGraphControlWnd",
         "peak_symmetry_graph"},
        {ControlKind::RoundTransportButton, "round_transport_button", "CRoundTransportButtonWnd",
         "round transport"},
        {ControlKind::ABMonitorSwitch, "ab_monitor_switch", "CABMonitorSwitchWnd", "ab monitor"},
        {ControlKind::CompressorMeter, "compressor_meter", "CCompressorMeterControlWnd",
         "compressor meter"},
    };
    for (const Case& c : cases)
    {
        const ControlKindInfo* info = FindControlKindInfo(c.kind);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->kindString, c.kindString);
        EXPECT_EQ(info->className, c.className);
        EXPECT_EQ(info->kindName, c.kindName);
    }
    EXPECT_EQ(static_cast<int>(ControlKind::CompressorMeter), kControlKindCount - 1);
}

TEST(ControlKind, NumbersOutsideTheListWriteAsSmallKnob)
{
    for (int number : {-1, kControlKindCount, INT_MAX, INT_MIN})
    {
        const ControlKind kind = static_cast<ControlKind>(number);
        EXPECT_EQ(FindControlKindInfo(kind), nullptr) << number;
        const std::string text = ControlKindToString(kind);
        EXPECT_EQ(text, "small_knob") << number;
        ControlKind readBack = ControlKind::MasterKnob;
        ASSERT_TRUE(ControlKindFromString(text, readBack));
        EXPECT_EQ(readBack, ControlKind::SmallKnob);
    }
}

TEST(ControlKind, OnlyAnExactWholeKindStringIsFound)
{
    const std::string rejected[] = {
        "",
        "Master_Knob",
        "MASTER_KNOB",
        "master knob",
        " master_knob",
        "master_knob ",
        "master",
        "master_knobs",
        "5",
        std::string("master_knob\0x", 13),
    };
    for (const std::string& text : rejected)
    {
        ControlKind out = ControlKind::Goniometer;
        EXPECT_FALSE(ControlKindFromString(text, out)) << "\"" << text << "\"";
        EXPECT_EQ(out, ControlKind::Goniometer) << "a failed look-up changed its output";
    }
}
