// For a known seed the window shows, pixel for pixel, the colours that the computation yields in
// this process for the same seed and choices: the viewer adds nothing to the picture and loses
// nothing but the rounding of each channel to 8 bits.

#include "computation.h"
#include "viewer_test.h"

#include <cstdlib>
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

        int iDiffering = 0, iLit = 0;
        std::ostringstream firstDiffering;
        for (int iColumn = 0; iColumn < iViewerSide; iColumn++) {
            for (int iRow = 0; iRow < iViewerSide; iRow++) {
                const float* pColour = &vColours[iColumn * iColumnFloats + iRow * 4];
                const unsigned char* pRgb = bufferPixel(picture, iColumn, iRow);
                bool bDiffers = false;
                for (int k = 0; k < 3; k++)
                    bDiffers |= std::abs(pRgb[k] - eightBits(pColour[k])) > 1;
                iLit += !isBlack(pRgb);
                iDiffering += bDiffers;
                if (bDiffers && firstDiffering.str().empty())
                    firstDiffering << "first at column " << iColumn << ", row " << iRow
                                   << ": window " << int(pRgb[0]) << ' ' << int(pRgb[1]) << ' '
                                   << int(pRgb[2]) << ", computed " << pColour[0] << ' '
                                   << pColour[1] << ' ' << pColour[2];
            }
        }
        EXPECT_EQ(iDiffering, 0) << firstDiffering.str();
        EXPECT_GT(iLit, 1000);  // a picture, not a black window that matches a black one
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
