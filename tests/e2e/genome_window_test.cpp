// A genome window's keys: browsing a file of flames (one of which cannot be drawn), zooming,
// stepping the quality, saving the very pixels --save makes of what is saved (or, part way, what
// --load makes of it again), writing the genome shown, stepping back, random genomes and
// mutations, each named in the title with its quality, zoom and progress.

#include "png_io.h"
#include "viewer_test.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using TChunks = std::map<std::string, std::string>;

const std::string sThreeFlames = R"(<flames>
<flame name="first" size="96 72" scale="30" quality="20" palette="12">
   <xform weight="0.5" color="0" julia="1" coefs="0.63 -0.19 -0.26 0.05 0.03 -0.06"/>
   <xform weight="0.5" color="1" spherical="1" coefs="-0.68 -0.74 -0.26 0.46 0.82 0.24"/>
</flame>
<flame name="second" size="80 80" center="0.1 0" scale="25" quality="20" palette="40">
   <xform weight="0.7" color="0" swirl="1" coefs="0.5 0.2 -0.3 0.6 0.1 0.2"/>
   <xform weight="0.3" color="1" linear="0.5" sinusoidal="0.5" coefs="0.7 -0.1 0.1 0.5 -0.3 0.1"/>
</flame>
<flame name="third" size="96 72" scale="20" quality="20" palette="77">
   <xform weight="1" color="0" disc="1" coefs="0.8 0.1 -0.1 0.8 0.2 0"/>
   <xform weight="1" color="1" heart="0.5" coefs="0.5 0 0 0.5 0.5 0.5"/>
</flame>
<flame name="fourth" size="96 72" scale="20" quality="20" palette="77">
   <xform weight="1" color="0" frob="1" coefs="0.8 0.1 -0.1 0.8 0.2 0"/>
</flame>
</flames>
)";

// The picture at 1/k, each pixel the average of its k x k (of those the picture has), rounded.
SPicture shrunkBy(const SPicture& picture, int k) {
    SPicture shrunk;
    shrunk.iWidth = (picture.iWidth + k - 1) / k;
    shrunk.iHeight = (picture.iHeight + k - 1) / k;
    for (int iY = 0; iY < shrunk.iHeight; iY++)
        for (int iX = 0; iX < shrunk.iWidth; iX++)
            for (int iChannel = 0; iChannel < 3; iChannel++) {
                double dSum = 0;
                int iPixels = 0;
                for (int y = iY * k; y < std::min(picture.iHeight, (iY + 1) * k); y++)
                    for (int x = iX * k; x < std::min(picture.iWidth, (iX + 1) * k); x++)
                        dSum += picture.at(x, y)[iChannel], iPixels++;
                shrunk.vRgb.push_back(static_cast<unsigned char>(dSum / iPixels + 0.5));
            }
    return shrunk;
}

class ViewerGenomeTest : public ViewerTest {
protected:
    // The title of the window once it says so: a key has been acted on.
    void waitForTitle(WindowId window, const std::string& sTitle) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (pServer->titleOf(window) != sTitle && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(pServer->titleOf(window), sTitle);
    }

    // s until the picture saved is expected: a render still growing saves what it has.
    SPicture savedAs(CViewerRun& run, WindowId window, const CScratchFolder& folder,
                     const SPicture& expected) {
        TChunks text;
        const auto isExpected = [&](const SPicture& picture, TChunks&) {
            return picture == expected;
        };
        return savedOnceDone(*pServer, run, window, folder, text, isExpected);
    }

    // --save of a command line, without a window.
    static SPicture savedByOptions(std::vector<std::string> vArgs, const std::string& sPath) {
        vArgs.insert(vArgs.end(), {"--seed", "7", "--save", sPath});
        SViewerLaunch launch;
        launch.vArgs = vArgs;
        CViewerRun run(launch);
        expectExitStatus(run.waitForExit(dFrameTimeout), 0);
        return readPicture(sPath);
    }
};

