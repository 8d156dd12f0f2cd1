// What a plot adds, worked out four channels at once, is what llround gives each channel alone:
// at halves (which the four-channel sum rounds to even, then puts up), next to them, at the
// largest whole numbers it rounds itself and past them, and at what is no colour (NaN,
// negatives, infinity), which count as 0 or go to the one-channel way.

#include "game/plot_adds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<double> channelValues() {
    std::vector<double> vValues = {0, -0.0, -1, 1, 0.25, std::nan(""),
                                   std::numeric_limits<double>::infinity(), 0x1p51 / dBucketUnit,
                                   0x1p52 / dBucketUnit, 1e300};
    for (double dWhole : {0.0, 1.0, 2.0, 7.0, 1044479.0, 3e9, 0x1p50})
        for (double dHalf : {dWhole + 0.5, dWhole + 0.49999999, dWhole + 0.50000001}) {
            const double d = dHalf / dBucketUnit;
            vValues.insert(vValues.end(), {d, std::nextafter(d, 0.0), std::nextafter(d, 1e9)});
        }
    return vValues;
}

TEST(PlotAddsTest, FourChannelsRoundAsLlroundDoes) {
    const std::vector<double> vValues = channelValues();
    for (double dWeight : {1.0, 0.5, 0.3}) {
        for (size_t i = 0; i < vValues.size(); i++) {
            const SColour colour = {vValues[i], vValues[(i + 3) % vValues.size()],
                                    vValues[(i + 7) % vValues.size()],
                                    vValues[(i + 11) % vValues.size()]};
            const SBucket alone = addOf(colour, dWeight, 1);
            EXPECT_TRUE(addOfChannels(channelsOf(colour), plotWeightsOf(dWeight, 1)) == alone)
                << colour.dRed << " " << colour.dGreen << " " << colour.dBlue << " "
                << colour.dAlpha << " at weight " << dWeight;
            const double x = std::max(0.0, colour.dRed) * dWeight * 1 * dBucketUnit;
            if (x < 0x1p62) {
                EXPECT_EQ(alone.uRed, static_cast<uint64_t>(std::llround(x))) << x;
            }
        }
    }
}

}  // namespace
