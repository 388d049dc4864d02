#pragma once

#include <functional>
#include <string>

// Where a run's diagnostic lines go. The runs compose them for a log that
// writes them nowhere by default; a caller that wants them (a debug channel, a
// test) passes a sink. No run ever depends on them.
using DiagnosticLog = std::function<void(const std::string& line)>;

// Hands the line to the sink when there is one.
void WriteDiagnostic(const DiagnosticLog& log, const std::string& line);

// A number as the diagnostic lines print it: fixed-point, two decimals.
std::string FormatDiagnosticNumber(double value);
