#include "engine/settings/canonical_values.h"

#include "engine/settings/match_setting_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <variant>

namespace
{

// The stored value of each choice of the three integer settings, by index.
struct ChoiceField
{
    int MatchSettings::*member;
    int values[3];
    // true: an index outside the list is clamped into it, and a stored value
    // read back is clamped the same way; false: both fall to the middle choice.
    bool clampIndex;
};

constexpr ChoiceField kChoiceFields[] = {
    {&MatchSettings::smoothingOctaveDenominator, {3, 6, 12}, false},
    {&MatchSettings::limiterMode, {0, 1, 2}, true},
    {&MatchSettings::limiterOversample, {1, 2, 4}, false},
};

constexpr int kMiddleChoice = 1;
constexpr int kLastChoice = 2;

const ChoiceField& ChoiceOf(int MatchSettings::*member)
{
    const auto found =
        std::find_if(std::begin(kChoiceFields), std::end(kChoiceFields),
                     [&](const ChoiceField& field) { return field.member == member; });
    return found != std::end(kChoiceFields) ? *found : kChoiceFields[0];
}

// Only the stored settings are parameters of a setup; the "session" ones are
// analysis settings of a run and no control writes them here.
const MatchSettingField* FindCanonicalField(const std::string& section, const std::string& key)
{
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        if (field.stored && field.catalogSection != nullptr && section == field.catalogSection &&
            key == field.catalogKey)
        {
            return &field;
        }
    }
    return nullptr;
}

double ReadMember(const MatchSettings& settings, double MatchSettings::*member)
{
    return settings.*member;
}

double ReadMember(const MatchSettings& settings, bool MatchSettings::*member)
{
    return settings.*member ? 1.0 : 0.0;
}

double ReadMember(const MatchSettings& settings, int MatchSettings::*member)
{
    const ChoiceField& choice = ChoiceOf(member);
    const int stored = settings.*member;
    const auto found = std::find(std::begin(choice.values), std::end(choice.values), stored);
    if (found != std::end(choice.values))
    {
        return static_cast<double>(found - std::begin(choice.values));
    }
    return choice.clampIndex ? std::clamp(stored, 0, kLastChoice) : kMiddleChoice;
}

void WriteMember(MatchSettings& settings, double MatchSettings::*member, double value)
{
    settings.*member = value;
}

void WriteMember(MatchSettings& settings, bool MatchSettings::*member, double value)
{
    settings.*member = value >= 0.5;
}

void WriteMember(MatchSettings& settings, int MatchSettings::*member, double value)
{
    const ChoiceField& choice = ChoiceOf(member);
    // Rounded as a double, so a huge value cannot overflow an integer.
    const double nearest = std::round(value);
    int index = kMiddleChoice;
    if (choice.clampIndex)
    {
        index = static_cast<int>(std::clamp(nearest, 0.0, static_cast<double>(kLastChoice)));
    }
    else if (nearest >= 0.0 && nearest <= kLastChoice)
    {
        index = static_cast<int>(nearest);
    }
    settings.*member = choice.values[index];
}

} // namespace

bool ReadCanonicalValue(const MatchSettings& settings, const std::string& section,
                        const std::string& key, double& value)
{
    const MatchSettingField* field = FindCanonicalField(section, key);
    if (field == nullptr)
    {
        return false;
    }
    value = std::visit([&](auto member) { return ReadMember(settings, member); }, field->member);
    return true;
}

bool WriteCanonicalValue(MatchSettings& settings, const std::string& section,
                         const std::string& key, double value)
{
    const MatchSettingField* field = FindCanonicalField(section, key);
    if (field == nullptr || !std::isfinite(value))
    {
        return false;
    }
    std::visit([&](auto member) { WriteMember(settings, member, value); }, field->member);
    return true;
}

bool MasteringSettings::GetCanonicalValue(const std::string& section, const std::string& key,
                                          double& value) const
{
    return ReadCanonicalValue(match, section, key, value);
}

bool MasteringSettings::SetCanonicalValue(const std::string& section, const std::string& key,
                                          double value)
{
    return WriteCanonicalValue(match, section, key, value);
}
