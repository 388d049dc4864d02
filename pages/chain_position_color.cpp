#include "pages/chain_position_color.h"

COLORREF ChainPositionColor(std::string_view position)
{
    static constexpr struct
    {
        std::string_view name;
        COLORREF colour;
    } kColours[] = {
        {"PREMATCH", 0x4874C8},      {"match", 0xD0964A},
        {"POSTMATCHTONE", 0xD2645E}, {"POSTMATCHDYNAMICS", 0xCC5484},
        {"STEREOIMAGE", 0x9A48BC},   {"PRELIMITER", 0x3B3FA5},
        {"stage4", 0x80BE48},
    };
    for (const auto& entry : kColours)
    {
        if (entry.name == position)
        {
            return entry.colour;
        }
    }
    return 0x808080;
}
