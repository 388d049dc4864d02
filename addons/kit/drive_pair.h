#pragma once

#include "engine/decibels.h"

// The gain a waveshaper drives its input into the curve with, and the trim that
// brings the shaped level back down afterwards. The trim takes back only a
// share of the drive, so the louder a setting drives, the louder it comes out.
struct DrivePair
{
    double gain; // 10^(amount * driveDb / 20)
    double trim; // 10^(-trimShare * amount * driveDb / 20)
};

// For an amount already limited to 0..1. At drive 0 (or amount 0) both are
// exactly 1.
inline DrivePair DriveAndTrim(double amount, double driveDb, double trimShare)
{
    const double drivenDb = amount * driveDb;
    return {DbToGain(drivenDb), DbToGain(-trimShare * drivenDb)};
}
