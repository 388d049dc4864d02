#include "engine/diagnostic_log.h"

#include <cstdio>

std::string FormatDiagnosticNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}
