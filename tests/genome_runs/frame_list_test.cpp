// Frames a window plays: the preview's size and samples, where the keys take playing, and the
// frames listed from the command line.

#include "cli/options.h"
#include "files/scratch_folder.h"
#include "genome_runs/frame_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Within 130,000 pixels, by a multiple of the window's own divisor.
TEST(FrameListTest, PreviewDividesThePictureWithinItsPixels) {
    const struct {
        int iWidth, iHeight, iShrink, iDivisor;
    } cases[] = {
        {64, 48, 1, 1},   {400, 300, 1, 1},  {800, 600, 1, 2},    {640, 480, 1, 2},
        {960, 540, 1, 2}, {1280, 720, 1, 3}, {1920, 1080, 2, 4},  {1301, 1025, 2, 4},
        {4000, 3000, 3, 12},
    };
    for (const auto& example : cases)
        EXPECT_EQ(previewDivisor(example.iWidth, example.iHeight, example.iShrink),
                  example.iDivisor)
            << example.iWidth << " x " << example.iHeight << " at 1/" << example.iShrink;
}

// The same framing, smaller, at two digits of the quality that makes its samples, never above
// the keyframe's own.
TEST(FrameListTest, PreviewKeyframeKeepsTheFramingAtFewerSamples) {
    const struct {
        int iWidth, iHeight, iDivisor;
        double dQuality, dZoom;
        int iMoments;
        double dPreviewQuality;
        int iPreviewMoments;
    } cases[] = {
        {800, 600, 2, 100, 0, 1000, 3, 4},     // 360,000 / 120,000
        {1280, 720, 3, 500, 0, 1, 3.5, 1},     // 427 x 240: 3.51
        {640, 480, 2, 100, 1, 2, 1.1, 2},      // four times the samples a pixel at zoom 1
        {64, 48, 1, 10, 0, 4, 10, 4},          // fewer than the preview's own
    };
    for (const auto& example : cases) {
        SGenome key;
        key.iWidth = example.iWidth, key.iHeight = example.iHeight;
        key.dScale = 100;
        key.dQuality = example.dQuality, key.dZoom = example.dZoom;
        key.iTemporalSamples = example.iMoments;
        key.iPasses = key.iSupersample = 2;
        key.dEstimatorRadius = 9, key.dEstimatorMinimum = 1;
        const SGenome preview = previewKeyframe(key, example.iDivisor);
        EXPECT_EQ(preview.iWidth, (example.iWidth + example.iDivisor - 1) / example.iDivisor);
        EXPECT_DOUBLE_EQ(preview.dScale, 100.0 * preview.iWidth / example.iWidth);
        EXPECT_EQ(preview.dQuality, example.dPreviewQuality) << example.iWidth;
        EXPECT_EQ(preview.iTemporalSamples, example.iPreviewMoments);
        EXPECT_EQ(preview.iPasses, 1);
        EXPECT_EQ(preview.iSupersample, 1);
        EXPECT_EQ(preview.dEstimatorRadius, 9.0 / example.iDivisor);
    }
}

CFrameList framesOf(int iCount) {
    return CFrameList(SKeyframes(), SFrameRange{10, 10 + iCount - 1, 1}, "loop of flame 2");
}

// Keys as the window takes them: Space, <, >, a frame's preview arriving, s pausing, or a
// browsing key leaving for a still; then the frame shown and the one coming.
void press(CFrameList& frames, char cKey) {
    switch (cKey) {
    case ' ': frames.playOrPause(); break;
    case '<': frames.step(-1); break;
    case '>': frames.step(1); break;
    case 'a': frames.arrive(); break;
    case 's': frames.pause(); break;
    case 'n': frames.leave(); break;
    }
}

