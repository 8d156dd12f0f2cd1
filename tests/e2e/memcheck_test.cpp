// The viewer under valgrind's memcheck: a short run, its window drawn, then ended. No invalid
// read or write, no use of an uninitialised value in the viewer's own code.

#include "viewer_test.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::string& sPath) {
    std::ifstream in(sPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ViewerMemcheckTest : public ViewerTest {};

TEST_F(ViewerMemcheckTest, ShortRunDrawnAndEndedHasNoMemoryErrors) {
    std::string sLogPath = processFolder() + "/memcheck-XXXXXX";
    const int iLogFd = mkstemp(sLogPath.data());
    ASSERT_GE(iLogFd, 0);
    close(iLogFd);

    SViewerLaunch launch = launchWith("3000 3 4\n", "1700000000");  // every pattern step kind
    launch.vWrapper = {"valgrind", "--tool=memcheck", "--track-origins=yes",
                       "--suppressions=" FLAMES_GL_SUPPRESSIONS,
                       std::string("--log-file=") + sLogPath};
    std::string sFailure;
    try {
        CViewerRun run(launch);
        run.waitForFrames(1, 300);  // the computation and the first frame, slowed by memcheck
        run.terminate(60);          // SIGTERM, so that memcheck writes its summary
    } catch (const std::exception& error) {
        sFailure = error.what();
    }
    const std::string sLog = readFile(sLogPath);
    std::remove(sLogPath.c_str());

    ASSERT_TRUE(sFailure.empty()) << sFailure << "\nmemcheck's log:\n" << sLog;
    ASSERT_NE(sLog.find("ERROR SUMMARY:"), std::string::npos) << sLog;
    EXPECT_TRUE(std::regex_search(sLog, std::regex("ERROR SUMMARY: 0 errors"))) << sLog;
    EXPECT_FALSE(std::regex_search(sLog, std::regex("Invalid (read|write)|uninitialised"))) << sLog;
}

}  // namespace
