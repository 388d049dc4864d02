#include "addons/eq/tilt_eq.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

// Half the tilt each way of the pivot: at tilt +1, range 8 dB and amount 1
// the lows go down by 4 dB and the highs up by 4 dB; a negative tilt turns
// both round (at 15 kHz by a little less, as the one-pole's low band still
// carries some of the tone there and is now the louder share).
TEST(TiltEq, TiltsLowsAndHighsByHalfTheRangeEach)
{
    struct Case
    {
        double tilt;
        double toneHz;
        double expectedDb;
    };
    const Case cases[] = {
        {1.0, 100.0, -4.0}, {1.0, 15000.0, 4.0}, {-1.0, 100.0, 4.0}, {-1.0, 15000.0, -3.5}};
    const int rate = 48000;
    for (const Case& c : cases)
    {
        const AudioBuffer input = StereoSine(c.toneHz, rate, 1.0, 0.5);
        const AudioBuffer output =
            ProcessedBy<TiltEq>(input, {{"tilt", c.tilt}, {"max_gain_db", 8.0}, {"amount", 1.0}});
        EXPECT_NEAR(ToneGainDb(input, output, c.toneHz, rate / 2), c.expectedDb, 0.5)
            << "tilt " << c.tilt << " at " << c.toneHz << " Hz";
    }
}
