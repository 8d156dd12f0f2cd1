// A render's state on the command line: resumed alone, to a higher quality, after Ctrl-C, and
// from parts with one missing, each the very file of one run; and every state that does not
// fit refused with one line naming it, nothing written. Parts drawn by GNU parallel jobs are
// tested by state_parallel.sh.

#include "viewer_test.h"

#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string sFlame =
    R"(<flame name="kept" size="64 48" center="0 0" scale="20" quality="50" palette="12">
   <xform weight="0.5" color="0" julia="0.6" arch="0.4" coefs="0.63 -0.19 -0.26 0.05 0.03 0"/>
   <xform weight="0.5" color="1" hyperbolic="0.7" fan="0.3" coefs="-0.68 -0.74 -0.26 0.46 0.8 0"/>
</flame>
)";

std::string fileText(const std::string& sPath) {
    std::ifstream in(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& sPath, const std::string& sText) {
    std::ofstream(sPath, std::ios::binary) << sText;
}

// The run of the flame with these options after its own; its errors.
std::string ranWith(const CScratchFolder& folder, std::vector<std::string> vArgs, int iStatus,
                    bool bGenome = true) {
    if (bGenome) vArgs.insert(vArgs.begin(), {"--genome", folder / "kept.flame", "--seed", "3"});
    SViewerLaunch launch;
    launch.vArgs = vArgs;
    launch.sFolder = folder.path.string();
    CViewerRun run(launch);
    expectExitStatus(run.waitForExit(dFrameTimeout), iStatus);
    return run.errors();
}

TEST(RenderStateTest, ResumedStatesGiveTheFileOfOneRun) {
    // Qualities 20 and 50 end in a batch of 1440 and of 3600 samples: the first grows.
    const struct {
        const char* sName;
        std::vector<std::vector<std::string>> vStates;  // the runs that save them
        std::vector<std::string> vResume;
        const char* sQuality;  // of the one run
    } cases[] = {
        {"alone", {{"--quality", "20", "--save-state", "a"}}, {"--resume", "a"}, "20"},
        {"to a higher quality", {{"--quality", "20", "--save-state", "a"}},
         {"--resume", "a", "--quality", "50"}, "50"},
        {"parts, one missing",
         {{"--quality", "50", "--part", "3/3", "--save-state", "c"},
          {"--quality", "50", "--part", "1/3", "--save-state", "a", "--threads", "1"}},
         {"--resume", "c", "--resume", "a"}, "50"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sName);
        CScratchFolder folder;
        writeFile(folder / "kept.flame", sFlame);
        ranWith(folder, {"--quality", example.sQuality, "--save", "one.png"}, 0);
        for (const std::vector<std::string>& vState : example.vStates) ranWith(folder, vState, 0);
        std::vector<std::string> vResume = example.vResume;
        vResume.insert(vResume.end(), {"--save", "again.png"});
        EXPECT_EQ(ranWith(folder, vResume, 0, false), "");
        EXPECT_EQ(fileText(folder / "again.png"), fileText(folder / "one.png"));
    }
}

TEST(RenderStateTest, RenderStoppedByCtrlCGoesOnToTheFileOfOneRun) {
    CScratchFolder folder;
    writeFile(folder / "kept.flame", sFlame);
    const std::vector<std::string> vGenome = {"--genome", "kept.flame", "--seed", "3",
                                              "--quality", "3000"};
    std::vector<std::string> vArgs = vGenome;
    vArgs.insert(vArgs.end(), {"--save", "one.png"});
    ranWith(folder, vArgs, 0, false);
    vArgs = vGenome;
    vArgs.insert(vArgs.end(), {"--save-state", "s", "--save", "stopped.png"});
    SViewerLaunch launch;
    launch.vArgs = vArgs;
    launch.sFolder = folder.path.string();
    launch.bErrorsExpected = true;
    CViewerRun run(launch);
    run.waitForOutput("calculating", dFrameTimeout);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // some batches in
    expectExitStatus(run.interrupt(dEndTimeout), 1);
    EXPECT_NE(run.errors().find("flames --resume s --save-state s --save stopped.png"),
              std::string::npos)
        << run.errors();
    EXPECT_FALSE(std::filesystem::exists(folder / "stopped.png"));
    EXPECT_EQ(ranWith(folder, {"--resume", "s", "--save", "again.png"}, 0, false), "");
    EXPECT_EQ(fileText(folder / "again.png"), fileText(folder / "one.png"));
}

// Each a line naming the state and what is wrong, status 1, and nothing written.
TEST(RenderStateTest, StatesThatDoNotFitAreRefused) {
    CScratchFolder folder;
    writeFile(folder / "kept.flame", sFlame);
    writeFile(folder / "other.flame", sFlame.substr(0, sFlame.find("</flame>")) +
                                          R"(<xform weight="0.2" linear="1" coefs="1 0 0 1 0 0"/>
</flame>)");
    const std::vector<std::vector<std::string>> vStates = {
        {"--part", "1/2", "--save-state", "a"},
        {"--part", "2/2", "--save-state", "b"},
        {"--part", "2/2", "--save-state", "seed", "--seed", "4"},
        {"--part", "2/2", "--save-state", "size", "--size", "32x24"},
        {"--part", "2/2", "--save-state", "quality", "--quality", "30"},
        {"--save-state", "high", "--quality", "300"},
    };
    for (const std::vector<std::string>& vState : vStates) ranWith(folder, vState, 0);
    ranWith(folder, {"--genome", folder / "other.flame", "--seed", "3", "--part", "2/2",
                     "--save-state", "genome"}, 0, false);
    const std::string sState = fileText(folder / "a");
    ASSERT_GT(sState.size(), 200u) << "no state to alter";
    std::string sAltered = sState;
    sAltered[sAltered.size() / 2] ^= 0x10;
    std::string sHeaderAltered = sState;
    sHeaderAltered[30] ^= 0x01;
    writeFile(folder / "cut", sState.substr(0, sState.size() - 100));
    writeFile(folder / "altered", sAltered);
    writeFile(folder / "header", sHeaderAltered);
    writeFile(folder / "longer", sState + "x");
    writeFile(folder / "none", "a file that is no state\n");
    const struct {
        std::vector<std::string> vResume;
        std::string sFile, sSaid;
    } cases[] = {
        {{"a", "seed"}, "seed", "drawn with seed 4, the other states with 3"},
        {{"a", "size"}, "size", "another size"},
        {{"a", "quality"}, "quality", "another quality"},
        {{"a", "genome"}, "genome", "another genome"},
        {{"a", "b", "a"}, "a", "a part given twice"},
        {{"cut"}, "cut", "cut short"},
        {{"altered"}, "altered", "damaged"},
        {{"header"}, "header", "damaged"},
        {{"longer"}, "longer", "bytes follow the end"},
        {{"none"}, "none", "not a render state"},
        {{"missing"}, "missing", "No such file"},
        {{"high", "--quality", "100"}, "high", "more than --quality"},
    };
    const std::vector<std::string> vBefore = folder.names();
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sFile);
        std::vector<std::string> vArgs;
        for (const std::string& sWord : example.vResume) {
            const bool bOption = sWord.rfind("--", 0) == 0 || std::isdigit(sWord[0]);
            if (!bOption) vArgs.push_back("--resume");
            vArgs.push_back(sWord);
        }
        vArgs.insert(vArgs.end(), {"--save", "p.png", "--save-state", "p"});
        const std::string sErrors = ranWith(folder, vArgs, 1, false);
        EXPECT_EQ(sErrors.rfind("flames: " + example.sFile + ": ", 0), 0u) << sErrors;
        EXPECT_NE(sErrors.find(example.sSaid), std::string::npos) << sErrors;
        EXPECT_EQ(sErrors.find('\n'), sErrors.size() - 1) << sErrors;
        EXPECT_EQ(folder.names().size(), vBefore.size());
    }
}

}  // namespace
