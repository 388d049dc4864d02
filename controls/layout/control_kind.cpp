#include "controls/layout/control_kind.h"

static_assert(
    []
    {
        for (int i = 0; i < kControlKindCount; ++i)
        {
            if (kControlKinds[i].kind != static_cast<ControlKind>(i))
            {
                return false;
            }
        }
        return true;
    }(),
    "the kind table is indexed by kind number");

const ControlKindInfo* FindControlKindInfo(ControlKind kind)
{
    const int index = static_cast<int>(kind);
    if (index < 0 || index >= kControlKindCount)
    {
        return nullptr;
    }
    return &kControlKinds[index];
}

std::string ControlKindToString(ControlKind kind)
{
    const ControlKindInfo* info = FindControlKindInfo(kind);
    if (info == nullptr)
    {
        info = FindControlKindInfo(ControlKind::SmallKnob);
    }
    return std::string(info->kindString);
}

bool ControlKindFromString(const std::string& text, ControlKind& out)
{
    for (const ControlKindInfo& info : kControlKinds)
    {
        if (info.kindString == text)
        {
            out = info.kind;
            return true;
        }
    }
    return false;
}
