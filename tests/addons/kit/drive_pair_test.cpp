#include "addons/kit/drive_pair.h"

#include <gtest/gtest.h>

#include <cmath>

// Drive and trim are the same number of decibels apart at every setting: the
// trim undoes the trim share of the drive and leaves the rest as a level lift.
TEST(DrivePair, TrimTakesBackItsShareOfTheDrive)
{
    struct Case
    {
        double amount;
        double driveDb;
        double trimShare;
        double gainDb;
    };
    const Case cases[] = {{1.0, 12.0, 0.85, 12.0},
                          {0.5, 12.0, 0.7, 6.0},
                          {0.4, 3.5, 0.82, 1.4},
                          {1.0, 4.0, 0.72, 4.0}};
    for (const Case& c : cases)
    {
        const DrivePair pair = DriveAndTrim(c.amount, c.driveDb, c.trimShare);
        EXPECT_NEAR(20.0 * std::log10(pair.gain), c.gainDb, 1e-12);
        EXPECT_NEAR(20.0 * std::log10(pair.trim), -c.trimShare * c.gainDb, 1e-12);
        EXPECT_NEAR(20.0 * std::log10(pair.gain * pair.trim), (1.0 - c.trimShare) * c.gainDb, 1e-12)
            << "the level a small signal is lifted by";
    }
}

TEST(DrivePair, NoDriveIsUnitGainExactly)
{
    for (double trimShare : {0.7, 0.72, 0.82, 0.85})
    {
        const DrivePair atNoDrive = DriveAndTrim(1.0, 0.0, trimShare);
        const DrivePair atNoAmount = DriveAndTrim(0.0, 12.0, trimShare);
        EXPECT_EQ(atNoDrive.gain, 1.0);
        EXPECT_EQ(atNoDrive.trim, 1.0);
        EXPECT_EQ(atNoAmount.gain, 1.0);
        EXPECT_EQ(atNoAmount.trim, 1.0);
    }
}
