#pragma once

#include "engine/settings/match_setting_table.h"

#include <variant>

// Every field of two MatchSettings equal, the analysis settings included; the
// field table names them all, so a field added later is compared too.
inline bool SameMatchSettings(const MatchSettings& a, const MatchSettings& b)
{
    for (const MatchSettingField& field : kMatchSettingFields)
    {
        if (!std::visit([&](auto member) { return a.*member == b.*member; }, field.member))
        {
            return false;
        }
    }
    return true;
}