TEST(FrameListTest, KeysMoveWherePlayingHasCome) {
    const struct {
        int iCount;
        const char* sKeys;
        int iShown, iComing;
        bool bPlaying, bShown;
    } cases[] = {
        {5, " ", -1, 0, true, false},       // from a still, the first
        {5, " a", 0, 1, true, true},        // playing, the next at once
        {5, " aaaaa", 4, 0, true, true},    // looping at the end
        {5, " aa ", 1, -1, false, true},    // paused on the frame shown
        {5, "  ", -1, 0, false, false},     // paused before the first came: it comes
        {5, "<", -1, 4, false, false},      // from none, the last
        {5, ">a>>", 0, 2, false, true},     // keys pressed quickly all count
        {5, " aa>", 1, 2, false, true},     // a step pauses, on from the frame shown
        {5, " aas", 1, -1, false, true},
        {5, ">a>an>", 1, 2, false, false},  // after a still, on from the frame shown last
        {5, ">a>an ", 1, 2, true, false},
        {1, " ", -1, 0, false, false},      // one frame is shown, not played
        {1, " a", 0, -1, false, true},
    };
    for (const auto& example : cases) {
        CFrameList frames = framesOf(example.iCount);
        for (const char* p = example.sKeys; *p; p++) press(frames, *p);
        EXPECT_EQ(frames.shown(), example.iShown) << "'" << example.sKeys << "'";
        EXPECT_EQ(frames.coming(), example.iComing) << "'" << example.sKeys << "'";
        EXPECT_EQ(frames.playing(), example.bPlaying) << "'" << example.sKeys << "'";
        EXPECT_EQ(frames.isShown(), example.bShown) << "'" << example.sKeys << "'";
    }
    EXPECT_EQ(framesOf(30).caption(2), "loop of flame 2, frame 12, 3 of 30, time 12");
}

// The window's frames as --save would draw them: the keyframes' default range, or the loop's;
// a preview that comes at half the size; a file of stills says why it has none.
TEST(FrameListTest, ListedAsSaveDrawsThemAndPreviewed) {
    const std::string sPath = FLAMES_TEST_DATA "/keyframes.flame";  // times 0 and 6
    const struct {
        std::vector<const char*> vArgs;  // after --genome FILE --size 800x600
        int iCount;
        std::string sCaption;  // of the last
    } cases[] = {
        {{}, 6, "frame 5, 6 of 6, time 5"},
        {{"--frames", "2:5:2"}, 2, "frame 4, 2 of 2, time 4"},
        {{"--loop", "3", "--pick", "2"}, 3, "loop of flame 2, frame 2, 3 of 3, time 2"},
        {{"--sequence", "2"}, 6, "sequence, frame 5, 6 of 6, time 5"},
    };
    std::optional<CFrameList> frames;
    for (const auto& example : cases) {
        std::vector<const char*> vArgv = {"flames", "--genome", sPath.c_str(), "--size", "800x600"};
        vArgv.insert(vArgv.end(), example.vArgs.begin(), example.vArgs.end());
        SOptions options;
        std::string sWhy;
        ASSERT_TRUE(parseOptions(static_cast<int>(vArgv.size()), vArgv.data(), options, sWhy));
        ASSERT_TRUE(listFrames(options, frames, sWhy)) << sWhy;
        ASSERT_EQ(frames->count(), example.iCount);
        EXPECT_EQ(frames->caption(example.iCount - 1), example.sCaption);
    }
    std::string sWhy;
    frames->step(1);
    while (!frames->prepareComing(1, 7, 2, std::chrono::milliseconds(10), sWhy)) {}
    ASSERT_TRUE(frames->preview()) << sWhy;
    EXPECT_EQ(frames->preview()->renderedGenome().iWidth, 400);
    EXPECT_EQ(frames->preview()->renderedGenome().dQuality, 3);  // the file's is 10
    EXPECT_TRUE(frames->preview()->done());

    CFolder folder;
    std::ifstream in(sPath);
    std::string sStills((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(folder / "stills.flame") << sStills.replace(sStills.find("time=\"6\""), 8, "");
    SOptions options;
    options.sGenomePath = folder / "stills.flame";
    frames.reset();
    EXPECT_FALSE(listFrames(options, frames, sWhy));
    EXPECT_EQ(sWhy, options.sGenomePath + ": flame 2's time 0 is not after flame 1's 0: "
                                          "keyframes go in the order of their times");
}

}  // namespace
