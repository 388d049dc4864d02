#pragma once

#include <optional>
#include <string_view>

// Numbers typed into dialog fields, read the way the data exchange promises:
// the whole text (blanks around it allowed) must be the number.

// An optional sign and decimal digits, within the range of int.
std::optional<int> ParseWholeInt(std::wstring_view text);
// A decimal number in the C locale ("." as the decimal point, an exponent
// allowed). Decision: infinity and NaN are refused, since no field means them.
std::optional<double> ParseWholeDouble(std::wstring_view text);