TEST_F(ViewerGenomeTest, KeysBrowseFrameSaveWriteAndStepBack) {
    CScratchFolder folder;
    std::ofstream(folder / "three.flame") << sThreeFlames;
    const std::string sTitle = std::string(sViewerTitle) + ": " + folder / "three.flame";
    CViewerRun run(launchWith("", {"--genome", folder / "three.flame", "--seed", "7"},
                              folder.path));
    const SViewerShot shot =
        shootViewer(*pServer, run, dFrameTimeout, sTitle + ", flame 1 of 4, first", true);
    EXPECT_EQ(shot.picture.iWidth, 96);

    pServer->pressKey(shot.window, 'n');
    waitForTitle(shot.window, sTitle + ", flame 2 of 4, second, quality 20, zoom 0");
    const SPicture second = savedByOptions({"--genome", folder / "three.flame", "--pick", "2"},
                                           folder / "picked.png");
    const SPicture shown = savedAs(run, shot.window, folder, second);
    EXPECT_TRUE(shown == second);
    EXPECT_EQ(shown.iWidth, 80);  // the window takes each flame's size

    // The zoomed genome is in every picture saved of it, the first one too.
    pServer->pressKey(shot.window, '+');
    TChunks text;
    savedOnceDone(*pServer, run, shot.window, folder, text, [](const SPicture&, TChunks& saved) {
        return saved["flam3_genome"].find("scale=\"50\"") != std::string::npos;  // twice 25
    });
    std::ofstream(folder / "zoomed.flame") << text["flam3_genome"];
    const SPicture zoomed = savedByOptions({"--genome", folder / "zoomed.flame"},
                                           folder / "direct.png");
    EXPECT_TRUE(savedAs(run, shot.window, folder, zoomed) == zoomed);

    const size_t iFrom = run.output().size();
    pServer->pressKey(shot.window, 'w');
    run.waitForOutput(".flame\n", 10, iFrom);
    EXPECT_EQ(run.output().substr(iFrom), "wrote flame-second.flame\n");
    EXPECT_TRUE(zoomed == savedByOptions({"--genome", folder / "flame-second.flame"},
                                         folder / "written.png"));

    pServer->pressKey(shot.window, 'u');
    EXPECT_TRUE(savedAs(run, shot.window, folder, second) == second);

    pServer->pressKey(shot.window, 'r');
    waitForTitle(shot.window, std::string(sViewerTitle) + ": random genome 7, quality 100, zoom 0");
    pServer->pressKey(shot.window, 'm');
    waitForTitle(shot.window,
                 std::string(sViewerTitle) + ": random genome 7, mutation 1, quality 100, zoom 0");
    pServer->pressKey(shot.window, ']');
    waitForTitle(shot.window, std::string(sViewerTitle) +
                                  ": random genome 7, mutation 1, quality 1000, zoom 0");
    // On from the file's flame shown last, past one that cannot be drawn, which says why.
    pServer->pressKey(shot.window, 'n');
    waitForTitle(shot.window, sTitle + ", flame 3 of 4, third, quality 20, zoom 0");
    pServer->pressKey(shot.window, 'n');
    waitForTitle(shot.window, sTitle + ", flame 4 of 4, fourth: not drawn: flame 4 (line 14): "
                                       "xform 1: unknown variation or attribute 'frob'");
    pServer->pressKey(shot.window, 'n');
    waitForTitle(shot.window, sTitle + ", flame 1 of 4, first, quality 20, zoom 0");
}

// s while the render grows saves the picture as it stands, with how far it had come: --load of
// it draws the same pixels. The title says it was saved.
TEST_F(ViewerGenomeTest, SavedPartWayLoadsToTheSamePixels) {
    CScratchFolder folder;
    std::ofstream(folder / "slow.flame") << R"(<flame size="200 150" scale="60" quality="20000"
   palette="12"><xform weight="0.5" color="0" julia="1" coefs="0.63 -0.19 -0.26 0.05 0.03 -0.06"/>
   <xform weight="0.5" color="1" spherical="1" coefs="-0.68 -0.74 -0.26 0.46 0.82 0.24"/>
</flame>)";
    CViewerRun run(launchWith("", {"--genome", folder / "slow.flame", "--seed", "3"}, folder.path));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout, sViewerTitle, true);
    const size_t iFrom = run.output().size();
    pServer->pressKey(shot.window, 's');
    run.waitForOutput(".png\n", dFrameTimeout, iFrom);
    const std::string sLine = run.output().substr(iFrom);
    const std::string sName = sLine.substr(6, sLine.size() - 7);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (pServer->titleOf(shot.window).find(", saved " + sName) == std::string::npos &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(pServer->titleOf(shot.window).find(", saved " + sName), std::string::npos);
    TChunks text;
    const SPicture partWay = readPicture(folder / sName, &text);
    ASSERT_FALSE(text["Done"].empty());  // it was saved part way
    SViewerLaunch load;
    load.vArgs = {"--load", folder / sName, "--save", folder / "again.png"};
    CViewerRun again(load);
    expectExitStatus(again.waitForExit(dFrameTimeout), 0);
    EXPECT_TRUE(readPicture(folder / "again.png") == partWay);
}

// 1301 x 1025 on the 1280 x 1024 screen, at 1/2: the render, once through, shows each pixel the
// average of its square of the picture --save makes, the last column and row of fewer than four.
TEST_F(ViewerGenomeTest, ShrunkGenomeShowsTheAverageOfEachSquare) {
    CScratchFolder folder;
    std::ofstream(folder / "large.flame") << R"(<flame size="1301 1025" scale="350" quality="4"
   palette="12">
   <xform weight="0.5" color="0" julia="1" coefs="0.63 -0.19 -0.26 0.05 0.03 -0.06"/>
   <xform weight="0.5" color="1" spherical="1" coefs="-0.68 -0.74 -0.26 0.46 0.82 0.24"/>
</flame>)";
    const std::vector<std::string> vArgs = {"--genome", folder / "large.flame"};
    const SPicture expected = shrunkBy(savedByOptions(vArgs, folder / "whole.png"), 2);
    std::vector<std::string> vSeeded = vArgs;
    vSeeded.insert(vSeeded.end(), {"--seed", "7"});
    CViewerRun run(launchWith("", vSeeded, folder.path));
    run.waitForFrames(1, dFrameTimeout);
    const WindowId window = pServer->findWindow(std::string(sViewerTitle), 5, true);
    EXPECT_NE(pServer->titleOf(window).find("(shown at 1/2)"), std::string::npos);
    SPicture shown = pServer->grabSettledWindow(window, 10);
    for (int iLook = 0; iLook < 300 && differingPixels(shown, expected) != 0; iLook++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // it grows in frames
        shown = pServer->grabSettledWindow(window, 10);
    }
    ASSERT_EQ(shown.iWidth, 651);
    ASSERT_EQ(shown.iHeight, 513);
    EXPECT_EQ(differingPixels(shown, expected), 0);
    EXPECT_GT(litPixels(shown), 50000);
}

}  // namespace
