#pragma once

#include "engine/chain/audio_processor.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// One row of an add-on's parameter table, kept as a constant in the add-on's
// source. A toggle is declared with range 0..1, step 1 and an empty unit.
struct AddonParamDef
{
    const char* id;
    const char* label;
    int kind;
    double minValue;
    double maxValue;
    double defaultValue;
    double step;
    const char* unit;
};

// The largest parameter table an add-on may have.
inline constexpr std::size_t kMaxAddonParameters = 16;

// The current values of an add-on's parameters, stored by the rules every
// add-on shares: ids compare exactly; a continuous value is clamped into its
// range; a toggle is on from 0.5 and reads back as 1.0 or 0.0; an unknown id or
// a value that is not a number is refused and changes nothing.
//
// An add-on does not use this class directly: AddonBase (addons/kit/addon_base.h)
// keeps one built from the add-on's table and answers parameters, setParameter
// and getParameter with it, so the add-on only declares the table and reads the
// values by table index in process (a whole add-on is shown there):
//
//     enum Param { Amount, GainDb };
//     constexpr std::array<AddonParamDef, 2> kTable{{
//         {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.5, 0.01, ""},
//         {"gain_db", "Gain", kAddonParamContinuous, 0.0, 6.0, 3.0, 0.1, "dB"},
//     }};
//     ExampleAddon::ExampleAddon() : AddonBase(kIdentity, kTable) {}
//     ... const double a = ClampToRange(Value(Amount), 0.0, 1.0);
class AddonParameters
{
public:
    // The table must outlive the object (a constant of the add-on's source
    // does). Every value starts at its default. Throws std::length_error for a
    // table longer than kMaxAddonParameters.
    explicit AddonParameters(std::span<const AddonParamDef> table);

    // The table as parameters reports it: the table's defaults, not the
    // current values.
    std::vector<AddonParamSpec> Specs() const;
    bool Set(std::string_view id, double value);
    bool Get(std::string_view id, double& out) const;

    double Value(std::size_t index) const { return m_values[index]; }
    bool IsOn(std::size_t index) const { return m_values[index] != 0.0; }

private:
    // Index of the id in the table, or the table's size when it has none.
    std::size_t Find(std::string_view id) const;

    std::span<const AddonParamDef> m_table;
    std::array<double, kMaxAddonParameters> m_values{};
};
