#include "platform/mfc/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace
{

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// The text without the blanks around it, narrowed; nullopt when a character
// cannot be part of a number.
std::optional<std::string> Narrowed(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front()))
    {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back()))
    {
        text.remove_suffix(1);
    }
    std::string out;
    for (wchar_t c : text)
    {
        if (c > 0x7F)
        {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(c));
    }
    if (!out.empty() && out[0] == '+')
    {
        out.erase(0, 1); // from_chars takes no plus sign
        if (!out.empty() && (out[0] == '-' || out[0] == '+'))
        {
            return std::nullopt;
        }
    }
    if (out.empty())
    {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<int> ParseWholeInt(std::wstring_view text)
{
    const std::optional<std::string> s = Narrowed(text);
    if (!s)
    {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(s->data(), s->data() + s->size(), value);
    if (error != std::errc() || end != s->data() + s->size())
    {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseWholeDouble(std::wstring_view text)
{
    const std::optional<std::string> s = Narrowed(text);
    if (!s)
    {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(s->data(), s->data() + s->size(), value);
    if (error != std::errc() || end != s->data() + s->size() || !std::isfinite(value))
    {
        return std::nullopt;
    }
    return value;
}
