// Frames in the genome window: a keyframe file opens as any genome file does, Space plays its
// frames and pauses on one, > steps to the next, the title naming each; s saves the frame shown
// as --frame T --save draws it.

#include "png_io.h"
#include "viewer_test.h"

#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

// Two keyframes six apart: frames 0 to 5 by default, each blurred over four moments.
const std::string sKeyframes = R"(<flames>
<flame time="0" size="64 48" scale="16" quality="10" temporal_samples="4" palette="12">
  <xform weight="0.5" color="0" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
  <xform weight="0.5" color="1" spherical="1" coefs="0.6 0.3 -0.3 0.6 -0.5 0.2"/>
</flame>
<flame time="6" size="64 48" scale="20" rotate="40" quality="10" temporal_samples="4"
  palette="40">
  <xform weight="0.5" color="0" linear="1" coefs="0.3 0.4 -0.4 0.3 0.5 0.1"/>
  <xform weight="0.5" color="1" spherical="1" coefs="0.6 -0.3 0.3 0.6 -0.5 0.2"/>
  <xform weight="0.3" color="0.5" julian="0.5" coefs="0.5 0 0 0.5 0 -0.5"/>
</flame>
</flames>
)";

class ViewerFramesTest : public ViewerTest {
protected:
    // The title once it passes isWanted (or it is what sTitle begins), which the test checks.
    template <typename FWanted>
    std::string titleOnce(WindowId window, FWanted isWanted) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::string sTitle = pServer->titleOf(window);
        while (!isWanted(sTitle) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sTitle = pServer->titleOf(window);
        }
        return sTitle;
    }
    std::string titleOnce(WindowId window, const std::string& sStart) {
        return titleOnce(window, [&](const std::string& s) { return s.rfind(sStart, 0) == 0; })
            .substr(0, sStart.size());
    }
};

TEST_F(ViewerFramesTest, SpacePlaysAndPausesAndGreaterStepsAFrame) {
    CScratchFolder folder;
    std::ofstream(folder / "keys.flame") << sKeyframes;
    const std::string sFile = std::string(sViewerTitle) + ": " + folder / "keys.flame";
    CViewerRun run(launchWith("", {"--genome", folder / "keys.flame", "--seed", "7"},
                              folder.path));
    const SViewerShot shot = shootViewer(*pServer, run, dFrameTimeout, sFile, true);
    const std::string sOpened = sFile + ", flame 1 of 2, quality 10, zoom 0";
    EXPECT_EQ(titleOnce(shot.window, [&](const std::string& s) { return s == sOpened; }),
              sOpened);  // as any genome file opens, once drawn

    pServer->pressKey(shot.window, ' ');
    const std::string sPlaying = titleOnce(shot.window, [](const std::string& s) {
        return s.find(", playing") != std::string::npos;
    });
    EXPECT_NE(sPlaying.find(" of 6, time "), std::string::npos) << sPlaying;
    pServer->pressKey(shot.window, ' ');
    const std::string sPaused = titleOnce(shot.window, [](const std::string& s) {
        return s.find(", playing") == std::string::npos && s.find("% drawn") == std::string::npos;
    });
    const size_t uFrame = sPaused.find(", frame ");
    ASSERT_NE(uFrame, std::string::npos) << sPaused;
    const int iFrame = std::stoi(sPaused.substr(uFrame + 8));
    const auto titleOf = [&](int i) {
        return sFile + ", frame " + std::to_string(i) + ", " + std::to_string(i + 1) +
               " of 6, time " + std::to_string(i) + ", quality 10, zoom 0";
    };
    EXPECT_EQ(sPaused, titleOf(iFrame));
    const SPicture paused = pServer->grabSettledWindow(shot.window, 10);

    pServer->pressKey(shot.window, '>');
    const std::string sNext = titleOf((iFrame + 1) % 6);
    EXPECT_EQ(titleOnce(shot.window, [&](const std::string& s) { return s == sNext; }), sNext);
    const SPicture next = pServer->grabSettledWindow(shot.window, 10);
    EXPECT_GT(differingPixels(paused, next), 100);  // the flame has moved
}

// --frames without --save opens on the first of them; > steps to the next and s saves it once
// it is drawn whole (pressed at once, while it is drawn): the very pixels --frame T --save draws.
TEST_F(ViewerFramesTest, SavedFrameIsTheFrameSaveDraws) {
    CScratchFolder folder;
    std::ofstream(folder / "keys.flame") << sKeyframes;
    const std::vector<std::string> vArgs = {"--genome", folder / "keys.flame", "--size", "128x96",
                                            "--quality", "400", "--seed", "7"};
    std::vector<std::string> vWindow = vArgs;
    vWindow.insert(vWindow.end(), {"--frames", "2:4"});
    CViewerRun run(launchWith("", vWindow, folder.path));
    const std::string sFile = std::string(sViewerTitle) + ": " + folder / "keys.flame";
    const SViewerShot shot =
        shootViewer(*pServer, run, dFrameTimeout, sFile + ", frame 2, 1 of 3, time 2", true);
    const size_t iFrom = run.output().size();
    pServer->pressKey(shot.window, '>');
    pServer->pressKey(shot.window, 's');
    run.waitForOutput(".png\n", dFrameTimeout, iFrom);
    const std::string sLine = run.output().substr(iFrom);
    ASSERT_EQ(sLine.rfind("saved ", 0), 0u) << sLine;
    const std::string sShown = sFile + ", frame 3, 2 of 3, time 3, quality 400, zoom 0, saved ";
    EXPECT_EQ(titleOnce(shot.window, sShown), sShown);

    SViewerLaunch save;
    save.vArgs = vArgs;
    save.vArgs.insert(save.vArgs.end(), {"--frame", "3", "--save", folder / "direct.png"});
    CViewerRun saving(save);
    expectExitStatus(saving.waitForExit(dFrameTimeout), 0);
    std::map<std::string, std::string> saved, direct;
    const SPicture picture = readPicture(folder / sLine.substr(6, sLine.size() - 7), &saved);
    EXPECT_TRUE(picture == readPicture(folder / "direct.png", &direct));
    EXPECT_EQ(saved["flam3_genome"], direct["flam3_genome"]);
    EXPECT_EQ(saved["Seed"], direct["Seed"]);
    EXPECT_EQ(saved.count("Done"), 0u);  // whole
}

}  // namespace
