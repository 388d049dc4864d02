#include "engine/diagnostic_log.h"

#include <cmath>
#include <cstdio>

void WriteDiagnostic(const DiagnosticLog& log, const std::string& line)
{
    if (log)
    {
        log(line);
    }
}

std::string FormatDiagnosticNumber(double value)
{
    // A value that rounds to zero prints as 0.00, never as -0.00.
    if (std::fabs(value) < 0.005)
    {
        value = 0.0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}
