#include "addons/kit/addon_parameters.h"

#include "addons/kit/clamp_range.h"

#include <cmath>
#include <stdexcept>

namespace
{

// A toggle is on for stored values from here up.
constexpr double kToggleOnThreshold = 0.5;

double StoredValue(const AddonParamDef& def, double value)
{
    if (def.kind == kAddonParamToggle)
    {
        return value >= kToggleOnThreshold ? 1.0 : 0.0;
    }
    return ClampToRange(value, def.minValue, def.maxValue);
}

} // namespace

AddonParameters::AddonParameters(std::span<const AddonParamDef> table) : m_table(table)
{
    if (table.size() > kMaxAddonParameters)
    {
        throw std::length_error("Add-on parameter table is too long");
    }
    for (std::size_t i = 0; i < table.size(); ++i)
    {
        m_values[i] = StoredValue(table[i], table[i].defaultValue);
    }
}

std::vector<AddonParamSpec> AddonParameters::Specs() const
{
    std::vector<AddonParamSpec> specs;
    specs.reserve(m_table.size());
    for (const AddonParamDef& def : m_table)
    {
        specs.push_back({def.id, def.label, def.kind, def.minValue, def.maxValue, def.defaultValue,
                         def.step, def.unit});
    }
    return specs;
}

bool AddonParameters::Set(std::string_view id, double value)
{
    const std::size_t index = Find(id);
    if (index == m_table.size() || std::isnan(value))
    {
        return false;
    }
    m_values[index] = StoredValue(m_table[index], value);
    return true;
}

bool AddonParameters::Get(std::string_view id, double& out) const
{
    const std::size_t index = Find(id);
    if (index == m_table.size())
    {
        return false;
    }
    out = m_values[index];
    return true;
}

std::size_t AddonParameters::Find(std::string_view id) const
{
    for (std::size_t i = 0; i < m_table.size(); ++i)
    {
        if (id == m_table[i].id)
        {
            return i;
        }
    }
    return m_table.size();
}
