// For a known seed the window shows, pixel for pixel, the colours that the computation yields in
// this process for the same seed and choices: the viewer adds nothing to the picture and loses
// nothing but the rounding of each channel to 8 bits.

#include "computation.h"
#include "viewer_test.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string sSeedTime = "1700000000";  // what time() returns to both computations

class ViewerColoursTest : public ViewerTest {
protected:
    // Alpha does not show: the viewer never blends.
    static void expectWindowShowsComputation(const SChoices& choices) {
        std::ostringstream answers;
        answers << choices.iIterations << ' ' << choices.iPattern << ' ' << choices.iColourType
                << '\n';
        const std::vector<float> vColours = computedColours(choices, sSeedTime);
        const SPicture picture = pictureOf(answers.str(), sSeedTime);
        ASSERT_TRUE(hasViewerSize(picture));

        EXPECT_TRUE(showsComputation(picture, vColours, 1));
        EXPECT_GT(litPixels(picture), 1000);  // a picture, not a black window that matches a black one
    }
};

TEST_F(ViewerColoursTest, BlackAndWhiteOfSierpinskiTriangle) {
    expectWindowShowsComputation({200000, 1, 1});
}

TEST_F(ViewerColoursTest, GreyScaleOfCloud) { expectWindowShowsComputation({200000, 2, 2}); }

TEST_F(ViewerColoursTest, TrafficLightsOfLinearSpiralSwirl) {
    expectWindowShowsComputation({200000, 3, 3});
}

TEST_F(ViewerColoursTest, RainbowOfFirstTryOut) { expectWindowShowsComputation({200000, 4, 4}); }

TEST_F(ViewerColoursTest, AllBluesOfSecondTryOut) {
    expectWindowShowsComputation({200000, 5, 5});
}

// Most single functions settle on a few pixels; these two spread over thousands.
TEST_F(ViewerColoursTest, RainbowOfSingleSpherical) {
    expectWindowShowsComputation({200000, 8, 4});
}

TEST_F(ViewerColoursTest, AllBluesOfSingleSpiral) { expectWindowShowsComputation({200000, 15, 5}); }

}  // namespace
