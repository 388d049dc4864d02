#include "platform/win32/dialog_template.h"

#include "base/unicode_text.h"
#include "platform/win32/control_styles.h"
#include "platform/win32/resource_data.h"
#include "platform/win32/win_styles.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

namespace brvl::win32
{

namespace
{

struct NamedStyle
{
    std::string_view name;
    DWORD value;
};

constexpr NamedStyle kStyles[] = {
    {"WS_POPUP", WS_POPUP},
    {"WS_CHILD", WS_CHILD},
    {"WS_VISIBLE", WS_VISIBLE},
    {"WS_DISABLED", WS_DISABLED},
    {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
    {"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
    {"WS_CAPTION", WS_CAPTION},
    {"WS_BORDER", WS_BORDER},
    {"WS_VSCROLL", WS_VSCROLL},
    {"WS_SYSMENU", WS_SYSMENU},
    {"WS_THICKFRAME", WS_THICKFRAME},
    {"WS_GROUP", WS_GROUP},
    {"WS_TABSTOP", WS_TABSTOP},
    {"DS_MODALFRAME", DS_MODALFRAME},
    {"DS_SETFONT", DS_SETFONT},
    {"DS_CENTER", DS_CENTER},
    {"BS_PUSHBUTTON", BS_PUSHBUTTON},
    {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
    {"BS_CHECKBOX", BS_CHECKBOX},
    {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
    {"BS_RADIOBUTTON", BS_RADIOBUTTON},
    {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
    {"ES_LEFT", ES_LEFT},
    {"ES_MULTILINE", ES_MULTILINE},
    {"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
    {"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
    {"ES_READONLY", ES_READONLY},
    {"ES_WANTRETURN", ES_WANTRETURN},
    {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
    {"SS_LEFT", SS_LEFT},
    {"SS_CENTER", SS_CENTER},
    {"SS_RIGHT", SS_RIGHT},
    {"SS_ICON", SS_ICON},
    {"SS_BLACKFRAME", SS_BLACKFRAME},
    {"SS_NOPREFIX", SS_NOPREFIX},
    {"SS_NOTIFY", SS_NOTIFY},
    {"TBS_HORZ", TBS_HORZ},
    {"TBS_BOTH", TBS_BOTH},
    {"TBS_NOTICKS", TBS_NOTICKS},
};

std::string Describe(std::string_view where, std::string_view what)
{
    return "dialog template: " + std::string(where) + ": " + std::string(what);
}

DWORD ReadStyle(const nlohmann::json& value, std::string_view where)
{
    if (value.is_null())
    {
        return 0;
    }
    if (value.is_number_unsigned())
    {
        const auto v = value.get<std::uint64_t>();
        if (v > std::numeric_limits<DWORD>::max())
        {
            throw std::runtime_error(Describe(where, "style out of range"));
        }
        return static_cast<DWORD>(v);
    }
    if (!value.is_array())
    {
        throw std::runtime_error(Describe(where, "style must be a list of names or a number"));
    }
    DWORD style = 0;
    for (const auto& item : value)
    {
        if (!item.is_string())
        {
            throw std::runtime_error(Describe(where, "style names must be strings"));
        }
        const std::string name = item.get<std::string>();
        const std::optional<DWORD> v = StyleValueOf(name);
        if (!v)
        {
            throw std::runtime_error(Describe(where, "unknown style " + name));
        }
        style |= *v;
    }
    return style;
}

// Dialog units are 16-bit in a Windows template; anything beyond is a broken file.
int ReadUnits(const nlohmann::json& value, std::string_view where, bool allowNegative)
{
    if (!value.is_number_integer())
    {
        throw std::runtime_error(Describe(where, "dialog units must be integers"));
    }
    const auto v = value.get<std::int64_t>();
    if (v > 32767 || v < (allowNegative ? -32768 : 0))
    {
        throw std::runtime_error(Describe(where, "dialog units out of range"));
    }
    return static_cast<int>(v);
}

std::wstring ReadText(const nlohmann::json& object, const char* key, std::string_view where)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
    {
        return {};
    }
    if (!it->is_string())
    {
        throw std::runtime_error(Describe(where, std::string(key) + " must be a string"));
    }
    return Utf8ToWide(it->get<std::string>());
}

DialogControlTemplate ReadControl(const nlohmann::json& c, size_t index)
{
    const std::string where = "control " + std::to_string(index);
    if (!c.is_object())
    {
        throw std::runtime_error(Describe(where, "must be an object"));
    }
    DialogControlTemplate control;
    control.className = ReadText(c, "class", where);
    if (control.className.empty())
    {
        throw std::runtime_error(Describe(where, "has no class"));
    }
    control.text = ReadText(c, "text", where);
    if (const auto id = c.find("id"); id != c.end())
    {
        if (!id->is_number_integer() || id->get<std::int64_t>() < -1 ||
            id->get<std::int64_t>() > 65535)
        {
            throw std::runtime_error(Describe(where, "id must be -1 or 0..65535"));
        }
        control.id = id->get<int>();
    }
    const auto rect = c.find("rect");
    if (rect == c.end() || !rect->is_array() || rect->size() != 4)
    {
        throw std::runtime_error(Describe(where, "rect must be [x, y, width, height]"));
    }
    control.x = ReadUnits((*rect)[0], where, true);
    control.y = ReadUnits((*rect)[1], where, true);
    control.cx = ReadUnits((*rect)[2], where, false);
    control.cy = ReadUnits((*rect)[3], where, false);
    control.style = ReadStyle(c.value("style", nlohmann::json()), where) | WS_CHILD;
    const auto hidden = c.find("hidden");
    if (hidden == c.end() || !hidden->is_boolean() || !hidden->get<bool>())
    {
        control.style |= WS_VISIBLE;
    }
    return control;
}

} // namespace

std::optional<DWORD> StyleValueOf(std::string_view name)
{
    for (const NamedStyle& s : kStyles)
    {
        if (s.name == name)
        {
            return s.value;
        }
    }
    return std::nullopt;
}

DialogTemplate ParseDialogTemplate(std::string_view json)
{
    const nlohmann::json root = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object())
    {
        throw std::runtime_error(Describe("root", "not a JSON object"));
    }
    DialogTemplate t;
    t.caption = ReadText(root, "caption", "root");
    const auto size = root.find("size");
    if (size == root.end() || !size->is_array() || size->size() != 2)
    {
        throw std::runtime_error(Describe("root", "size must be [width, height]"));
    }
    t.cx = ReadUnits((*size)[0], "size", false);
    t.cy = ReadUnits((*size)[1], "size", false);
    t.style = ReadStyle(root.value("style", nlohmann::json()), "root");
    if (const auto font = root.find("font"); font != root.end())
    {
        if (!font->is_object())
        {
            throw std::runtime_error(Describe("font", "must be an object"));
        }
        const std::wstring face = ReadText(*font, "face", "font");
        if (!face.empty())
        {
            t.fontFace = face;
        }
        if (const auto points = font->find("points"); points != font->end())
        {
            t.fontPoints = ReadUnits(*points, "font points", false);
            if (t.fontPoints == 0)
            {
                throw std::runtime_error(Describe("font", "points must be above 0"));
            }
        }
    }
    if (const auto controls = root.find("controls"); controls != root.end())
    {
        if (!controls->is_array())
        {
            throw std::runtime_error(Describe("controls", "must be a list"));
        }
        for (size_t i = 0; i < controls->size(); ++i)
        {
            t.controls.push_back(ReadControl((*controls)[i], i));
        }
    }
    return t;
}

std::optional<DialogTemplate> LoadDialogTemplate(UINT id)
{
    const std::optional<std::string_view> bytes = FindResourceData("dialog", id);
    if (!bytes)
    {
        return std::nullopt;
    }
    try
    {
        return ParseDialogTemplate(*bytes);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "BRVL: dialog %u: %s\n", id, e.what());
        return std::nullopt;
    }
}

} // namespace brvl::win32
