// What the window shows: black where the run lit nothing, the Sierpinski triangle of the default
// run, and the 800 x 800 picture kept at the lower left of an enlarged window.

#include "viewer_test.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

struct SPixelCount {
    int iBlack = 0;
    int iWhite = 0;
    int iOther = 0;
};

SPixelCount countPixels(const SPicture& picture) {
    SPixelCount count;
    for (int iY = 0; iY < picture.iHeight; iY++) {
        for (int iX = 0; iX < picture.iWidth; iX++) {
            const unsigned char* pRgb = picture.at(iX, iY);
            if (isBlack(pRgb)) count.iBlack++;
            else if (isWhite(pRgb)) count.iWhite++;
            else count.iOther++;
        }
    }
    return count;
}

class ViewerPictureTest : public ViewerTest {};

TEST_F(ViewerPictureTest, UnknownPatternLightsOnePixelWhite) {
    const SPicture picture = pictureOfRemarkedAnswers("1000 21 1\n");  // the point never moves
    ASSERT_TRUE(hasViewerSize(picture));
    const SPixelCount count = countPixels(picture);
    EXPECT_EQ(count.iWhite, 1);
    EXPECT_EQ(count.iOther, 0);
}

TEST_F(ViewerPictureTest, UnknownColouringLeavesWindowBlack) {
    const SPicture picture = pictureOfRemarkedAnswers("100000 1 6\n");
    ASSERT_TRUE(hasViewerSize(picture));
    EXPECT_EQ(countPixels(picture).iBlack, iViewerSide * iViewerSide);
}

TEST_F(ViewerPictureTest, NoIterationsLeaveWindowBlack) {
    const SPicture picture = pictureOfRemarkedAnswers("0 1 1\n");
    ASSERT_TRUE(hasViewerSize(picture));
    EXPECT_EQ(countPixels(picture).iBlack, iViewerSide * iViewerSide);
}

// The default run, 1000000 iterations of pattern 1 in black and white: white pixels only in the
// right triangle with corners (0, 0), (1, 0) and (0, 1) of the plane, which is the upper right
// quarter of the window, and none in its middle hole. Only the first few iterations may land
// farther than a pixel from them: they start from a random point of the whole window, and each
// halves the distance to the triangle, so that after ten it is within a pixel of it. A pixel
// next to the triangle may be lit at any time on the way in (a point at x = -1e-9 lies in
// column 399), so a stray is a pixel more than one pixel outside, or inside the hole.
void expectSierpinskiTriangle(const SPicture& picture) {
    ASSERT_TRUE(hasViewerSize(picture));
    constexpr int iApproach = 10;  // hits on the way from the start point to the triangle
    int iLit = 0, iNotWhite = 0, iOutside = 0, iInHole = 0;
    std::ostringstream firstStray;
    for (int iColumn = 0; iColumn < iViewerSide; iColumn++) {
        for (int iRow = 0; iRow < iViewerSide; iRow++) {
            const unsigned char* pRgb = bufferPixel(picture, iColumn, iRow);
            if (isBlack(pRgb)) continue;
            iLit++;
            iNotWhite += !isWhite(pRgb);
            const int iCol = iColumn - 400, iRw = iRow - 400;  // from the pixel of (0, 0)
            const bool bOutside = iCol < -1 || iRw < -1 || iCol + iRw > 402;
            const bool bInHole = iCol < 199 && iRw < 199 && iCol + iRw >= 203;
            iOutside += bOutside;
            iInHole += bInHole;
            if ((bOutside || bInHole) && firstStray.str().empty())
                firstStray << "first stray pixel: column " << iColumn << ", row " << iRow;
        }
    }
    EXPECT_EQ(iNotWhite, 0);
    EXPECT_LE(iOutside + iInHole, iApproach) << firstStray.str();
    EXPECT_GT(iLit, 10000);
}

class ViewerDefaultsTest : public ViewerTest {};

TEST_F(ViewerDefaultsTest, LettersAtFirstQuestionRunSierpinskiTriangle) {
    expectSierpinskiTriangle(pictureOfRemarkedAnswers("abc\n"));
}

TEST_F(ViewerDefaultsTest, NumberBeyondIntRunsSierpinskiTriangle) {
    expectSierpinskiTriangle(pictureOfRemarkedAnswers("99999999999999999999 3 4\n"));
}

TEST_F(ViewerDefaultsTest, EmptyInputRunsSierpinskiTriangle) {
    expectSierpinskiTriangle(pictureOfRemarkedAnswers(""));
}

class ViewerWindowTest : public ViewerTest {};

TEST_F(ViewerWindowTest, EnlargedWindowKeepsPictureAtLowerLeft) {
    CViewerRun run(launchWith("200000 3 4\n"));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout);
    ASSERT_TRUE(hasViewerSize(shot.picture));

    // XGetImage reads only what lies on the screen, and the window sits 50 pixels down a screen
    // 1024 high: it moves to the top as it grows.
    constexpr int iLarge = 1000;
    const int iFramesBefore = run.framesDrawn();
    pServer->moveResizeWindow(shot.window, 100, 0, iLarge, iLarge);
    run.waitForFrames(iFramesBefore + 1, dFrameTimeout);
    const SPicture large = pServer->grabSettledWindow(shot.window, 10);
    ASSERT_EQ(large.iWidth, iLarge);
    ASSERT_EQ(large.iHeight, iLarge);

    const int iTop = iLarge - iViewerSide;  // X rows above the picture
    int iChanged = 0, iLitOutside = 0;
    for (int iY = 0; iY < iLarge; iY++) {
        for (int iX = 0; iX < iLarge; iX++) {
            const unsigned char* pRgb = large.at(iX, iY);
            if (iX < iViewerSide && iY >= iTop) {
                const unsigned char* pBefore = shot.picture.at(iX, iY - iTop);
                iChanged += !withinRounding(pRgb, pBefore);
            } else {
                iLitOutside += !isBlack(pRgb);
            }
        }
    }
    EXPECT_EQ(iChanged, 0);
    EXPECT_EQ(iLitOutside, 0);
    EXPECT_GT(countPixels(shot.picture).iBlack, 0);
    EXPECT_LT(countPixels(shot.picture).iBlack, iViewerSide * iViewerSide);
}

}  // namespace
